#include <vector>

#include "user/input_focus.h"
#include "user/window.h"
#include "user/messages.h"
#include "user/device_link.h"

namespace handheld::user {

namespace {

std::vector<HWND> childrenOf(HWND window) {
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(window);
  return w ? w->children : std::vector<HWND>{};
}

void markDestroying(Window& window) {
  window.state = Window::State::Destroying;
  for (HWND child : window.children)
    if (auto c = WindowTable::get().find(child)) markDestroying(*c);
}

void sendDestroy(HWND window) {
  sendMessage(window, WM_DESTROY, 0, 0);
  for (HWND child : childrenOf(window)) sendDestroy(child);
}

void freeTree(HWND window) {
  for (HWND child : childrenOf(window)) freeTree(child);
  sendMessage(window, WM_NCDESTROY, 0, 0);
  UserGuard guard(userLock());
  if (auto w = WindowTable::get().find(window)) forgetWindow(*w);
}

bool within(HWND window, HWND candidate) {
  return candidate && (candidate == window || isDescendant(window, candidate));
}

}  // namespace

void destroyWindowTree(HWND window) {
  std::vector<HWND> owned;
  bool visible = false;
  bool topLevel = false;
  {
    UserGuard guard(userLock());
    for (const auto& [value, w] : WindowTable::get().all())
      if (!w->isChild() && w->owner == window && w->threadId == GetCurrentThreadId())
        owned.push_back(w->handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    visible = w->visibleFlag();
    topLevel = !w->isChild();
  }
  if (visible)
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  bool releaseCapture = false;
  bool dropFocus = false;
  {
    UserGuard guard(userLock());
    if (ThreadQueue* queue = existingCurrentQueue()) {
      releaseCapture = within(window, queue->capture);
      dropFocus = within(window, queue->focus);
    }
    auto w = WindowTable::get().find(window);
    if (!w) return;
    markDestroying(*w);
  }
  if (releaseCapture) ReleaseCapture();
  if (dropFocus) moveFocus(nullptr);
  sendDestroy(window);
  freeTree(window);
  if (topLevel) unregisterTopLevel(window);
}

void abandonWindow(HWND window, bool sendNcDestroy) {
  if (sendNcDestroy) sendMessage(window, WM_NCDESTROY, 0, 0);
  bool topLevel = false;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    topLevel = !w->isChild();
    w->state = Window::State::Destroying;
    forgetWindow(*w);
  }
  if (topLevel) unregisterTopLevel(window);
}

}  // namespace handheld::user

using namespace handheld::user;

HANDHELD_API BOOL WINAPI DestroyWindow(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own:
      break;
    case HandleKind::Foreign:
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
  }
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    if (w->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->state == Window::State::Destroying) return TRUE;  // already on its way
  }
  destroyWindowTree(window);
  return TRUE;
}
