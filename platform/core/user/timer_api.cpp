// SetTimer and KillTimer. A timer lives in its thread's queue and turns into WM_TIMER when
// due and nothing else waits; the queue's wait ends at the next due time, so nothing spins.
#include <algorithm>

#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

constexpr size_t kMaxTimersPerThread = 10000;
constexpr UINT_PTR kFirstThreadTimerId = 0x100;

// The window must be one of the calling thread's (or null).
bool timerWindowAllowed(HWND window) {
  if (!window) return true;
  auto w = findOwnWindow(window);
  if (!w) return false;
  if (w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

}  // namespace

HANDHELD_API UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
  auto queue = currentQueue();
  if (!queue) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  UserGuard guard(userLock());
  if (!timerWindowAllowed(window)) return 0;
  const auto due = Clock::now() + std::chrono::milliseconds(elapse);
  // A windowless timer is only replaced when the id is one the system gave out before.
  auto existing = std::find_if(queue->timers.begin(), queue->timers.end(),
                               [&](const Timer& t) { return !t.system && t.window == window && t.id == id; });
  if (existing != queue->timers.end()) {
    existing->interval = elapse;
    existing->procedure = timerProc;
    existing->due = due;
    return window ? (id ? id : 1) : id;
  }
  if (queue->timers.size() >= kMaxTimersPerThread) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return 0;
  }
  if (!window) {
    // A fresh id that no timer of the thread uses.
    do {
      id = queue->nextTimerId++;
      if (queue->nextTimerId == 0 || queue->nextTimerId > 0x7FFFFFFF) queue->nextTimerId = kFirstThreadTimerId;
    } while (id < kFirstThreadTimerId ||
             std::any_of(queue->timers.begin(), queue->timers.end(),
                         [&](const Timer& t) { return !t.window && t.id == id; }));
  }
  queue->timers.push_back(Timer{window, id, elapse, timerProc, due});
  return window ? (id ? id : 1) : id;
}

HANDHELD_API BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  ThreadQueue* queue = existingCurrentQueue();
  UserGuard guard(userLock());
  if (!queue || !timerWindowAllowed(window)) return FALSE;
  auto removed = std::erase_if(queue->timers, [&](const Timer& t) { return !t.system && t.window == window && t.id == id; });
  if (removed == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
