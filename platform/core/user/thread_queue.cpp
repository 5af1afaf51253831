#include "user/messages.h"

#include <unistd.h>

#include <cstdint>

#include "kernel/sync/eventfd.h"
#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

namespace {

// Ends the queue with its thread: thread-local objects are destroyed as the thread ends,
// whether it returns, calls ExitThread or is terminated.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue) endThreadQueue(std::move(queue));
  }
};

thread_local QueueHolder t_queue;

}  // namespace

void ThreadQueue::wake() const {
  // The owner looks at its queue before it waits, so it never needs waking by itself.
  if (t_queue.queue.get() != this) kernel::raiseEventFd(wake_.get());
}

void ThreadQueue::drainWake() const {
  uint64_t count;
  while (::read(wake_.get(), &count, sizeof count) > 0) {
  }
}

QueueTable& QueueTable::get() {
  static auto* table = new QueueTable;
  return *table;
}

std::shared_ptr<ThreadQueue> QueueTable::find(DWORD threadId) const {
  auto it = queues_.find(threadId);
  return it == queues_.end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> currentQueue() {
  if (t_queue.queue) return t_queue.queue;
  os::UniqueFd wake = kernel::newEventFd(0);
  if (!wake) return nullptr;
  auto queue = std::make_shared<ThreadQueue>(GetCurrentThreadId(), std::move(wake));
  {
    UserGuard guard(userLock());
    QueueTable::get().insert(queue);
  }
  t_queue.queue = queue;
  // Attached only now: asked whether it is idle, the process already counts this thread.
  attachToDevice();
  return queue;
}

ThreadQueue* existingCurrentQueue() { return t_queue.queue.get(); }

bool enqueuePosted(ThreadQueue& queue, const MSG& message, DWORD quotaThread) {
  if (queue.ended || (!quotaThread && queue.posted.size() >= kMaxPostedMessages)) return false;
  queue.posted.emplace_back(message, quotaThread);
  queue.arrived |= QS_POSTMESSAGE;
  queue.wake();
  return true;
}

bool enqueueSent(ThreadQueue& queue, std::shared_ptr<SentMessage> message) {
  if (queue.ended || queue.sent.size() >= kMaxPostedMessages) return false;
  queue.sent.push_back(std::move(message));
  queue.arrived |= QS_SENDMESSAGE;
  queue.wake();
  return true;
}

}  // namespace handheld::user
