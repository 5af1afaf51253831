// Message queues of the threads: posting and its quota, waiting, retrieval, sent messages and
// their replies, input queued for a thread, idle and thread end.
#pragma once

#include <windows.h>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>
#include <optional>

#include "ipc/protocol.h"
#include "os/unique_fd.h"

namespace handheld::user {

// ---- thread queue ----
// A thread's message queue: messages sent to it from other threads and processes, posted
// messages, input, the count of its windows that need painting, its timers, and its focus,
// active and capture windows. The owner wakes through an eventfd and waits in poll(), never
// spinning. Everything but the descriptor is used under userLock().
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

// ---- queue wait ----
// Blocking a thread on its own queue: a poll() on the queue's eventfd until something is
// queued or the deadline (the next timer) comes. Counts as waiting for wait-idle.
// Call with the wake descriptor drained before the queue was last looked at.
void waitOnQueue(const ThreadQueue& queue, std::optional<Clock::time_point> deadline);

// Milliseconds until a deadline, rounded up so a wait never ends before it; INFINITE for none.
DWORD millisecondsUntil(std::optional<Clock::time_point> deadline);

// ---- post quota ----
// Posts from other processes that the server answered itself: it counts them against the
// receiving thread's queue and refuses more than the queue holds, so each one is reported
// when it leaves the queue (taken, or dropped with its window or thread), in batches.
// Under the lock: a posted message leaves its queue (nothing when the server did not count it).
void notePostLeft(const PostedMessage& message);
// Under the lock: the reports due, emptied. A batch is due when it is full or the thread has
// nothing more to take (`drained`), so the server's count never lags behind a waiting thread.
std::vector<ipc::PostsTaken> takeDuePostReports(bool drained);
// Without the lock.
void sendPostReports(const std::vector<ipc::PostsTaken>& reports);

// ---- thread end ----
// What happens when a thread with a message queue ends: its windows go (without messages:
// the thread can no longer receive them) and whoever waits on a message sent to it gets 0.
void endThreadQueue(std::shared_ptr<ThreadQueue> queue);

// ---- input queue ----
// Where keyboard and stylus messages enter a thread's queue: after posted messages and before
// WM_PAINT and WM_TIMER. The device's input routing calls this for the window it chose.
// Queues an input message for the thread owning message.hwnd; false (with the last error
// set) when the window is gone or the queue is full.
bool queueInputMessage(const MSG& message);

// ---- idle ----
// Answering the server's question whether this process is idle (handheld-ctl wait-idle):
// every thread with a queue waits with the queue empty and nothing to paint. When the answer
// is no, the question waits and the threads answer it when they block.
void idleQueried(const ipc::IdleQuery& query);
// The kernel's wait observer: the calling thread starts (true) or stops waiting.
void threadWaits(bool blocking);

// ---- retrieve ----
// Taking the next message from a thread's queue in the platform's order: sent messages
// (processed on the way, whatever the filter), posted messages, the quit request, input,
// WM_PAINT, WM_TIMER.
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

// ---- send ----
// Sending a message to any window: a direct call on its own thread, queued to the owner
// thread otherwise (the caller serving messages sent to it while it waits), or through the
// server to another process.
// notify: do not wait for the result (SendNotifyMessageW); returns TRUE once queued.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify = false);
// Sends to a window of this process; nullopt when its thread has not answered by the deadline
// (the message stays queued, so what lParam points to must outlive the receiver's handling).
std::optional<LRESULT> sendOwnMessageBy(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        Clock::time_point deadline);

// ---- sent messages ----
// The receiving and the sending side of messages sent between threads and processes.
// Runs one sent message on the calling thread (its receiver) and answers the sender.
void processSentMessage(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message);
// Processes every message waiting in the calling thread's queue's sent list.
void processPendingSentMessages(ThreadQueue& queue);
// Answers a sent message; only the first answer counts (ReplyMessage may answer early).
// Call without the lock.
void answerSentMessage(const std::shared_ptr<SentMessage>& message, LRESULT result);
// Waits for the answer to a message this thread sent, serving messages sent to it meanwhile
// so that two threads or processes sending to each other never deadlock. Past the deadline it
// gives up with 0 and ERROR_TIMEOUT; the receiver still runs the message later.
LRESULT waitForReply(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message,
                     std::optional<Clock::time_point> deadline = std::nullopt);

}  // namespace handheld::user
