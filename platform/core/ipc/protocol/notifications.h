// Timed notifications: programs started at a device local time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

struct WireTime {  // SYSTEMTIME field by field
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
           milliseconds = 0;
  HANDHELD_FIELDS(year, month, dayOfWeek, day, hour, minute, second, milliseconds)
};

struct NotificationEntry {
  uint64_t id = 0;
  WireTime start;  // device local time
  std::u16string application;
  std::u16string arguments;
  HANDHELD_FIELDS(id, start, application, arguments)
};

struct SetNotification {
  static constexpr Op op = Op::SetNotification;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    NotificationEntry entry;  // id 0 adds, otherwise replaces that notification
    HANDHELD_FIELDS(entry)
  };
  struct Reply {
    uint32_t error = 0;
    uint64_t id = 0;
    HANDHELD_FIELDS(error, id)
  };
};

struct ClearNotification {
  static constexpr Op op = Op::ClearNotification;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint64_t id = 0;
    HANDHELD_FIELDS(id)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ListNotifications {
  static constexpr Op op = Op::ListNotifications;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<NotificationEntry> notifications;
    HANDHELD_FIELDS(notifications)
  };
};

}  // namespace handheld::ipc
