// The "SCROLLBAR" control: SBS_VERT or SBS_HORZ, its bar filling the client area. It tells
// its parent with WM_VSCROLL / WM_HSCROLL (lParam its own handle) and keeps its values
// through the SBM_ messages. Keys: the arrows step, page up and down page, home and end go
// to the ends; SB_ENDSCROLL when the key is released.
#include "user/controls/automation_state.h"
#include "user/controls/scrollbar/scroll_bar.h"
#include "user/controls/scrollbar/scroll_paint.h"
#include "user/window.h"

namespace handheld::user {

namespace {

SCROLLINFO infoWith(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  return info;
}

int currentPosition(HWND window) {
  SCROLLINFO info = infoWith(SIF_POS);
  return getScrollValues(window, SB_CTL, info) ? info.nPos : 0;
}

// The SB_ code a key gives; -1 for keys the control leaves alone.
int codeForKey(WPARAM key) {
  switch (key) {
    case VK_UP: case VK_LEFT: return SB_LINEUP;
    case VK_DOWN: case VK_RIGHT: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return -1;
  }
}

void notifyParent(HWND window, int code) {
  HWND parent = GetParent(window);
  const UINT message = (GetWindowLongW(window, GWL_STYLE) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  if (parent) SendMessageW(parent, message, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(window));
}

void paint(HWND window) {
  PAINTSTRUCT ps;
  if (!BeginPaint(window, &ps)) return;
  if (auto place = placeOfBar(window, SB_CTL)) paintScrollBar(ps.hdc, place->layout, place->state);
  EndPaint(window, &ps);
}

LRESULT setRange(HWND window, int minimum, int maximum, bool redraw) {
  SCROLLINFO info = infoWith(SIF_RANGE);
  info.nMin = minimum;
  info.nMax = maximum;
  const int before = currentPosition(window);
  setScrollValues(window, SB_CTL, info, redraw);
  return before;
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      UserGuard guard(userLock());
      if (auto w = WindowTable::get().find(window)) {
        scrollBarOf(*w, SB_CTL);
        w->scrollBars->isControl = true;
      }
      break;
    }
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the bar covers the whole client area
    case WM_ENABLE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) SetFocus(window);
      POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(window, &screen);
      trackScrollBar(window, SB_CTL, screen);
      return 0;
    }
    case WM_KEYDOWN: {
      const int code = codeForKey(wParam);
      if (code >= 0 && IsWindowEnabled(window)) notifyParent(window, code);
      return 0;
    }
    case WM_KEYUP:
      if (codeForKey(wParam) >= 0 && IsWindowEnabled(window)) notifyParent(window, SB_ENDSCROLL);
      return 0;
    case SBM_SETSCROLLINFO:
      if (!lParam) return 0;
      return setScrollValues(window, SB_CTL, *reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0).value_or(0);
    case SBM_GETSCROLLINFO:
      return lParam && getScrollValues(window, SB_CTL, *reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_SETPOS: {
      const int before = currentPosition(window);
      SCROLLINFO info = infoWith(SIF_POS);
      info.nPos = static_cast<int>(wParam);
      setScrollValues(window, SB_CTL, info, lParam != 0);
      return before;
    }
    case SBM_GETPOS:
      return currentPosition(window);
    case controls::WM_AUTOMATION_STATE: {
      SCROLLINFO info = infoWith(SIF_ALL);
      if (!getScrollValues(window, SB_CTL, info)) return 0;
      controls::automationStateOf(lParam).update(
          {{"position", info.nPos}, {"range", {info.nMin, info.nMax}}, {"page", info.nPage}});
      return 0;
    }
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
      return setRange(window, static_cast<int>(wParam), static_cast<int>(lParam), message == SBM_SETRANGEREDRAW);
    case SBM_GETRANGE: {
      SCROLLINFO info = infoWith(SIF_RANGE);
      const bool read = getScrollValues(window, SB_CTL, info);
      if (auto* minimum = reinterpret_cast<LPINT>(wParam)) *minimum = read ? info.nMin : 0;
      if (auto* maximum = reinterpret_cast<LPINT>(lParam)) *maximum = read ? info.nMax : 0;
      return 0;
    }
    case SBM_ENABLE_ARROWS:
      return enableScrollArrows(window, SB_CTL, static_cast<UINT>(wParam));
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

WNDCLASSW scrollBarClass() {
  WNDCLASSW description{};
  description.lpfnWndProc = procedure;
  description.lpszClassName = u"SCROLLBAR";
  return description;
}

}  // namespace handheld::user
