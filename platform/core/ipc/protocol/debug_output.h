// Debug output: a line a program writes to the device log.
#pragma once

#include <cstddef>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// The server keeps at most this many characters of one line; the rest is cut.
inline constexpr size_t kMaxDebugLine = 1024;

struct DebugOutput {
  static constexpr Op op = Op::DebugOutput;
  static constexpr Direction direction = Direction::Notice;
  std::u16string text;
  HANDHELD_FIELDS(text)
};

}  // namespace handheld::ipc
