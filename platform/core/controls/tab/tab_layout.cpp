// The row of tabs: each as wide as its text and image (all as wide as the widest with
// TCS_FIXEDWIDTH), from the left edge, along the top or the bottom.
#include <algorithm>

#include "controls/tab/tab.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;

namespace {

LONG styleOf(HWND tab) { return GetWindowLongW(tab, GWL_STYLE); }

int padding() { return 3 * lineWidth(); }

SIZE imageSize(const TabState& state) {
  int cx = 0, cy = 0;
  if (!state.images || !ImageList_GetIconSize(state.images, &cx, &cy)) return {0, 0};
  return {cx, cy};
}

int textHeight(HFONT font) {
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, fontOr(font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return metrics.tmHeight;
}

std::vector<int> widths(const TabState& state, bool fixed) {
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, fontOr(state.font));
  const SIZE image = imageSize(state);
  std::vector<int> result;
  for (const auto& item : state.items) {
    SIZE extent{};
    GetTextExtentPoint32W(hdc, item.text.c_str(), static_cast<int>(item.text.size()), &extent);
    int width = extent.cx + 4 * padding();
    if (item.image >= 0 && image.cx > 0) width += image.cx + padding();
    result.push_back(width);
  }
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  if (fixed && !result.empty()) {
    const int widest = *std::max_element(result.begin(), result.end());
    std::fill(result.begin(), result.end(), widest);
  }
  return result;
}

}  // namespace

int tabRowHeight(const TabState& state) {
  return std::max<int>(textHeight(state.font), imageSize(state).cy) + 2 * padding();
}

std::vector<RECT> tabRects(HWND tab, const TabState& state) {
  RECT client{};
  GetClientRect(tab, &client);
  const LONG style = styleOf(tab);
  const int height = tabRowHeight(state);
  const bool bottom = style & TCS_BOTTOM;
  const LONG top = bottom ? client.bottom - height : client.top;
  std::vector<RECT> rects;
  LONG x = client.left;
  for (int width : widths(state, style & TCS_FIXEDWIDTH)) {
    rects.push_back({x, top, x + width, top + height});
    x += width;
  }
  return rects;
}

int tabHitTest(HWND tab, const TabState& state, POINT at, UINT* flags) {
  const auto rects = tabRects(tab, state);
  for (size_t i = 0; i < rects.size(); ++i) {
    if (PtInRect(&rects[i], at)) {
      if (flags) {
        const SIZE image = imageSize(state);
        const bool onImage = state.items[i].image >= 0 && image.cx > 0 &&
                             at.x < rects[i].left + 2 * padding() + image.cx;
        *flags = onImage ? TCHT_ONITEMICON : TCHT_ONITEMLABEL;
      }
      return static_cast<int>(i);
    }
  }
  if (flags) *flags = TCHT_NOWHERE;
  return -1;
}

void adjustTabRect(HWND tab, const TabState& state, bool larger, RECT& r) {
  const int row = tabRowHeight(state);
  const int border = lineWidth();
  const int sign = larger ? -1 : 1;
  if (styleOf(tab) & TCS_BOTTOM)
    r.bottom -= sign * row;
  else
    r.top += sign * row;
  InflateRect(&r, -sign * border, -sign * border);
}

}  // namespace handheld::controls
