// Where the parts of a scroll bar are: two arrow boxes at the ends, the track between them
// and the thumb in it, sized to the page and placed at the position.
#pragma once

#include <windows.h>

#include "user/controls/scrollbar/scroll_state.h"

namespace handheld::user {

struct ScrollLayout {
  RECT bar{};
  bool vertical = true;
  RECT lineUp{};
  RECT lineDown{};
  RECT track{};  // between the arrows
  RECT thumb{};  // empty when the bar shows none (nothing to scroll, disabled, no room)

  // Along the bar's axis.
  int trackStart() const { return vertical ? track.top : track.left; }
  int trackLength() const { return vertical ? track.bottom - track.top : track.right - track.left; }
  int thumbStart() const { return vertical ? thumb.top : thumb.left; }
  int thumbLength() const { return vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left; }
};

// `thumbPosition` places the thumb (the position, or the track position during a drag).
ScrollLayout layoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& state,
                             int thumbPosition);
ScrollPart partAt(const ScrollLayout& layout, POINT point);
// The position that puts the thumb's leading edge at `thumbStart` (bar coordinates).
int positionForThumb(const ScrollLayout& layout, const ScrollBarState& state, int thumbStart);
// The SB_ code a part sends when pressed (SB_LINEUP ...); -1 for the thumb and none.
int scrollCodeOf(ScrollPart part);

}  // namespace handheld::user
