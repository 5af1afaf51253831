// IsWindow, IsWindowVisible, IsWindowEnabled, EnableWindow, GetWindowThreadProcessId.
#include <unistd.h>

#include "user/input_focus.h"
#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

HANDHELD_API BOOL WINAPI IsWindow(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own: {
      UserGuard guard(userLock());
      return WindowTable::get().find(window) != nullptr;
    }
    case HandleKind::Foreign:
      return describeForeign(window).has_value();
    case HandleKind::Desktop:
      return TRUE;
    default:
      return FALSE;
  }
}

HANDHELD_API BOOL WINAPI IsWindowVisible(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own: {
      UserGuard guard(userLock());
      auto w = WindowTable::get().find(window);
      return w && effectivelyVisible(*w);
    }
    case HandleKind::Foreign: {
      auto record = describeForeign(window);
      return record && record->visible;
    }
    case HandleKind::Desktop:
      return TRUE;
    default:
      return FALSE;
  }
}

HANDHELD_API BOOL WINAPI IsWindowEnabled(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own: {
      UserGuard guard(userLock());
      auto w = WindowTable::get().find(window);
      return w && w->enabledFlag();
    }
    case HandleKind::Foreign: {
      auto record = describeForeign(window);
      return record && record->enabled;
    }
    case HandleKind::Desktop:
      return TRUE;
    default:
      return FALSE;
  }
}

// Returns whether the window was disabled before.
HANDHELD_API BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  bool wasDisabled = false;
  bool topLevel = false;
  bool dropFocus = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    wasDisabled = !w->enabledFlag();
    if (wasDisabled == !enable) return wasDisabled;
    if (enable) {
      w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
      w->style |= WS_DISABLED;
      ThreadQueue* queue = existingCurrentQueue();
      dropFocus = queue && queue->focus &&
                  (queue->focus == window || isDescendant(window, queue->focus));
    }
    topLevel = !w->isChild();
  }
  // A disabled window cannot keep the keyboard focus.
  if (dropFocus) moveFocus(nullptr);
  sendMessage(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  if (topLevel) syncTopLevel(window);
  return wasDisabled;
}

HANDHELD_API DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  DWORD threadId = 0;
  DWORD pid = 0;
  switch (classifyHandle(window)) {
    case HandleKind::Own: {
      UserGuard guard(userLock());
      auto w = findOwnWindow(window);
      if (!w) return 0;
      threadId = w->threadId;
      pid = static_cast<DWORD>(getpid());
      break;
    }
    case HandleKind::Foreign: {
      auto record = describeForeign(window);
      if (!record) return 0;
      threadId = record->threadId;
      pid = record->pid;
      break;
    }
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
  }
  if (processId) *processId = pid;
  return threadId;
}
