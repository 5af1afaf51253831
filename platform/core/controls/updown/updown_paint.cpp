// Two framed arrow buttons, stacked (or side by side with UDS_HORZ); the held one in the
// selection colours.
#include <algorithm>

#include "controls/updown/up_down.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

// An arrow button: `direction` 0 up, 1 down, 2 left, 3 right.
void arrowButton(HDC hdc, RECT r, int direction, bool pressed, bool enabled) {
  const int unit = user::controls::lineWidth();
  FillRect(hdc, &r, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT edge = r;
  for (int i = 0; i < unit; ++i) {
    FrameRect(hdc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&edge, -1, -1);
  }
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const int half = std::max(2 * unit, std::min<int>(r.right - r.left, r.bottom - r.top) / 4);
  POINT points[3];
  switch (direction) {
    case 0: points[0] = {cx, cy - half / 2}; points[1] = {cx - half, cy + half / 2}; points[2] = {cx + half, cy + half / 2}; break;
    case 1: points[0] = {cx, cy + half / 2}; points[1] = {cx - half, cy - half / 2}; points[2] = {cx + half, cy - half / 2}; break;
    case 2: points[0] = {cx - half / 2, cy}; points[1] = {cx + half / 2, cy - half}; points[2] = {cx + half / 2, cy + half}; break;
    default: points[0] = {cx + half / 2, cy}; points[1] = {cx - half / 2, cy - half}; points[2] = {cx - half / 2, cy + half}; break;
  }
  const int ink = !enabled ? COLOR_GRAYTEXT : pressed ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
  HGDIOBJ oldBrush = SelectObject(hdc, GetSysColorBrush(ink));
  HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
  Polygon(hdc, points, 3);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
}

}  // namespace

void paintUpDown(HWND upDown, HDC hdc, const UpDownState& state) {
  RECT client;
  GetClientRect(upDown, &client);
  const bool enabled = IsWindowEnabled(upDown);
  const bool upHeld = state.pressed > 0 && state.pressedInside, downHeld = state.pressed < 0 && state.pressedInside;
  if (GetWindowLongW(upDown, GWL_STYLE) & UDS_HORZ) {
    const int middle = client.right / 2;
    arrowButton(hdc, {client.left, client.top, middle, client.bottom}, 2, downHeld, enabled);
    arrowButton(hdc, {middle, client.top, client.right, client.bottom}, 3, upHeld, enabled);
  } else {
    const int middle = client.bottom / 2;
    arrowButton(hdc, {client.left, client.top, client.right, middle}, 0, upHeld, enabled);
    arrowButton(hdc, {client.left, middle, client.right, client.bottom}, 1, downHeld, enabled);
  }
}

}  // namespace handheld::controls
