// Focus and capture: per thread, as on the device. The server learns which top-level window
// holds the capture (stylus input goes there).
#include "user/input_focus.h"
#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld;
using namespace handheld::user;

namespace {

// One of the calling thread's windows, or null with the error set.
std::shared_ptr<Window> threadWindow(HWND window) {
  auto w = findOwnWindow(window);
  if (w && w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return w;
}

}  // namespace

HANDHELD_API HWND WINAPI SetFocus(HWND window) {
  if (window) {
    HWND topLevel = nullptr;
    bool activate = false;
    {
      UserGuard guard(userLock());
      auto w = threadWindow(window);
      if (!w) return nullptr;
      topLevel = topLevelOf(w)->handle;
      ThreadQueue* queue = existingCurrentQueue();
      activate = !queue || queue->active != topLevel;
    }
    // Focus goes with activation: the window's top-level window becomes the active one.
    if (activate) arrangeTopLevel(topLevel, ipc::kInsertTop, true, true);
    if (!IsWindow(window)) return nullptr;
  }
  return moveFocus(window);
}

HANDHELD_API HWND WINAPI GetFocus(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  return queue ? queue->focus : nullptr;
}

HANDHELD_API HWND WINAPI SetCapture(HWND window) {
  auto queue = currentQueue();
  if (!queue) return nullptr;
  HWND old = nullptr;
  HWND topLevel = nullptr;
  {
    UserGuard guard(userLock());
    auto w = threadWindow(window);
    if (!w) return nullptr;
    topLevel = topLevelOf(w)->handle;
    old = queue->capture;
    queue->capture = window;
  }
  if (old && old != window) callWindowProcedure(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  deviceLink().notify(ipc::CaptureSet{handleValue(topLevel)});
  return old;
}

HANDHELD_API BOOL WINAPI ReleaseCapture(void) {
  HWND old = nullptr;
  {
    UserGuard guard(userLock());
    ThreadQueue* queue = existingCurrentQueue();
    if (!queue || !queue->capture) return TRUE;
    old = queue->capture;
    queue->capture = nullptr;
  }
  callWindowProcedure(old, WM_CAPTURECHANGED, 0, 0);
  deviceLink().notify(ipc::CaptureSet{0});
  return TRUE;
}

HANDHELD_API HWND WINAPI GetCapture(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  return queue ? queue->capture : nullptr;
}
