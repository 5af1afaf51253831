// Setting and reading a bar's values, and the visibility of a window's bars that follows.
#include <cstddef>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/paint_state.h"
#include "user/messages.h"
#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

namespace {

DWORD styleOfBars(int bar) {
  switch (bar) {
    case SB_HORZ: return WS_HSCROLL;
    case SB_VERT: return WS_VSCROLL;
    case SB_BOTH: return WS_HSCROLL | WS_VSCROLL;
    default: return 0;
  }
}

// The full size, or the older one without nTrackPos; only the flags that exist.
bool validInfo(const SCROLLINFO& info) {
  return (info.cbSize == sizeof(SCROLLINFO) || info.cbSize == offsetof(SCROLLINFO, nTrackPos)) &&
         !(info.fMask & ~(SIF_ALL | SIF_DISABLENOSCROLL));
}

}  // namespace

bool showWindowBars(HWND window, int bar, bool show) {
  const DWORD bits = styleOfBars(bar);
  bool topLevel = false;
  RECT client{};
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return false;
    const DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style == w->style) return true;
    w->style = style;
    topLevel = !w->isChild();
    if (!topLevel) {
      if (auto parent = WindowTable::get().find(w->parent)) invalidateParentArea(*parent, w->rect);
    }
    invalidateWithChildren(*w);
    client = clientRect(*w);
  }
  if (topLevel) syncTopLevel(window);
  sendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  return true;
}

std::optional<int> setScrollValues(HWND window, int bar, const SCROLLINFO& info, bool redraw) {
  if (!validInfo(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  int position = 0;
  BarVisibility visibility = BarVisibility::Keep;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return std::nullopt;
    auto& state = scrollBarOf(*w, bar);
    visibility = applyScrollInfo(state, info, bar != SB_CTL);
    position = state.pos;
  }
  if (visibility != BarVisibility::Keep) showWindowBars(window, bar, visibility == BarVisibility::Show);
  if (redraw) redrawBar(window, bar);
  return position;
}

bool getScrollValues(HWND window, int bar, SCROLLINFO& info) {
  if (!validInfo(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  SCROLLINFO values = info;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return false;
    // A window that never had a bar has none to read.
    if (bar != SB_CTL && !w->scrollBars && !(w->style & styleOfBars(bar))) {
      SetLastError(ERROR_NO_SCROLLBARS);
      return false;
    }
    readScrollInfo(scrollBarOf(*w, bar), values);
  }
  if (info.cbSize != sizeof(SCROLLINFO)) values.fMask &= ~SIF_TRACKPOS;
  info.nMin = values.nMin;
  info.nMax = values.nMax;
  info.nPage = values.nPage;
  info.nPos = values.nPos;
  if (values.fMask & SIF_TRACKPOS) info.nTrackPos = values.nTrackPos;
  return true;
}

bool enableScrollArrows(HWND window, int bar, UINT arrows) {
  if (arrows & ~ESB_DISABLE_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  bool changed = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return false;
    auto& state = scrollBarOf(*w, bar);
    changed = state.disabledArrows != arrows;
    state.disabledArrows = arrows;
  }
  if (changed) redrawBar(window, bar);
  return changed;
}

}  // namespace handheld::user
