// Getting, peeking, waiting for, dispatching and posting messages.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "kernel/sync/wait.h"
#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

// A window filter must name one of the calling thread's windows (or be null or -1).
bool validFilter(HWND window) {
  if (!window || window == reinterpret_cast<HWND>(-1)) return true;
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  return w && w->threadId == GetCurrentThreadId();
}

// The kinds of messages waiting, as GetQueueStatus reports them. Under the lock.
UINT kindsWaiting(const ThreadQueue& queue) {
  UINT kinds = 0;
  if (!queue.sent.empty()) kinds |= QS_SENDMESSAGE;
  if (!queue.posted.empty() || queue.quitPending) kinds |= QS_POSTMESSAGE;
  for (const MSG& m : queue.input)
    kinds |= m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST
                 ? (m.message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON)
                 : QS_KEY;
  if (queue.windowsToPaint > 0) kinds |= QS_PAINT;
  if (hasTimerDue(queue, Clock::now())) kinds |= QS_TIMER;
  return kinds;
}

bool isThreadOfThisProcess(DWORD threadId) {
  struct stat info;
  std::string path = "/proc/self/task/" + std::to_string(threadId);
  return stat(path.c_str(), &info) == 0;
}

// False with ERROR_MESSAGE_SYNC_ONLY for a message whose pointer is good only in this process.
bool mayCrossProcesses(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!carriesPointers(message, wParam, lParam)) return true;
  SetLastError(ERROR_MESSAGE_SYNC_ONLY);
  return false;
}

}  // namespace

HANDHELD_API BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  auto queue = currentQueue();
  if (!message || !queue) {
    if (!message) SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!validFilter(window)) return -1;
  const MessageFilter filter{window, filterMin, filterMax};
  for (;;) {
    queue->drainWake();
    if (peekNextMessage(*queue, filter, true, *message)) return message->message != WM_QUIT;
    std::optional<Clock::time_point> deadline;
    {
      UserGuard guard(userLock());
      deadline = nextTimerDeadline(*queue, filter);
    }
    waitOnQueue(*queue, deadline);
  }
}

HANDHELD_API BOOL WINAPI PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax,
                                      UINT remove) {
  auto queue = currentQueue();
  if (!message || !queue) {
    if (!message) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!validFilter(window)) return FALSE;
  return peekNextMessage(*queue, MessageFilter{window, filterMin, filterMax}, remove & PM_REMOVE,
                         *message);
}

HANDHELD_API BOOL WINAPI WaitMessage(void) {
  auto queue = currentQueue();
  if (!queue) return FALSE;
  for (;;) {
    queue->drainWake();
    std::optional<Clock::time_point> deadline;
    {
      UserGuard guard(userLock());
      if (queue->arrived || hasTimerDue(*queue, Clock::now())) return TRUE;
      deadline = nextTimerDeadline(*queue, MessageFilter{});
    }
    waitOnQueue(*queue, deadline);
  }
}

HANDHELD_API DWORD WINAPI GetQueueStatus(UINT flags) {
  auto queue = currentQueue();
  if (!queue) return 0;
  UserGuard guard(userLock());
  const UINT waiting = kindsWaiting(*queue) & flags;
  const UINT arrived = queue->arrived & flags;
  queue->arrived &= ~flags;
  return static_cast<DWORD>(MAKELONG(arrived, waiting));
}

