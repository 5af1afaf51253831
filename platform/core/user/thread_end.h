// What happens when a thread with a message queue ends: its windows go (without messages:
// the thread can no longer receive them) and whoever waits on a message sent to it gets 0.
#pragma once

#include <memory>

#include "user/thread_queue.h"

namespace handheld::user {

void endThreadQueue(std::shared_ptr<ThreadQueue> queue);

}  // namespace handheld::user
