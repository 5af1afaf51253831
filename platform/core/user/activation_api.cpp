// SetForegroundWindow, GetForegroundWindow, SetActiveWindow, GetActiveWindow,
// BringWindowToTop: the server keeps the one active window and the z-order.
#include "user/input_focus.h"
#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

// A child names its top-level window for activation.
HWND topLevelFor(HWND window) {
  if (classifyHandle(window) != HandleKind::Own) return window;
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  return w ? topLevelOf(w)->handle : nullptr;
}

}  // namespace

HANDHELD_API BOOL WINAPI SetForegroundWindow(HWND window) {
  HWND topLevel = topLevelFor(window);
  return topLevel && arrangeTopLevel(topLevel, ipc::kInsertTop, true, true);
}

HANDHELD_API HWND WINAPI GetForegroundWindow(void) {
  auto reply = deviceLink().call<ipc::ForegroundGet>({});
  return reply ? toHwnd(reply->handle) : nullptr;
}

HANDHELD_API HWND WINAPI SetActiveWindow(HWND window) {
  HWND previous = GetActiveWindow();
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return nullptr;
    if (w->isChild() || w->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  return arrangeTopLevel(window, ipc::kInsertTop, true, true) ? previous : nullptr;
}

HANDHELD_API HWND WINAPI GetActiveWindow(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  return queue ? queue->active : nullptr;
}

HANDHELD_API BOOL WINAPI BringWindowToTop(HWND window) {
  if (classifyHandle(window) == HandleKind::Own) {
    bool child = false;
    {
      UserGuard guard(userLock());
      auto w = findOwnWindow(window);
      if (!w) return FALSE;
      child = w->isChild();
    }
    if (child) return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  return arrangeTopLevel(window, ipc::kInsertTop, true, true);
}
