// Wait-idle: asking processes whether they are idle.
#pragma once

#include <cstdint>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// Whether a process is idle: every thread with a message queue waits with it empty and
// nothing to paint. The process answers once that holds.
struct IdleQuery {
  static constexpr Op op = Op::IdleQuery;
  static constexpr Direction direction = Direction::Push;
  uint64_t queryId = 0;
  HANDHELD_FIELDS(queryId)
};
struct IdleAnswer {
  static constexpr Op op = Op::IdleAnswer;
  static constexpr Direction direction = Direction::Notice;
  uint64_t queryId = 0;
  HANDHELD_FIELDS(queryId)
};

// Answered once every device process is idle, no message is on its way between processes
// and every started program has connected; error WAIT_TIMEOUT when the time is up first.
struct WaitIdle {
  static constexpr Op op = Op::WaitIdle;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

}  // namespace handheld::ipc
