// Where a window's scroll bars and a control's bar are, and drawing them.
#include <memory>

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/controls/scrollbar/scroll_paint.h"
#include "user/window.h"

namespace handheld::user {

namespace {

bool insideRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// A window's bar in window coordinates (its top-left corner at 0,0); empty when not shown.
RECT windowBarRect(const Window& window, int bar) {
  const RECT insets = nonClientInsets(window.style, window.exStyle);
  const RECT client = clientRect(window);
  const LONG right = insets.left + client.right;
  const LONG bottom = insets.top + client.bottom;
  if (bar == SB_VERT && (window.style & WS_VSCROLL))
    return {right, insets.top, right + GetSystemMetrics(SM_CXVSCROLL), bottom};
  if (bar == SB_HORZ && (window.style & WS_HSCROLL))
    return {insets.left, bottom, right, bottom + GetSystemMetrics(SM_CYHSCROLL)};
  return {};
}

// The box where both bars meet.
RECT cornerRect(const Window& window) {
  if ((window.style & (WS_VSCROLL | WS_HSCROLL)) != (WS_VSCROLL | WS_HSCROLL)) return {};
  const RECT vertical = windowBarRect(window, SB_VERT);
  const RECT horizontal = windowBarRect(window, SB_HORZ);
  return {vertical.left, horizontal.top, vertical.right, horizontal.bottom};
}

bool isScrollBarControl(const Window& window) {
  return window.scrollBars && window.scrollBars->isControl;
}

}  // namespace

ScrollBarState& scrollBarOf(Window& window, int bar) {
  if (!window.scrollBars) window.scrollBars = std::make_shared<ScrollBars>();
  return *window.scrollBars->find(bar);
}

int scrollBarHitTest(const Window& window, POINT screen) {
  if (!(window.style & (WS_VSCROLL | WS_HSCROLL))) return HTNOWHERE;
  const RECT onScreen = windowRectOnScreen(window);
  const POINT at{screen.x - onScreen.left, screen.y - onScreen.top};
  if (insideRect(windowBarRect(window, SB_VERT), at)) return HTVSCROLL;
  if (insideRect(windowBarRect(window, SB_HORZ), at)) return HTHSCROLL;
  return HTNOWHERE;
}

std::optional<BarPlace> placeOfBar(HWND handle, int bar) {
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(handle);
  if (!w) return std::nullopt;
  BarPlace place;
  RECT rect{};
  bool vertical = bar == SB_VERT;
  if (bar == SB_CTL) {
    if (!isScrollBarControl(*w)) return std::nullopt;
    rect = clientRect(*w);
    vertical = (w->style & SBS_VERT) != 0;
    place.screenOrigin = clientOriginOnScreen(*w);
  } else {
    rect = windowBarRect(*w, bar);
    const RECT onScreen = windowRectOnScreen(*w);
    place.screenOrigin = {onScreen.left, onScreen.top};
  }
  if (rect.right <= rect.left || rect.bottom <= rect.top) return std::nullopt;
  place.state = scrollBarOf(*w, bar);
  place.visible = effectivelyVisible(*w);
  const int thumbAt = place.state.tracking ? place.state.trackPos : place.state.pos;
  place.layout = layoutScrollBar(rect, vertical, place.state, thumbAt);
  return place;
}

void redrawBar(HWND window, int bar) {
  auto place = placeOfBar(window, bar);
  if (!place || !place->visible) return;
  HDC hdc = bar == SB_CTL ? GetDC(window) : GetWindowDC(window);
  if (!hdc) return;
  paintScrollBar(hdc, place->layout, place->state);
  ReleaseDC(window, hdc);
}

void drawWindowScrollBars(HWND window) {
  RECT corner{};
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w || !(w->style & (WS_VSCROLL | WS_HSCROLL)) || !effectivelyVisible(*w)) return;
    corner = cornerRect(*w);
  }
  HDC hdc = GetWindowDC(window);
  if (!hdc) return;
  for (int bar : {SB_VERT, SB_HORZ})
    if (auto place = placeOfBar(window, bar)) paintScrollBar(hdc, place->layout, place->state);
  if (corner.right > corner.left) FillRect(hdc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(window, hdc);
}

}  // namespace handheld::user
