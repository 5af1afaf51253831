// The greeting that opens every connection: who is calling, and what the device gives it.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

enum class ClientKind : uint8_t { Process = 1, Automation = 2 };

struct Hello {
  static constexpr Op op = Op::Hello;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    ClientKind kind = ClientKind::Process;
    uint32_t pid = 0;
    uint32_t protocolVersion = 0;
    HANDHELD_FIELDS(kind, pid, protocolVersion)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t windowSlot = 0;    // the process's prefix for window handles
    std::u16string modulePath;  // device path of the image the device started, if it did
    std::u16string commandLine;
    Fd infoPage;                // read-only DeviceInfoPage
    HANDHELD_FIELDS(error, windowSlot, modulePath, commandLine, infoPage)
  };
};
inline constexpr uint32_t kProtocolVersion = 1;

}  // namespace handheld::ipc
