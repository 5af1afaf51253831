// Scroll bars of windows (SB_HORZ, SB_VERT: in the non-client area, shown while the style
// has WS_HSCROLL / WS_VSCROLL) and of scroll-bar controls (SB_CTL: the whole client area).
// Called without the lock unless said otherwise.
#pragma once

#include <windows.h>

#include <optional>

#include "user/controls/scrollbar/scroll_layout.h"
#include "user/window.h"

namespace handheld::user {

// Under the lock: the window's bar values, made on first use.
ScrollBarState& scrollBarOf(Window& window, int bar);
// Under the lock: which scroll bar of the window (HTVSCROLL, HTHSCROLL) is at a screen
// point; HTNOWHERE when none.
int scrollBarHitTest(const Window& window, POINT screen);

// A bar as drawn: its rectangle in the coordinates of the DC that draws it (the window DC
// for a window's bar, the client DC for a control) and that DC's origin on the screen.
struct BarPlace {
  ScrollLayout layout;
  ScrollBarState state;
  POINT screenOrigin{};
  bool visible = false;  // the window and its parents are shown: drawing would be seen
};
// Nullopt when the window is gone or the bar is not shown.
std::optional<BarPlace> placeOfBar(HWND window, int bar);
void redrawBar(HWND window, int bar);
// Every shown bar of a window (from BeginPaint: the frame is drawn with the client area).
void drawWindowScrollBars(HWND window);

// The values of a bar of any kind; the SCROLLINFO is checked. redraw draws the bar again.
// The new position; nullopt with the error set on failure.
std::optional<int> setScrollValues(HWND window, int bar, const SCROLLINFO& info, bool redraw);
bool getScrollValues(HWND window, int bar, SCROLLINFO& info);
// FALSE when the arrows already were so.
bool enableScrollArrows(HWND window, int bar, UINT arrows);
// Shows or hides a window's bars (SB_HORZ, SB_VERT, SB_BOTH) through its style; a changed
// client area is painted again and reported with WM_SIZE. False for a window that is gone.
bool showWindowBars(HWND window, int bar, bool show);

// Follows the stylus pressed on a bar at a screen point until it is lifted, sending
// WM_VSCROLL / WM_HSCROLL (to the window itself, or to a control's parent with the control's
// handle) and repeating held arrows and track presses on a timer.
void trackScrollBar(HWND window, int bar, POINT screen);

// The "SCROLLBAR" class, registered as one of the platform's own.
WNDCLASSW scrollBarClass();

}  // namespace handheld::user
