#include "clock_service.h"

#include <charconv>

#include "fs/host_error.h"
#include "kernel/device_clock.h"
#include "os/atomic_file.h"
#include "os/device_root.h"
#include "os/state_file.h"
#include "winerror.h"

namespace handheld::device {

namespace {

constexpr int64_t kTicksPerMinute = 600000000;
// "offset -9223372036854775808\n" and a little slack.
constexpr size_t kMaxClockFileBytes = 64;

bool withinDeviceRange(int64_t ticks) { return ticks >= 0 && ticks <= kernel::kLatestDeviceTicks; }

// "frozen <ticks>" or "offset <ticks>", with an optional line end.
struct ClockFile {
  bool frozen = false;
  int64_t value = 0;
};
std::optional<ClockFile> parseClockFile(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  ClockFile file;
  if (text.starts_with("frozen ")) {
    file.frozen = true;
  } else if (!text.starts_with("offset ")) {
    return std::nullopt;
  }
  text.remove_prefix(7);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), file.value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return file;
}

}  // namespace

ClockService::ClockService(Server& server, InfoPage& info)
    : server_(server),
      info_(info),
      saver_(server.loop(), server.log(), "clock", [this] { return save(); }) {
  load();
  publish();
  server_.onRequest<ipc::ClockGet>([this](Connection&, ipc::ClockGet::Request&) {
    return ipc::ClockGet::Reply{localNow(), frozen_};
  });
  server_.onRequest<ipc::ClockControl>(
      [this](Connection&, ipc::ClockControl::Request& r) { return control(r); });
}

ipc::ClockControl::Reply ClockService::control(const ipc::ClockControl::Request& request) {
  std::optional<os::FileWriteError> failure;
  switch (request.mode) {
    case ipc::ClockMode::Set:
    case ipc::ClockMode::Freeze:
      if (!withinDeviceRange(request.localTime)) return {ERROR_INVALID_PARAMETER, {}};
      failure = setLocal(request.localTime, request.mode == ipc::ClockMode::Freeze || frozen_);
      break;
    case ipc::ClockMode::Run: failure = setLocal(localNow(), false); break;
    default: return {ERROR_INVALID_PARAMETER, {}};
  }
  if (!failure) return {ERROR_SUCCESS, {}};
  return {fs::errorFromErrno(failure->hostError), failure->message};
}

int64_t ClockService::utcNow() const {
  return kernel::deviceClockReading(frozen_, frozenUtc_, offset_, kernel::hostUtcNow());
}
int64_t ClockService::localNow() const { return kernel::deviceLocalTime(utcNow(), bias_); }
int64_t ClockService::localToUtc(int64_t local) const { return local + bias_ * kTicksPerMinute; }

void ClockService::setTimeZoneBias(int32_t minutes) {
  if (minutes == bias_) return;
  bias_ = minutes;
  publish();
}

std::optional<os::FileWriteError> ClockService::setLocal(int64_t local, bool freeze) {
  int64_t utc = localToUtc(local);
  frozen_ = freeze;
  if (freeze) {
    frozenUtc_ = utc;
  } else {
    offset_ = utc - kernel::hostUtcNow();
  }
  auto failure = saver_.saveNow();
  publish();
  server_.log().write(std::string("clock ") + (freeze ? "frozen" : "set"));
  return failure;
}

void ClockService::publish() {
  ipc::writeSettings(info_.page(), [this](ipc::DeviceSettingsBlock& s) {
    s.clockOffset = offset_;
    s.frozenUtc = frozenUtc_;
    s.clockFrozen = frozen_ ? 1 : 0;
    s.timeZoneBias = bias_;
  });
  for (auto& f : listeners_) f();
}

void ClockService::load() {
  const auto path = os::deviceStateFile(server_.root(), "clock");
  auto read = os::readStateFile(path, kMaxClockFileBytes);
  if (read.kind == os::StateFileText::Kind::Missing) return;  // none yet: the host clock
  std::string problem;
  if (read.kind == os::StateFileText::Kind::Refused) {
    problem = read.problem;
    std::string why;
    if (auto aside = os::setAsideStateFile(path, why)) {
      problem += "; moved it to " + aside->string();
    } else {
      problem += "; it could not be moved aside (" + why + ")";
    }
  } else if (auto file = parseClockFile(read.text); !file) {
    problem = "is damaged";
  } else {
    int64_t utc = file->value;
    if (file->frozen || !__builtin_add_overflow(kernel::hostUtcNow(), file->value, &utc)) {
      if (withinDeviceRange(utc)) {
        frozen_ = file->frozen;
        (frozen_ ? frozenUtc_ : offset_) = file->value;
        return;
      }
    }
    problem = "holds a time outside the years 1601 to 9999";
  }
  server_.log().write("clock: " + path.string() + " " + problem + "; using the host time");
}

std::optional<os::FileWriteError> ClockService::save() const {
  std::string text = frozen_ ? "frozen " + std::to_string(frozenUtc_) + "\n"
                             : "offset " + std::to_string(offset_) + "\n";
  return os::replaceFileAtomically(os::deviceStateFile(server_.root(), "clock"), text);
}

}  // namespace handheld::device
