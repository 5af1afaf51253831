// Timed notifications: at its start time (device local time) a notification starts its
// application with its arguments, once. Kept in <root>/.device/notifications; a time that
// passed while the device was stopped fires at the next start.
#pragma once

#include <cstdint>
#include <map>

#include "clock_service.h"
#include "process_service.h"
#include "server.h"
#include "state_saver.h"

namespace handheld::device {

class NotificationService {
 public:
  NotificationService(Server& server, ClockService& clock, ProcessService& processes);
  // Fires what is due now and plans the next one; called at start and on clock changes.
  void replan();

 private:
  ipc::SetNotification::Reply set(const ipc::NotificationEntry& entry);
  void fireDue();
  void load();
  std::optional<os::FileWriteError> save() const;

  Server& server_;
  ClockService& clock_;
  ProcessService& processes_;
  std::map<uint64_t, ipc::NotificationEntry> entries_;
  uint64_t nextId_ = 1;
  EventLoop::TimerId timer_ = 0;
  StateSaver saver_;  // after the state it writes
};

// Device local time of a notification entry, 100 ns since 1601; nullopt if invalid.
std::optional<int64_t> notificationTime(const ipc::WireTime& time);

}  // namespace handheld::device
