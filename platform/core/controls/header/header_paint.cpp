// Column headings in the handheld's look: button faces with a black line under them and
// between them, the pressed heading in the selection colours, sort arrows at the right.
#include <algorithm>

#include "controls/header/header.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;

namespace {

// A solid triangle of `rows` lines, pointing up or down, its widest line 2 * rows - 1 wide.
void drawArrow(HDC hdc, int centreX, int top, int rows, bool up, HBRUSH brush) {
  for (int row = 0; row < rows; ++row) {
    const int half = up ? row : rows - 1 - row;
    RECT line{centreX - half, top + row, centreX + half + 1, top + row + 1};
    FillRect(hdc, &line, brush);
  }
}

}  // namespace

int headerHeight(HWND header, const HeaderState& state) {
  if (GetWindowLongW(header, GWL_STYLE) & HDS_HIDDEN) return 0;
  HDC hdc = GetDC(header);
  HGDIOBJ old = SelectObject(hdc, fontOr(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(header, hdc);
  return metrics.tmHeight + 4 * lineWidth();
}

RECT headerItemRect(HWND header, const HeaderState& state, int index) {
  RECT client;
  GetClientRect(header, &client);
  int left = 0;
  for (int i = 0; i < index; ++i) left += state.items[static_cast<size_t>(i)].width;
  return {left, 0, left + state.items[static_cast<size_t>(index)].width, client.bottom};
}

void paintHeader(HWND header, HDC hdc, const HeaderState& state) {
  RECT client;
  GetClientRect(header, &client);
  const int unit = lineWidth();
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(hdc, TRANSPARENT);
  HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
  for (size_t i = 0; i < state.items.size(); ++i) {
    const HeaderItem& item = state.items[i];
    RECT cell = headerItemRect(header, state, static_cast<int>(i));
    const bool pressed = static_cast<int>(i) == state.pressed && state.stylusOnPressed;
    if (pressed) FillRect(hdc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF textColor = pressed ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_BTNTEXT);
    RECT label{cell.left + 3 * unit, cell.top, cell.right - 3 * unit, cell.bottom - unit};
    const int arrowRows = 4 * unit;
    const bool sorted = (item.format & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
    if (sorted) label.right -= 2 * arrowRows + 2 * unit;
    SetTextColor(hdc, IsWindowEnabled(header) ? textColor : GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if ((item.format & HDF_JUSTIFYMASK) == HDF_RIGHT) format |= DT_RIGHT;
    if ((item.format & HDF_JUSTIFYMASK) == HDF_CENTER) format |= DT_CENTER;
    if (label.right > label.left)
      DrawTextW(hdc, item.text.c_str(), static_cast<int>(item.text.size()), &label, format);
    if (sorted && cell.right - cell.left > 2 * arrowRows + 4 * unit) {
      HBRUSH arrow = CreateSolidBrush(textColor);
      const int top = cell.top + (cell.bottom - unit - cell.top - arrowRows) / 2;
      drawArrow(hdc, cell.right - 3 * unit - arrowRows, top, arrowRows, (item.format & HDF_SORTUP) != 0, arrow);
      DeleteObject(arrow);
    }
    RECT divider{cell.right - unit, cell.top, cell.right, cell.bottom};
    FillRect(hdc, &divider, frame);
  }
  RECT bottom{client.left, client.bottom - unit, client.right, client.bottom};
  FillRect(hdc, &bottom, frame);
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::controls
