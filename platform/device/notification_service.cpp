#include "notification_service.h"

#include <algorithm>
#include <sstream>

#include "kernel/time_convert.h"
#include "os/atomic_file.h"
#include "os/device_root.h"
#include "os/state_file.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::device {

namespace {

constexpr size_t kMaxNotifications = 256;
constexpr size_t kMaxText = 1024;
// A full file of the longest entries is under 2 MB; a larger one was not written here.
constexpr size_t kMaxFileBytes = 8u << 20;
// A far notification is planned in steps, so the wait never overflows the loop's clock.
constexpr int64_t kLongestWait100ns = int64_t{3600} * 10'000'000;

SYSTEMTIME toSystemTime(const ipc::WireTime& t) {
  return SYSTEMTIME{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

// One notification per line: id, the eight time fields, application and arguments as
// UTF-8 with \\, \t and \n escaped.
std::string escape(const std::u16string& text) {
  std::string out;
  for (char c : strings::toUtf8(text)) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::u16string unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      char n = text[++i];
      out += n == 't' ? '\t' : n == 'n' ? '\n' : n;
    } else {
      out += text[i];
    }
  }
  return strings::fromUtf8(out);
}

}  // namespace

std::optional<int64_t> notificationTime(const ipc::WireTime& time) {
  SYSTEMTIME st = toSystemTime(time);
  return kernel::systemTimeToTicks(st);
}

NotificationService::NotificationService(Server& server, ClockService& clock,
                                         ProcessService& processes)
    : server_(server),
      clock_(clock),
      processes_(processes),
      saver_(server.loop(), server.log(), "notifications", [this] { return save(); }) {
  load();
  clock_.onChange([this] { replan(); });
  server_.onRequest<ipc::SetNotification>(
      [this](Connection&, ipc::SetNotification::Request& r) { return set(r.entry); });
  server_.onRequest<ipc::ClearNotification>([this](Connection&, ipc::ClearNotification::Request& r) {
    if (!entries_.erase(r.id)) return ipc::ClearNotification::Reply{ERROR_INVALID_PARAMETER};
    saver_.saveNow();
    replan();
    return ipc::ClearNotification::Reply{0};
  });
  server_.onRequest<ipc::ListNotifications>([this](Connection&, ipc::ListNotifications::Request&) {
    ipc::ListNotifications::Reply reply;
    for (auto& [id, e] : entries_) reply.notifications.push_back(e);
    return reply;
  });
}

ipc::SetNotification::Reply NotificationService::set(const ipc::NotificationEntry& requested) {
  if (!notificationTime(requested.start) || requested.application.empty() ||
      requested.application.size() > kMaxText || requested.arguments.size() > kMaxText)
    return {ERROR_INVALID_PARAMETER, 0};
  ipc::NotificationEntry entry = requested;
  if (entry.id == 0 || !entries_.count(entry.id)) {
    if (entries_.size() >= kMaxNotifications) return {ERROR_NOT_ENOUGH_MEMORY, 0};
    entry.id = nextId_++;
  }
  entries_[entry.id] = entry;
  saver_.saveNow();
  replan();
  return {0, entry.id};
}

void NotificationService::replan() {
  if (timer_) server_.loop().cancelTimer(timer_);
  timer_ = 0;
  fireDue();
  if (entries_.empty() || clock_.frozen()) return;  // a frozen clock never reaches a time
  int64_t earliest = INT64_MAX;
  for (auto& [id, e] : entries_) earliest = std::min(earliest, *notificationTime(e.start));
  int64_t wait100ns = std::clamp<int64_t>(earliest - clock_.localNow(), 0, kLongestWait100ns);
  auto deadline = EventLoop::Clock::now() + std::chrono::microseconds(wait100ns / 10);
  timer_ = server_.loop().addTimer(deadline, [this] {
    timer_ = 0;
    replan();
  });
}

void NotificationService::fireDue() {
  int64_t now = clock_.localNow();
  std::vector<ipc::NotificationEntry> due;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (*notificationTime(it->second.start) <= now) {
      due.push_back(it->second);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  if (due.empty()) return;
  saver_.saveNow();
  for (auto& e : due) {
    uint32_t pid = 0;
    uint32_t error = processes_.launch(e.application, e.arguments, pid);
    server_.log().write("notification " + std::to_string(e.id) + " for " + strings::toUtf8(e.application) +
                        (error ? " could not start it (error " + std::to_string(error) + ")"
                               : " started process " + std::to_string(pid)));
  }
}

void NotificationService::load() {
  const auto path = os::deviceStateFile(server_.root(), "notifications");
  auto read = os::readStateFile(path, kMaxFileBytes);
  if (read.kind == os::StateFileText::Kind::Refused) {
    std::string why;
    auto aside = os::setAsideStateFile(path, why);
    server_.log().write("notifications: " + path.string() + " " + read.problem +
                        (aside ? "; moved it to " + aside->string() : "; it could not be moved aside (" + why + ")") +
                        "; starting without notifications");
    return;
  }
  std::istringstream in(std::move(read.text));
  std::string line;
  RepeatedFailures damaged(server_.log(), "notifications: damaged lines");
  for (size_t number = 1; std::getline(in, line) && entries_.size() < kMaxNotifications; ++number) {
    std::istringstream fields(line);
    std::string id, app, args;
    ipc::WireTime t;
    if (!std::getline(fields, id, '\t')) continue;
    uint16_t* parts[] = {&t.year, &t.month, &t.dayOfWeek, &t.day, &t.hour, &t.minute, &t.second, &t.milliseconds};
    bool ok = true;
    for (auto* part : parts) {
      std::string v;
      if (!std::getline(fields, v, '\t')) { ok = false; break; }
      try { *part = static_cast<uint16_t>(std::stoul(v)); } catch (...) { ok = false; }
    }
    std::getline(fields, app, '\t');
    std::getline(fields, args);
    ipc::NotificationEntry e{0, t, unescape(app), unescape(args)};
    try { e.id = std::stoull(id); } catch (...) { ok = false; }
    if (!ok || e.id == 0 || !notificationTime(t) || e.application.empty()) {
      damaged.add("notifications: skipped damaged line " + std::to_string(number));
      continue;
    }
    entries_[e.id] = e;
    nextId_ = std::max(nextId_, e.id + 1);
  }
}

std::optional<os::FileWriteError> NotificationService::save() const {
  std::string text;
  for (auto& [id, e] : entries_) {
    const auto& t = e.start;
    for (uint64_t v : {id, uint64_t{t.year}, uint64_t{t.month}, uint64_t{t.dayOfWeek}, uint64_t{t.day},
                       uint64_t{t.hour}, uint64_t{t.minute}, uint64_t{t.second}, uint64_t{t.milliseconds}})
      text += std::to_string(v) + "\t";
    text += escape(e.application) + "\t" + escape(e.arguments) + "\n";
  }
  return os::replaceFileAtomically(os::deviceStateFile(server_.root(), "notifications"), text);
}

}  // namespace handheld::device
