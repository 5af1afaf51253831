// Taking the next message from a thread's queue in the platform's order: sent messages
// (processed on the way, whatever the filter), posted messages, the quit request, input,
// WM_PAINT, WM_TIMER.
#pragma once

#include <windows.h>

#include <optional>

#include "user/thread_queue.h"

namespace handheld::user {

struct MessageFilter {
  HWND window = nullptr;  // null: any; (HWND)-1: messages without a window only
  UINT first = 0;
  UINT last = 0;          // first = last = 0: every message
  bool takes(UINT message) const {
    return (first == 0 && last == 0) || (message >= first && message <= last);
  }
};

// The calling thread's next message; true with `out` filled. remove: take it out of the
// queue (WM_PAINT stays until the window is validated; a due timer is re-armed).
bool peekNextMessage(ThreadQueue& queue, const MessageFilter& filter, bool remove, MSG& out);
// When the earliest timer the filter lets through is due. Under the lock.
std::optional<Clock::time_point> nextTimerDeadline(const ThreadQueue& queue,
                                                   const MessageFilter& filter);
// Whether any of the queue's timers is due. Under the lock.
bool hasTimerDue(const ThreadQueue& queue, Clock::time_point now);

}  // namespace handheld::user
