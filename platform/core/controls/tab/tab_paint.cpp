// The tabs in the handheld's look: the selected tab white and open towards the page, the
// others grey, black one-line frames, the focus as a dotted frame on the focused tab.
#include "controls/tab/tab.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

void fill(HDC hdc, RECT r, int colorIndex) { FillRect(hdc, &r, GetSysColorBrush(colorIndex)); }

// The lines of a tab except the one towards the page.
void outline(HDC hdc, RECT r, bool bottom, int unit) {
  fill(hdc, {r.left, r.top, r.left + unit, r.bottom}, COLOR_WINDOWFRAME);
  fill(hdc, {r.right - unit, r.top, r.right, r.bottom}, COLOR_WINDOWFRAME);
  if (bottom)
    fill(hdc, {r.left, r.bottom - unit, r.right, r.bottom}, COLOR_WINDOWFRAME);
  else
    fill(hdc, {r.left, r.top, r.right, r.top + unit}, COLOR_WINDOWFRAME);
}

}  // namespace

void paintTabs(HWND tab, HDC hdc, const TabState& state) {
  RECT client{};
  GetClientRect(tab, &client);
  HBRUSH background = controlColors(tab, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &client, background);
  const bool bottom = GetWindowLongW(tab, GWL_STYLE) & TCS_BOTTOM;
  const int unit = lineWidth();
  const int row = tabRowHeight(state);
  // The line between the page and the row, broken by the selected tab.
  const LONG edge = bottom ? client.bottom - row : client.top + row - unit;
  fill(hdc, {client.left, edge, client.right, edge + unit}, COLOR_WINDOWFRAME);

  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  SetBkMode(hdc, TRANSPARENT);
  const bool enabled = IsWindowEnabled(tab);
  const auto rects = tabRects(tab, state);
  for (size_t i = 0; i < rects.size(); ++i) {
    const bool selected = static_cast<int>(i) == state.selected;
    RECT r = rects[i];
    fill(hdc, r, selected ? COLOR_WINDOW : COLOR_BTNFACE);
    outline(hdc, r, bottom, unit);
    if (!selected) fill(hdc, {r.left, edge, r.right, edge + unit}, COLOR_WINDOWFRAME);
    RECT inner = r;
    InflateRect(&inner, -2 * unit, -unit);
    const auto& item = state.items[i];
    int imageWidth = 0, imageHeight = 0;
    if (item.image >= 0 && state.images && ImageList_GetIconSize(state.images, &imageWidth, &imageHeight)) {
      ImageList_Draw(state.images, item.image, hdc, inner.left + unit,
                     inner.top + (inner.bottom - inner.top - imageHeight) / 2, ILD_TRANSPARENT);
      inner.left += imageWidth + 2 * unit;
    }
    SetTextColor(hdc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(hdc, item.text.c_str(), static_cast<int>(item.text.size()), &inner,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    if (state.focused && static_cast<int>(i) == state.focusItem) {
      RECT focus = r;
      InflateRect(&focus, -2 * unit, -2 * unit);
      DrawFocusRect(hdc, &focus);
    }
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::controls
