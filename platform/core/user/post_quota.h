// Posts from other processes that the server answered itself: it counts them against the
// receiving thread's queue and refuses more than the queue holds, so each one is reported
// when it leaves the queue (taken, or dropped with its window or thread), in batches.
#pragma once

#include <vector>

#include "ipc/protocol.h"
#include "user/thread_queue.h"

namespace handheld::user {

// Under the lock: a posted message leaves its queue (nothing when the server did not count it).
void notePostLeft(const PostedMessage& message);
// Under the lock: the reports due, emptied. A batch is due when it is full or the thread has
// nothing more to take (`drained`), so the server's count never lags behind a waiting thread.
std::vector<ipc::PostsTaken> takeDuePostReports(bool drained);
// Without the lock.
void sendPostReports(const std::vector<ipc::PostsTaken>& reports);

}  // namespace handheld::user
