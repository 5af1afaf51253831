// clock, locale, notifications
#include <cstdio>

#include "commands.h"
#include "kernel/error_text.h"
#include "kernel/time_convert.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::ctl {

namespace {

std::optional<int64_t> parseTime(const std::string& text) {
  SYSTEMTIME t{};
  unsigned year, month, day, hour, minute, second;
  char tail;
  if (std::sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%c", &year, &month, &day, &hour, &minute, &second,
                  &tail) != 6)
    return std::nullopt;
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return kernel::systemTimeToTicks(t);
}

std::string formatTime(const SYSTEMTIME& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return text;
}

// The device saves the clock before it answers; exit 0 means the change is on disk.
int controlClock(Context& c, const ipc::ClockControl::Request& request) {
  auto reply = c.device().call<ipc::ClockControl>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_INVALID_PARAMETER) return refused(reply->error, "the device cannot show that time");
  if (reply->error) return fail("the clock changed but the change could not be saved (" + reply->reason + ")");
  return 0;
}

int setRegistryDword(Context& c, const std::u16string& name, uint32_t value) {
  ipc::RegistrySet::Request request{0x80000002u, u"System\\Device", name, 4 /* REG_DWORD */, {}};
  for (int i = 0; i < 4; ++i) request.data.push_back(static_cast<uint8_t>(value >> (8 * i)));
  c.device().call<ipc::RegistryCreateKey>({0x80000002u, u"System\\Device", true});
  auto reply = c.device().call<ipc::RegistrySet>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error) return fail("cannot change the device settings: " + kernel::describeError(reply->error));
  return saveRegistry(c, "the device settings");
}

std::optional<uint32_t> registryDword(Context& c, const std::u16string& name) {
  auto reply = c.device().call<ipc::RegistryQuery>({0x80000002u, u"System\\Device", name});
  if (!reply || reply->error || reply->data.size() != 4) return std::nullopt;
  auto& d = reply->data;
  return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24);
}

}  // namespace

int runClock(Context& c, const Args& args) {
  if (args.empty()) return fail("usage: clock get|set|freeze|run", 2);
  if (args[0] == "get" && args.size() == 1) {
    auto reply = c.device().call<ipc::ClockGet>({});
    if (!reply) return fail("the device did not answer");
    auto time = kernel::ticksToSystemTime(reply->localTime);
    if (!time) return fail("the device clock is out of range");
    std::printf("%s\n", formatTime(*time).c_str());
    return 0;
  }
  if (args[0] == "run" && args.size() == 1) return controlClock(c, {ipc::ClockMode::Run, 0});
  if ((args[0] == "set" || args[0] == "freeze") && args.size() == 2) {
    auto time = parseTime(args[1]);
    if (!time) return fail("not a valid time 'YYYY-MM-DD HH:MM:SS': " + args[1], 2);
    return controlClock(c, {args[0] == "set" ? ipc::ClockMode::Set : ipc::ClockMode::Freeze, *time});
  }
  return fail("usage: clock get | set 'YYYY-MM-DD HH:MM:SS' | freeze 'YYYY-MM-DD HH:MM:SS' | run", 2);
}

int runLocale(Context& c, const Args& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    bool order = args[i] == "--date-order", clock = args[i] == "--time-format";
    if ((!order && !clock) || i + 1 >= args.size())
      return fail("usage: locale [--date-order 0|1|2] [--time-format 0|1]", 2);
    auto value = parseNumber(args[++i]);
    if (!value || *value > (order ? 2u : 1u)) return fail("out of range: " + args[i], 2);
    if (int rc = setRegistryDword(c, order ? u"DateOrder" : u"TimeFormat", static_cast<uint32_t>(*value)))
      return rc;
  }
  if (args.empty()) {
    auto order = registryDword(c, u"DateOrder");
    auto clock = registryDword(c, u"TimeFormat");
    std::printf("date-order %u\ntime-format %u\n", order.value_or(1), clock.value_or(1));
  }
  return 0;
}

int runNotifications(Context& c, const Args& args) {
  if (!args.empty()) return fail("notifications takes no arguments", 2);
  auto reply = c.device().call<ipc::ListNotifications>({});
  if (!reply) return fail("the device did not answer");
  for (auto& n : reply->notifications) {
    const auto& s = n.start;
    SYSTEMTIME t{s.year, s.month, s.dayOfWeek, s.day, s.hour, s.minute, s.second, s.milliseconds};
    std::printf("%s\t%s\t%s\n", formatTime(t).c_str(), strings::toUtf8(n.application).c_str(),
                strings::toUtf8(n.arguments).c_str());
  }
  return 0;
}

}  // namespace handheld::ctl
