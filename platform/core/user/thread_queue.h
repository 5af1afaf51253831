// A thread's message queue: messages sent to it from other threads and processes, posted
// messages, input, the count of its windows that need painting, its timers, and its focus,
// active and capture windows. The owner wakes through an eventfd and waits in poll(), never
// spinning. Everything but the descriptor is used under userLock().
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "os/unique_fd.h"

namespace handheld::user {

using Clock = std::chrono::steady_clock;

class ThreadQueue;

// A message sent to a window of another thread (or the same thread's queued work), waiting
// on the receiving thread's queue until it is processed.
struct SentMessage {
  enum class Origin {
    Thread,    // another thread of this process; `sender` waits for the reply unless notify
    Remote,    // another process, through the server; answered with deliveryId
    Internal,  // the platform's own work on the owner thread (activation changes)
  };
  Origin origin = Origin::Thread;
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool notify = false;                    // no reply wanted
  std::shared_ptr<ThreadQueue> sender;    // Thread origin
  uint64_t deliveryId = 0;                // Remote origin
  std::function<void()> action;           // Internal origin
  bool replied = false;
  LRESULT result = 0;
  DWORD error = 0;                        // why a send to another process failed
};

// A posted message. quotaThread: the thread the server counted it against, for a post from
// another process it answered itself (it is told when the message leaves the queue); 0 for
// every other post.
struct PostedMessage : MSG {
  PostedMessage(const MSG& posted, DWORD countedFor = 0) : MSG(posted), quotaThread(countedFor) {}
  DWORD quotaThread;
};

struct Timer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  TIMERPROC procedure = nullptr;
  Clock::time_point due;
  // The platform's own (the caret's blink): it comes as kSystemTimerMessage and SetTimer and
  // KillTimer never touch it.
  bool system = false;
};
inline constexpr UINT kSystemTimerMessage = 0x0118;

class ThreadQueue {
 public:
  ThreadQueue(DWORD threadId, os::UniqueFd wake) : threadId_(threadId), wake_(std::move(wake)) {}
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;

  DWORD threadId() const { return threadId_; }
  int wakeFd() const { return wake_.get(); }
  // Makes the owner's wait return; any thread, with or without the lock (nothing to do on
  // the owner's own thread).
  void wake() const;
  // Owner only, before looking at the queue: later wakes are then never lost.
  void drainWake() const;

  std::deque<std::shared_ptr<SentMessage>> sent;
  std::deque<PostedMessage> posted;
  std::deque<MSG> input;
  std::vector<Timer> timers;
  size_t windowsToPaint = 0;  // windows of this thread with a non-empty update region
  bool quitPending = false;
  int quitCode = 0;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  bool blocked = false;       // the owner waits (message wait or kernel wait)
  bool ended = false;         // the thread has ended; nothing is queued here any more
  // Sent messages being processed on this thread, innermost last.
  std::vector<std::shared_ptr<SentMessage>> receiving;
  UINT arrived = 0;           // QS_ kinds that arrived since the queue was last looked at
  DWORD lastMessageTime = 0;  // of the last message retrieved
  POINT lastMessagePoint{};
  UINT_PTR nextTimerId = 1;   // ids for timers without a window

 private:
  DWORD threadId_;
  os::UniqueFd wake_;
};

// The queues of this process by thread id.
class QueueTable {
 public:
  static QueueTable& get();
  std::shared_ptr<ThreadQueue> find(DWORD threadId) const;
  void insert(const std::shared_ptr<ThreadQueue>& queue) { queues_[queue->threadId()] = queue; }
  void erase(DWORD threadId) { queues_.erase(threadId); }
  const std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>& all() const { return queues_; }

 private:
  QueueTable() = default;
  std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>> queues_;
};

// The calling thread's queue, made on first use; null (with the last error set) only when
// the host has no descriptor left. Call without the lock held.
std::shared_ptr<ThreadQueue> currentQueue();
// The calling thread's queue if it has one; never makes one. Safe with the lock held.
ThreadQueue* existingCurrentQueue();

// Limit of each list of a queue, so that a flooding sender cannot exhaust the receiver. The
// server holds posts from other processes to the same limit (PostsTaken).
inline constexpr size_t kMaxPostedMessages = 10000;

// Under the lock. Appends a posted message and wakes the owner; false when the queue is full
// or its thread has ended. A post the server counted (quotaThread) was admitted by the
// server's count and is taken whatever the queue holds.
bool enqueuePosted(ThreadQueue& queue, const MSG& message, DWORD quotaThread = 0);
// Under the lock. Queues a sent message and wakes the owner; false when the queue is full or
// its thread has ended.
bool enqueueSent(ThreadQueue& queue, std::shared_ptr<SentMessage> message);

}  // namespace handheld::user
