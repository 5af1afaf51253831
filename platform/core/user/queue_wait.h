// Blocking a thread on its own queue: a poll() on the queue's eventfd until something is
// queued or the deadline (the next timer) comes. Counts as waiting for wait-idle.
#pragma once

#include <optional>

#include "user/thread_queue.h"

namespace handheld::user {

// Call with the wake descriptor drained before the queue was last looked at.
void waitOnQueue(const ThreadQueue& queue, std::optional<Clock::time_point> deadline);

// Milliseconds until a deadline, rounded up so a wait never ends before it; INFINITE for none.
DWORD millisecondsUntil(std::optional<Clock::time_point> deadline);

}  // namespace handheld::user
