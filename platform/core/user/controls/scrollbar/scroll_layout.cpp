#include "user/controls/scrollbar/scroll_layout.h"

#include <algorithm>
#include <cstdint>

namespace handheld::user {

namespace {

bool inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// A span along the axis turned into a rectangle across the whole bar.
RECT span(const RECT& bar, bool vertical, int from, int to) {
  return vertical ? RECT{bar.left, from, bar.right, to} : RECT{from, bar.top, to, bar.bottom};
}

}  // namespace

ScrollLayout layoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& state,
                             int thumbPosition) {
  ScrollLayout layout;
  layout.bar = bar;
  layout.vertical = vertical;
  const int start = vertical ? bar.top : bar.left;
  const int end = vertical ? bar.bottom : bar.right;
  const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  const int length = std::max(0, end - start);
  // Square arrow boxes, sharing a bar too short for both.
  const int arrow = std::clamp(thickness, 0, length / 2);
  layout.lineUp = span(bar, vertical, start, start + arrow);
  layout.lineDown = span(bar, vertical, end - arrow, end);
  layout.track = span(bar, vertical, start + arrow, end - arrow);

  const int trackLength = layout.trackLength();
  if (!state.scrollable() || !state.enabled()) return layout;
  const int64_t range = int64_t{state.max} - state.min + 1;
  int64_t thumb = state.page ? int64_t{trackLength} * state.page / range : thickness;
  thumb = std::max<int64_t>(thumb, GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB) / 2);
  if (thumb >= trackLength) return layout;
  const int64_t travel = int64_t{state.lastPosition()} - state.min;
  const int64_t offset =
      (trackLength - thumb) * (int64_t{state.clampPosition(thumbPosition)} - state.min) / travel;
  const int thumbStart = layout.trackStart() + static_cast<int>(offset);
  layout.thumb = span(bar, vertical, thumbStart, thumbStart + static_cast<int>(thumb));
  return layout;
}

ScrollPart partAt(const ScrollLayout& layout, POINT point) {
  if (!inside(layout.bar, point)) return ScrollPart::None;
  if (inside(layout.lineUp, point)) return ScrollPart::LineUp;
  if (inside(layout.lineDown, point)) return ScrollPart::LineDown;
  if (!inside(layout.track, point)) return ScrollPart::None;
  if (layout.thumbLength() == 0) return ScrollPart::None;  // a track without a thumb is inert
  const int along = layout.vertical ? point.y : point.x;
  if (along < layout.thumbStart()) return ScrollPart::PageUp;
  if (along >= layout.thumbStart() + layout.thumbLength()) return ScrollPart::PageDown;
  return ScrollPart::Thumb;
}

int positionForThumb(const ScrollLayout& layout, const ScrollBarState& state, int thumbStart) {
  const int room = layout.trackLength() - layout.thumbLength();
  if (room <= 0) return state.pos;
  const int64_t offset = std::clamp(thumbStart - layout.trackStart(), 0, room);
  const int64_t travel = int64_t{state.lastPosition()} - state.min;
  // Rounded to the nearest position.
  return state.min + static_cast<int>((offset * travel + room / 2) / room);
}

int scrollCodeOf(ScrollPart part) {
  switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    default: return -1;
  }
}

}  // namespace handheld::user
