// One row of buttons from the left: an image button as wide as its image and a border, a
// text button as wide as its text, a separator its iBitmap pixels (or the default gap).
#include <algorithm>

#include "controls/toolbar/toolbar.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;

namespace {

int pad() { return 3 * lineWidth(); }
int separatorWidth() { return 8 * lineWidth(); }

bool hasImage(const ToolbarState& state, const ToolbarButton& b) {
  return state.images && b.image >= 0;
}

// Text widths and the font's height, measured on a DC that draws nothing.
struct Measure {
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old;
  explicit Measure(HFONT font) : old(SelectObject(hdc, fontOr(font))) {}
  ~Measure() {
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
  }
  int width(const std::u16string& text) const {
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
  }
  int height() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    return metrics.tmHeight;
  }
};

int rowHeight(const ToolbarState& state, const Measure& measure) {
  if (state.buttonSize.cy > 0) return state.buttonSize.cy;
  return std::max<int>(state.bitmapSize.cy, measure.height()) + 2 * pad();
}

int widthOf(const ToolbarState& state, const ToolbarButton& b, const Measure& measure) {
  if (b.style & TBSTYLE_SEP) return b.image > 0 ? b.image : separatorWidth();
  if (b.width > 0) return b.width;
  int content = hasImage(state, b) ? state.bitmapSize.cx : 0;
  if (!b.text.empty()) content += measure.width(b.text) + (content ? pad() : 0);
  const int measured = content + 2 * pad();
  return std::max<int>(measured, b.text.empty() ? state.buttonSize.cx : 0);
}

}  // namespace

std::vector<RECT> buttonRects(const ToolbarState& state) {
  Measure measure(state.font);
  const int height = rowHeight(state, measure);
  const int top = lineWidth();
  std::vector<RECT> rects;
  int x = 0;
  for (const auto& b : state.buttons) {
    if (b.state & TBSTATE_HIDDEN) {
      rects.push_back({x, top, x, top});
      continue;
    }
    const int width = widthOf(state, b, measure);
    rects.push_back({x, top, x + width, top + height});
    x += width;
  }
  return rects;
}

SIZE rowSize(const ToolbarState& state) {
  Measure measure(state.font);
  const auto rects = buttonRects(state);
  return {rects.empty() ? 0 : rects.back().right, rowHeight(state, measure) + 2 * lineWidth()};
}

int buttonAt(const ToolbarState& state, POINT at) {
  const auto rects = buttonRects(state);
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], at) && !(state.buttons[i].style & TBSTYLE_SEP)) return static_cast<int>(i);
  return -1;
}

void autoSize(HWND toolbar, const ToolbarState& state) {
  const LONG style = GetWindowLongW(toolbar, GWL_STYLE);
  if (style & CCS_NORESIZE) return;
  HWND parent = GetParent(toolbar);
  RECT area{};
  if (parent) GetClientRect(parent, &area);
  const int height = rowSize(state).cy;
  if (style & CCS_NOPARENTALIGN || !parent) {
    SetWindowPos(toolbar, nullptr, 0, 0, rowSize(state).cx, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const bool bottom = (style & CCS_BOTTOM) == CCS_BOTTOM;
  SetWindowPos(toolbar, nullptr, 0, bottom ? area.bottom - height : 0, area.right, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace handheld::controls
