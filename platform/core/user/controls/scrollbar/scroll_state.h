// The values of one scroll bar (a window's horizontal or vertical bar, or a scroll-bar
// control's) and how a SCROLLINFO changes them. Read and written under userLock().
#pragma once

#include <windows.h>

namespace handheld::user {

// The part of a bar the stylus holds down.
enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ScrollBarState {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;       // where the thumb is while it is dragged
  bool tracking = false;  // a thumb drag is under way
  UINT disabledArrows = ESB_ENABLE_BOTH;
  ScrollPart pressed = ScrollPart::None;  // drawn held down

  // The highest position: max - max(page - 1, 0), never below min.
  int lastPosition() const;
  bool scrollable() const { return min < lastPosition(); }
  int clampPosition(int position) const;
  bool enabled() const { return disabledArrows != ESB_DISABLE_BOTH; }
};

// A window's bars start with the range 0..100, a control's empty.
struct ScrollBars {
  ScrollBarState horizontal{0, 100};
  ScrollBarState vertical{0, 100};
  ScrollBarState control;
  bool isControl = false;  // the window is a scroll-bar control: SB_CTL is its bar

  // SB_HORZ, SB_VERT or SB_CTL; null for anything else.
  ScrollBarState* find(int bar);
};

// What a SCROLLINFO asks of a window's bar beside its values.
enum class BarVisibility { Keep, Show, Hide };

// Applies the masked fields (the caller has checked cbSize and fMask); a window's bar is
// hidden when nothing is left to scroll, or disabled under SIF_DISABLENOSCROLL.
BarVisibility applyScrollInfo(ScrollBarState& state, const SCROLLINFO& info, bool windowBar);
// Fills the fields fMask asks for.
void readScrollInfo(const ScrollBarState& state, SCROLLINFO& info);

}  // namespace handheld::user
