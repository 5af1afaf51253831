#include "user/messages.h"

#include <unordered_map>

#include "user/device_link.h"

namespace handheld::user {

namespace {

// Few reports for a flood, and the server's count at most this far behind a busy thread.
constexpr uint32_t kReportBatch = 64;

struct PendingReports {
  std::unordered_map<DWORD, uint32_t> byThread;
  uint32_t total = 0;
};

PendingReports& pending() {
  static auto* reports = new PendingReports;  // used by threads that may outlive statics
  return *reports;
}

}  // namespace

void notePostLeft(const PostedMessage& message) {
  if (!message.quotaThread) return;
  ++pending().byThread[message.quotaThread];
  ++pending().total;
}

std::vector<ipc::PostsTaken> takeDuePostReports(bool drained) {
  auto& reports = pending();
  if (reports.total == 0 || (!drained && reports.total < kReportBatch)) return {};
  std::vector<ipc::PostsTaken> due;
  for (const auto& [thread, count] : reports.byThread) due.push_back({thread, count});
  reports.byThread.clear();
  reports.total = 0;
  return due;
}

void sendPostReports(const std::vector<ipc::PostsTaken>& reports) {
  for (const auto& report : reports) deviceLink().notify(report);
}

}  // namespace handheld::user
