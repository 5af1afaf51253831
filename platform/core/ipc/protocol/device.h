// The device itself: its status, and stopping it.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

struct DeviceStop {
  static constexpr Op op = Op::DeviceStop;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct DeviceStatus {
  static constexpr Op op = Op::DeviceStatus;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t serverPid = 0;
    std::string root;
    std::string display;  // "headless" or "sdl"
    std::string screen;   // "qvga", "vga-landscape", ...
    uint32_t processes = 0;
    HANDHELD_FIELDS(serverPid, root, display, screen, processes)
  };
};

}  // namespace handheld::ipc
