#include "user/controls/scrollbar/scroll_paint.h"

#include <algorithm>

namespace handheld::user {

namespace {

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void fill(HDC hdc, RECT r, int color) {
  if (!isEmpty(r)) FillRect(hdc, &r, GetSysColorBrush(color));
}

// Outlines are a border wide: doubled on a VGA screen.
int line() { return GetSystemMetrics(SM_CXBORDER); }

// An outlined box: the frame colour around `face`.
void box(HDC hdc, const RECT& r, int face) {
  if (isEmpty(r)) return;
  const int b = line();
  fill(hdc, r, COLOR_WINDOWFRAME);
  fill(hdc, RECT{r.left + b, r.top + b, r.right - b, r.bottom - b}, face);
}

// A solid triangle pointing away from the track, drawn row by row so that it stays sharp.
void arrowGlyph(HDC hdc, const RECT& r, bool vertical, bool towardStart, int color) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int depth = std::max(1, std::min(width, height) / 4);
  const int cx = r.left + width / 2;
  const int cy = r.top + height / 2;
  HBRUSH brush = GetSysColorBrush(color);
  for (int i = 0; i < depth; ++i) {
    // Row i is 2i+1 pixels wide, the tip at row 0.
    const int along = towardStart ? i : depth - 1 - i;
    RECT row;
    if (vertical) {
      const int y = cy - depth / 2 + along;
      row = {cx - i, y, cx + i + 1, y + 1};
    } else {
      const int x = cx - depth / 2 + along;
      row = {x, cy - i, x + 1, cy + i + 1};
    }
    FillRect(hdc, &row, brush);
  }
}

void arrowBox(HDC hdc, const RECT& r, bool vertical, bool towardStart, bool pressed, bool enabled) {
  box(hdc, r, pressed ? COLOR_BTNTEXT : COLOR_BTNFACE);
  const int glyph = !enabled ? COLOR_GRAYTEXT : pressed ? COLOR_BTNFACE : COLOR_BTNTEXT;
  arrowGlyph(hdc, r, vertical, towardStart, glyph);
}

}  // namespace

void paintScrollBar(HDC hdc, const ScrollLayout& layout, const ScrollBarState& state) {
  const ScrollPart pressed = state.pressed;
  const bool vertical = layout.vertical;
  const bool upEnabled = state.enabled() && state.scrollable() && !(state.disabledArrows & ESB_DISABLE_LTUP);
  const bool downEnabled = state.enabled() && state.scrollable() && !(state.disabledArrows & ESB_DISABLE_RTDN);
  arrowBox(hdc, layout.lineUp, vertical, true, pressed == ScrollPart::LineUp, upEnabled);
  arrowBox(hdc, layout.lineDown, vertical, false, pressed == ScrollPart::LineDown, downEnabled);

  // The track, outlined on its long sides so that it joins the arrow boxes.
  RECT track = layout.track;
  if (isEmpty(track)) return;
  fill(hdc, track, COLOR_WINDOWFRAME);
  const int b = line();
  RECT inner = vertical ? RECT{track.left + b, track.top, track.right - b, track.bottom}
                        : RECT{track.left, track.top + b, track.right, track.bottom - b};
  fill(hdc, inner, COLOR_3DLIGHT);  // lighter than the thumb's face, which stands out on it
  if (isEmpty(layout.thumb)) return;
  if (pressed == ScrollPart::PageUp || pressed == ScrollPart::PageDown) {
    RECT paged = inner;
    if (pressed == ScrollPart::PageUp) {
      (vertical ? paged.bottom : paged.right) = layout.thumbStart();
    } else {
      (vertical ? paged.top : paged.left) = layout.thumbStart() + layout.thumbLength();
    }
    fill(hdc, paged, COLOR_BTNSHADOW);
  }
  box(hdc, layout.thumb, COLOR_BTNFACE);
}

}  // namespace handheld::user