HANDHELD_API DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                                    DWORD milliseconds, DWORD wakeMask) {
  if (waitAll || count >= MAXIMUM_WAIT_OBJECTS || (count > 0 && !handles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<handheld::kernel::KernelObject>> objects;
  if (!handheld::kernel::resolveWaitHandles(std::span(handles, count), objects)) return WAIT_FAILED;
  auto queue = currentQueue();
  if (!queue) return WAIT_FAILED;
  std::optional<Clock::time_point> deadline;
  if (milliseconds != INFINITE) deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  const int fd = queue->wakeFd();
  for (;;) {
    queue->drainWake();
    // A signalled object comes before the messages, as its index is lower.
    if (!objects.empty()) {
      DWORD signalled = handheld::kernel::waitForObjects(objects, {}, false, 0);
      if (signalled != WAIT_TIMEOUT) return signalled;
    }
    std::optional<Clock::time_point> wakeAt = deadline;
    {
      UserGuard guard(userLock());
      const auto now = Clock::now();
      if ((queue->arrived & wakeMask) || ((wakeMask & QS_TIMER) && hasTimerDue(*queue, now)))
        return WAIT_OBJECT_0 + count;
      if (wakeMask & QS_TIMER) {
        auto timer = nextTimerDeadline(*queue, MessageFilter{});
        if (timer && (!wakeAt || *timer < *wakeAt)) wakeAt = timer;
      }
    }
    DWORD result = handheld::kernel::waitForObjects(objects, std::span<const int>(&fd, 1), false,
                                                    millisecondsUntil(wakeAt));
    if (result == WAIT_OBJECT_0 + count) continue;
    if (result == WAIT_TIMEOUT && (!deadline || Clock::now() < *deadline)) continue;  // a timer
    return result;
  }
}

HANDHELD_API void WINAPI PostQuitMessage(int exitCode) {
  auto queue = currentQueue();
  if (!queue) return;
  UserGuard guard(userLock());
  queue->quitPending = true;
  queue->quitCode = exitCode;
  queue->arrived |= QS_POSTMESSAGE;
  queue->wake();
}

HANDHELD_API DWORD WINAPI GetMessagePos(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  POINT pt = queue ? queue->lastMessagePoint : POINT{};
  return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

HANDHELD_API LONG WINAPI GetMessageTime(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  return queue ? static_cast<LONG>(queue->lastMessageTime) : 0;
}

HANDHELD_API LRESULT WINAPI DispatchMessageW(const MSG* message) {
  if (!message) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if ((message->message == WM_TIMER || message->message == kSystemTimerMessage) && message->lParam) {
    // Only a timer this thread really has may name a procedure: a posted WM_TIMER from
    // elsewhere must not make the thread jump to an address of its choosing.
    TIMERPROC procedure = nullptr;
    {
      UserGuard guard(userLock());
      if (ThreadQueue* queue = existingCurrentQueue()) {
        for (const Timer& t : queue->timers)
          if (t.window == message->hwnd && t.id == message->wParam &&
              t.system == (message->message == kSystemTimerMessage) &&
              reinterpret_cast<LPARAM>(t.procedure) == message->lParam)
            procedure = t.procedure;
      }
    }
    if (procedure) {
      procedure(message->hwnd, message->message, message->wParam, GetTickCount());
      return 0;
    }
  }
  if (!message->hwnd) return 0;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(message->hwnd);
    if (!w) return 0;
    if (w->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_MESSAGE_SYNC_ONLY);
      return 0;
    }
  }
  if (message->message == WM_PAINT) return deliverPaint(message->hwnd);
  return callWindowProcedure(message->hwnd, message->message, message->wParam, message->lParam);
}

HANDHELD_API BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    UserGuard guard(userLock());
    if (auto queue = QueueTable::get().find(threadId)) {
      if (enqueuePosted(*queue, MSG{nullptr, message, wParam, lParam, GetTickCount(), {}})) return TRUE;
      SetLastError(ERROR_NOT_ENOUGH_QUOTA);
      return FALSE;
    }
  }
  if (isThreadOfThisProcess(threadId)) {
    SetLastError(ERROR_INVALID_THREAD_ID);  // a thread of ours without a queue
    return FALSE;
  }
  return mayCrossProcesses(message, wParam, lParam) &&
         postToOtherProcess(nullptr, threadId, message, wParam, lParam);
}

HANDHELD_API BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (classifyHandle(window)) {
    case HandleKind::Null:
      return PostThreadMessageW(GetCurrentThreadId(), message, wParam, lParam);
    case HandleKind::Foreign:
      return mayCrossProcesses(message, wParam, lParam) &&
             postToOtherProcess(window, 0, message, wParam, lParam);
    case HandleKind::Own:
      break;
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
  }
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  if (!w) return FALSE;
  auto queue = QueueTable::get().find(w->threadId);
  if (!queue || !enqueuePosted(*queue, MSG{window, message, wParam, lParam, GetTickCount(), {}})) {
    SetLastError(queue ? ERROR_NOT_ENOUGH_QUOTA : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}
