#include "user/messages.h"

#include <optional>

#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

namespace {

std::optional<uint64_t> g_pendingQuery;  // under the lock

bool processIdle() {
  const auto now = Clock::now();
  for (const auto& [threadId, q] : QueueTable::get().all()) {
    if (!q->blocked || !q->sent.empty() || !q->posted.empty() || !q->input.empty() ||
        q->quitPending || q->windowsToPaint > 0 || hasTimerDue(*q, now))
      return false;
  }
  return true;
}

// Under the lock: the waiting question, taken when it can be answered now.
std::optional<uint64_t> answerableQuery() {
  if (!g_pendingQuery || !processIdle()) return std::nullopt;
  return std::exchange(g_pendingQuery, std::nullopt);
}

void answer(std::optional<uint64_t> query) {
  if (query) deviceLink().notify(ipc::IdleAnswer{*query});
}

}  // namespace

void idleQueried(const ipc::IdleQuery& query) {
  UserGuard guard(userLock());
  g_pendingQuery = query.queryId;
  auto ready = answerableQuery();
  guard.unlock();
  answer(ready);
}

void threadWaits(bool blocking) {
  ThreadQueue* queue = existingCurrentQueue();
  if (!queue) return;
  UserGuard guard(userLock());
  queue->blocked = blocking;
  if (!blocking) return;
  auto ready = answerableQuery();
  guard.unlock();
  answer(ready);
}

}  // namespace handheld::user
