// DefWindowProcW: the platform's defaults the system relies on.
#include <algorithm>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/messages.h"
#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

void storeWindowText(HWND window, std::u16string text) {
  bool mirror = false;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    w->text = std::move(text);
    // A window in creation is entered in the server's table with its text when done.
    mirror = !w->isChild() && w->state != Window::State::Creating;
  }
  if (mirror) syncTopLevel(window);
}

}  // namespace handheld::user

using namespace handheld::user;

namespace {

LRESULT copyText(HWND window, WPARAM capacity, LPWSTR buffer) {
  if (!buffer || capacity == 0) return 0;
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(window);
  if (!w) {
    buffer[0] = 0;
    return 0;
  }
  size_t count = std::min<size_t>(w->text.size(), capacity - 1);
  std::copy_n(w->text.data(), count, buffer);
  buffer[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT eraseBackground(HWND window, HDC hdc) {
  HBRUSH brush = nullptr;
  RECT client{};
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return 0;
    brush = w->windowClass->background;
    client = clientRect(*w);
  }
  if (!brush || !hdc) return 0;
  FillRect(hdc, &client, brush);
  return 1;
}

// WM_MOVE and WM_SIZE for what SetWindowPos changed.
void reportPositionChange(HWND window, const WINDOWPOS* position) {
  if (!position) return;
  RECT client{};
  POINT origin{};
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return;
    client = clientRect(*w);
    RECT insets = nonClientInsets(w->style, w->exStyle);
    origin = {w->rect.left + insets.left, w->rect.top + insets.top};
  }
  if (!(position->flags & SWP_NOMOVE))
    callWindowProcedure(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (!(position->flags & SWP_NOSIZE))
    callWindowProcedure(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// An activated window takes the focus unless one of its children has it.
void focusOnActivation(HWND window) {
  {
    UserGuard guard(userLock());
    ThreadQueue* queue = existingCurrentQueue();
    if (queue && queue->focus && (queue->focus == window || isDescendant(window, queue->focus)))
      return;
  }
  SetFocus(window);
}

}  // namespace

HANDHELD_API LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName))
        storeWindowText(window, create->lpszName);
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT:
      storeWindowText(window, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"");
      return TRUE;
    case WM_GETTEXT:
      return copyText(window, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: {
      UserGuard guard(userLock());
      auto w = WindowTable::get().find(window);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_ERASEBKGND:
      return eraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      reportPositionChange(window, reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) focusOnActivation(window);
      return 0;
    // The stylus on the window's own scroll bar.
    case WM_NCLBUTTONDOWN:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL)
        trackScrollBar(window, wParam == HTVSCROLL ? SB_VERT : SB_HORZ,
                       POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    default:
      return 0;
  }
}

HANDHELD_API LRESULT WINAPI CallWindowProcW(WNDPROC procedure, HWND window, UINT message,
                                            WPARAM wParam, LPARAM lParam) {
  if (!procedure) return 0;
  return procedure(window, message, wParam, lParam);
}
