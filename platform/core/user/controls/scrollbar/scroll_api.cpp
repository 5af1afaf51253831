// SetScrollInfo, GetScrollInfo, SetScrollPos, GetScrollPos, SetScrollRange, GetScrollRange,
// ShowScrollBar, EnableScrollBar. SB_CTL goes to the control as its SBM_ message, so that a
// subclassed control sees it.
#include <climits>
#include <cstdint>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

bool validBar(int bar) {
  if (bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL) return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

// Only this process's windows carry bars it can change.
bool ownWindow(HWND window) {
  if (classifyHandle(window) == HandleKind::Own) return true;
  SetLastError(classifyHandle(window) == HandleKind::Foreign ? ERROR_ACCESS_DENIED
                                                              : ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

SCROLLINFO infoWith(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  return info;
}

}  // namespace

HANDHELD_API int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!ownWindow(window) || !validBar(bar)) return 0;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (bar == SB_CTL)
    return static_cast<int>(SendMessageW(window, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  return setScrollValues(window, bar, *info, redraw).value_or(0);
}

HANDHELD_API BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  if (!ownWindow(window) || !validBar(bar)) return FALSE;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (bar == SB_CTL)
    return SendMessageW(window, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
  return getScrollValues(window, bar, *info);
}

HANDHELD_API int WINAPI SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
  if (!ownWindow(window) || !validBar(bar)) return 0;
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(window, SBM_SETPOS, position, redraw));
  SCROLLINFO before = infoWith(SIF_POS);
  if (!getScrollValues(window, bar, before)) before.nPos = 0;
  SCROLLINFO info = infoWith(SIF_POS);
  info.nPos = position;
  setScrollValues(window, bar, info, redraw);
  return before.nPos;
}

HANDHELD_API int WINAPI GetScrollPos(HWND window, int bar) {
  if (!ownWindow(window) || !validBar(bar)) return 0;
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(window, SBM_GETPOS, 0, 0));
  SCROLLINFO info = infoWith(SIF_POS);
  return getScrollValues(window, bar, info) ? info.nPos : 0;
}

HANDHELD_API BOOL WINAPI SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
  if (!ownWindow(window) || !validBar(bar)) return FALSE;
  if (int64_t{maximum} - minimum > INT_MAX) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  if (bar == SB_CTL) {
    SendMessageW(window, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, minimum, maximum);
    return TRUE;
  }
  SCROLLINFO info = infoWith(SIF_RANGE);
  info.nMin = minimum;
  info.nMax = maximum;
  return setScrollValues(window, bar, info, redraw).has_value();
}

HANDHELD_API BOOL WINAPI GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
  if (!ownWindow(window) || !validBar(bar) || !minimum || !maximum) {
    if (minimum) *minimum = 0;
    if (maximum) *maximum = 0;
    return FALSE;
  }
  if (bar == SB_CTL) {
    SendMessageW(window, SBM_GETRANGE, reinterpret_cast<WPARAM>(minimum), reinterpret_cast<LPARAM>(maximum));
    return TRUE;
  }
  SCROLLINFO info = infoWith(SIF_RANGE);
  const bool read = getScrollValues(window, bar, info);
  *minimum = read ? info.nMin : 0;
  *maximum = read ? info.nMax : 0;
  return read;
}

HANDHELD_API BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show) {
  if (!ownWindow(window)) return FALSE;
  if (bar == SB_CTL) {
    ShowWindow(window, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return showWindowBars(window, bar, show);
}

HANDHELD_API BOOL WINAPI EnableScrollBar(HWND window, int bar, UINT arrows) {
  if (!ownWindow(window)) return FALSE;
  if (bar == SB_CTL) return static_cast<BOOL>(SendMessageW(window, SBM_ENABLE_ARROWS, arrows, 0));
  if (bar == SB_BOTH) {
    const bool horizontal = enableScrollArrows(window, SB_HORZ, arrows);
    const bool vertical = enableScrollArrows(window, SB_VERT, arrows);
    return horizontal || vertical;
  }
  if (!validBar(bar)) return FALSE;
  return enableScrollArrows(window, bar, arrows);
}
