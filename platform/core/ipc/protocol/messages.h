// Messages between processes: sends, posts and their results, and automation's sends.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// RegisterWindowMessageW: one number from 0xC000 up per name (compared without regard to
// case), the same for every process of the device; 0 when the numbers are used up.
struct MessageNameRegister {
  static constexpr Op op = Op::MessageNameRegister;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::u16string name;
    HANDHELD_FIELDS(name)
  };
  struct Reply {
    uint32_t message = 0;
    HANDHELD_FIELDS(message)
  };
};

// A message sent to a window of another process. Only integers cross: the receiver refuses
// the system messages whose parameters are pointers. The server answers with MessageSendDone
// (result 0 and an error when the window or its process is gone); notifyOnly asks for no
// answer (SendNotifyMessageW).
struct MessageSend {
  static constexpr Op op = Op::MessageSend;
  static constexpr Direction direction = Direction::Notice;
  uint64_t sendId = 0;  // chosen by the sender, unique within its process
  uint32_t handle = 0;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  bool notifyOnly = false;
  HANDHELD_FIELDS(sendId, handle, message, wParam, lParam, notifyOnly)
};
struct MessageSendDone {
  static constexpr Op op = Op::MessageSendDone;
  static constexpr Direction direction = Direction::Push;
  uint64_t sendId = 0;
  uint32_t error = 0;
  int64_t result = 0;
  HANDHELD_FIELDS(sendId, error, result)
};

// A message posted to a window of another process, or to a thread (handle 0, threadId).
// Answered at once for a top-level window the server knows: ERROR_NOT_ENOUGH_QUOTA when the
// server counts 10000 posts to that window's thread not yet taken (PostsTaken); otherwise
// once the receiving process has queued it (a window or thread it does not have, or a full
// queue: an error), or after a second without its answer (taken as delivered).
struct MessagePost {
  static constexpr Op op = Op::MessagePost;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    uint32_t threadId = 0;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    HANDHELD_FIELDS(handle, threadId, message, wParam, lParam)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

enum class Delivery : uint8_t { Send = 1, Notify = 2, Post = 3, ThreadPost = 4 };

// What the server hands the owning process. It answers with MessageResult: a send when the
// window procedure returns (or at once with an error), a post once queued. A post the server
// answered itself (deliveryId 0) names the thread it was counted against; the process queues
// it whatever its queue holds and reports it with PostsTaken once it leaves the queue.
struct MessageDeliver {
  static constexpr Op op = Op::MessageDeliver;
  static constexpr Direction direction = Direction::Push;
  uint64_t deliveryId = 0;
  Delivery kind = Delivery::Post;
  uint32_t handle = 0;
  uint32_t threadId = 0;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  HANDHELD_FIELDS(deliveryId, kind, handle, threadId, message, wParam, lParam)
};
struct MessageResult {
  static constexpr Op op = Op::MessageResult;
  static constexpr Direction direction = Direction::Notice;
  uint64_t deliveryId = 0;
  uint32_t error = 0;
  int64_t result = 0;
  HANDHELD_FIELDS(deliveryId, error, result)
};
// Posts counted against a thread's queue that have left it (taken, or dropped with their
// window or thread).
struct PostsTaken {
  static constexpr Op op = Op::PostsTaken;
  static constexpr Direction direction = Direction::Notice;
  uint32_t threadId = 0;
  uint32_t count = 0;
  HANDHELD_FIELDS(threadId, count)
};

// A send from automation (handheld-ctl, tests): answered when the window procedure returns.
struct AutomationSend {
  static constexpr Op op = Op::AutomationSend;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t handle = 0;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    // How long the window procedure may take; then the reply is ERROR_TIMEOUT and its late
    // result is dropped. 0: as long as it takes.
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(handle, message, wParam, lParam, timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    int64_t result = 0;
    HANDHELD_FIELDS(error, result)
  };
};

}  // namespace handheld::ipc
