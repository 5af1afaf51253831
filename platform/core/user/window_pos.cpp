// SetWindowPos, MoveWindow, ShowWindow: position, size, visibility and z-order, with
// WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED and the painting and activation they cause.
#include <algorithm>
#include <iterator>
#include <vector>

#include "user/input_focus.h"
#include "user/paint_state.h"
#include "user/messages.h"
#include "user/device_link.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

constexpr int kMaxCoordinate = 32767;

// Moves a child among its siblings; true when its place changed.
bool restackChild(Window& parent, HWND child, HWND insertAfter) {
  const auto& siblings = parent.children;
  auto current = std::find(siblings.begin(), siblings.end(), child);
  if (current == siblings.end()) return false;
  std::vector<HWND> order;
  order.reserve(siblings.size());
  std::copy_if(siblings.begin(), siblings.end(), std::back_inserter(order),
               [child](HWND h) { return h != child; });
  auto position = current - siblings.begin();
  if (insertAfter == HWND_BOTTOM) {
    position = static_cast<long>(order.size());
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    position = 0;
  } else if (auto after = std::find(order.begin(), order.end(), insertAfter); after != order.end()) {
    position = after - order.begin() + 1;
  }
  std::vector<HWND> result(order.begin(), order.begin() + position);
  result.push_back(child);
  result.insert(result.end(), order.begin() + position, order.end());
  const bool changed = result != siblings;
  parent.children = std::move(result);
  return changed;
}

uint32_t insertAfterValue(HWND insertAfter) {
  if (insertAfter == HWND_TOP) return handheld::ipc::kInsertTop;
  if (insertAfter == HWND_BOTTOM) return handheld::ipc::kInsertBottom;
  if (insertAfter == HWND_TOPMOST) return handheld::ipc::kInsertTopmost;
  if (insertAfter == HWND_NOTOPMOST) return handheld::ipc::kInsertNoTopmost;
  return handleValue(insertAfter);
}

struct Change {
  bool moved = false;
  bool resized = false;
  bool shown = false;
  bool hidden = false;
  bool restacked = false;
  bool topLevel = false;
  bool visibleAfter = false;
  bool topmostChanged = false;
};

// Applies a WINDOWPOS to the window (under the lock).
Change apply(Window& w, const WINDOWPOS& pos) {
  Change change;
  change.topLevel = !w.isChild();
  const RECT old = w.rect;
  const bool wasVisible = w.visibleFlag();
  RECT next = old;
  if (!(pos.flags & SWP_NOMOVE)) {
    const int width = old.right - old.left, height = old.bottom - old.top;
    next = {pos.x, pos.y, pos.x + width, pos.y + height};
  }
  if (!(pos.flags & SWP_NOSIZE)) {
    next.right = next.left + std::clamp(pos.cx, 0, kMaxCoordinate);
    next.bottom = next.top + std::clamp(pos.cy, 0, kMaxCoordinate);
  }
  change.moved = next.left != old.left || next.top != old.top;
  change.resized = next.right - next.left != old.right - old.left ||
                   next.bottom - next.top != old.bottom - old.top;
  w.rect = next;
  if ((pos.flags & SWP_SHOWWINDOW) && !wasVisible) {
    w.style |= WS_VISIBLE;
    change.shown = true;
  }
  if ((pos.flags & SWP_HIDEWINDOW) && wasVisible) {
    w.style &= ~static_cast<DWORD>(WS_VISIBLE);
    change.hidden = true;
  }
  change.visibleAfter = w.visibleFlag();
  if (!(pos.flags & SWP_NOZORDER)) {
    if (change.topLevel) {
      DWORD before = w.exStyle;
      if (pos.hwndInsertAfter == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
      if (pos.hwndInsertAfter == HWND_NOTOPMOST) w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
      change.topmostChanged = before != w.exStyle;
    } else if (auto parent = WindowTable::get().find(w.parent)) {
      change.restacked = restackChild(*parent, w.handle, pos.hwndInsertAfter);
    }
  }
  if (change.hidden) discardUpdateRegions(w);
  if (pos.flags & SWP_NOREDRAW) return change;
  if (!change.topLevel) {
    auto parent = WindowTable::get().find(w.parent);
    const bool changed = change.moved || change.resized || change.restacked;
    if (parent && wasVisible && (changed || change.hidden)) invalidateParentArea(*parent, old);
    if (change.visibleAfter && (changed || change.shown)) invalidateWithChildren(w);
  } else if (change.shown) {
    invalidateWithChildren(w);
  }
  return change;
}

}  // namespace

HANDHELD_API BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width,
                                      int height, UINT flags) {
  if (classifyHandle(window) != HandleKind::Own) {
    SetLastError(classifyHandle(window) == HandleKind::Foreign ? ERROR_ACCESS_DENIED
                                                               : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  {
    UserGuard guard(userLock());
    if (!findOwnWindow(window)) return FALSE;
  }
  WINDOWPOS pos{window, insertAfter, x, y, width, height, flags};
  if (!(flags & SWP_NOSENDCHANGING))
    sendMessage(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  pos.hwnd = window;
  Change change;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    change = apply(*w, pos);
  }
  if (change.topLevel) {
    if (change.resized) refreshSurface(window);
    if (change.moved || change.resized || change.shown || change.hidden || change.topmostChanged)
      syncTopLevel(window);
    const bool raise = !(pos.flags & SWP_NOZORDER);
    const bool activate = !(pos.flags & SWP_NOACTIVATE) && change.visibleAfter;
    if (raise || activate) arrangeTopLevel(window, insertAfterValue(pos.hwndInsertAfter), raise, activate);
  }
  if (!change.moved) pos.flags |= SWP_NOMOVE;
  if (!change.resized) pos.flags |= SWP_NOSIZE;
  sendMessage(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return TRUE;
}

HANDHELD_API BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

HANDHELD_API BOOL WINAPI ShowWindow(HWND window, int command) {
  bool wasVisible = false;
  bool topLevel = false;
  {
    UserGuard guard(userLock());
    if (classifyHandle(window) != HandleKind::Own) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    auto w = findOwnWindow(window);
    if (!w) return FALSE;
    wasVisible = w->visibleFlag();
    topLevel = !w->isChild();
  }
  const bool show = command != SW_HIDE && command != SW_MINIMIZE && command != SW_SHOWMINIMIZED &&
                    command != SW_SHOWMINNOACTIVE;
  const bool activate = show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE;
  if (show == wasVisible) {
    if (show && activate && topLevel) arrangeTopLevel(window, handheld::ipc::kInsertTop, true, true);
    return wasVisible;
  }
  sendMessage(window, WM_SHOWWINDOW, show, 0);
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (!activate) flags |= SWP_NOACTIVATE;
  SetWindowPos(window, nullptr, 0, 0, 0, 0, flags);
  return wasVisible;
}
