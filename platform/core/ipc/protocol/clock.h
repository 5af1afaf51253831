// The device clock: set, frozen or running, and read.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

enum class ClockMode : uint8_t { Set = 1, Freeze = 2, Run = 3 };

struct ClockControl {
  static constexpr Op op = Op::ClockControl;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    ClockMode mode = ClockMode::Run;
    int64_t localTime = 0;  // 100 ns since 1601, device local time; unused by Run
    HANDHELD_FIELDS(mode, localTime)
  };
  struct Reply {
    // ERROR_INVALID_PARAMETER for a time the device cannot show (nothing changed); an error
    // such as ERROR_DISK_FULL when the new time holds but could not be saved, with `reason`.
    uint32_t error = 0;
    std::string reason;
    HANDHELD_FIELDS(error, reason)
  };
};

struct ClockGet {
  static constexpr Op op = Op::ClockGet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    int64_t localTime = 0;
    bool frozen = false;
    HANDHELD_FIELDS(localTime, frozen)
  };
};

}  // namespace handheld::ipc
