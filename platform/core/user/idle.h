// Answering the server's question whether this process is idle (handheld-ctl wait-idle):
// every thread with a queue waits with the queue empty and nothing to paint. When the answer
// is no, the question waits and the threads answer it when they block.
#pragma once

#include "ipc/protocol.h"

namespace handheld::user {

void idleQueried(const ipc::IdleQuery& query);
// The kernel's wait observer: the calling thread starts (true) or stops waiting.
void threadWaits(bool blocking);

}  // namespace handheld::user
