// The picker in the handheld's look: white face, black text (grey while no date is held or
// the control is disabled), the selected field in the selection colours while focused, the
// check box, and a drop-down arrow or two spin arrows in a framed button at the right.
#include <algorithm>

#include "controls/datetime/date_time_picker.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

void frame(HDC hdc, RECT r, int width) {
  for (int i = 0; i < width; ++i) {
    FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
}

void triangle(HDC hdc, int cx, int cy, int half, bool up, COLORREF color) {
  const int tipY = up ? cy - half / 2 : cy + half / 2, baseY = up ? cy + half / 2 : cy - half / 2;
  const POINT points[3] = {{cx, tipY}, {cx - half, baseY}, {cx + half, baseY}};
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
  Polygon(hdc, points, 3);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  DeleteObject(brush);
}

}  // namespace

void paintDateTimePicker(HWND picker, HDC hdc, const DateTimePickerState& state) {
  HGDIOBJ oldFont = SelectObject(hdc, user::controls::fontOr(state.font));
  RECT client;
  GetClientRect(picker, &client);
  FillRect(hdc, &client, GetSysColorBrush(COLOR_WINDOW));
  const std::vector<DateSegment> segments = pickerSegments(picker, state);
  const PickerLayout l = layoutPicker(picker, hdc, state, segments);
  const int unit = user::controls::lineWidth();
  const bool enabled = IsWindowEnabled(picker);
  const LONG style = GetWindowLongW(picker, GWL_STYLE);
  const COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);

  if (style & DTS_SHOWNONE) {
    frame(hdc, l.check, unit);
    if (!state.none) {
      HPEN pen = CreatePen(PS_SOLID, 2 * unit, ink);
      HGDIOBJ oldPen = SelectObject(hdc, pen);
      const POINT tick[3] = {{l.check.left + 2 * unit, l.check.top + 5 * unit},
                             {l.check.left + 4 * unit, l.check.top + 7 * unit},
                             {l.check.left + 8 * unit, l.check.top + 3 * unit}};
      Polyline(hdc, tick, 3);
      SelectObject(hdc, oldPen);
      DeleteObject(pen);
    }
  }

  SetBkMode(hdc, TRANSPARENT);
  for (size_t i = 0; i < segments.size(); ++i) {
    const std::u16string s = segmentText(segments[i], state.value);
    RECT r = l.fields[i];
    r.right = std::min(r.right, l.text.right);  // the button keeps its place
    if (r.left >= r.right) break;
    COLORREF color = state.none ? GetSysColor(COLOR_GRAYTEXT) : ink;
    if (state.focused && !state.none && static_cast<int>(i) == state.field) {
      FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
      color = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SetTextColor(hdc, color);
    DrawTextW(hdc, s.c_str(), static_cast<int>(s.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  }

  RECT button = l.button;
  if (state.calendar) FillRect(hdc, &button, GetSysColorBrush(COLOR_HIGHLIGHT));
  RECT edge{button.left, button.top, button.left + unit, button.bottom};
  FillRect(hdc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
  const int cx = (button.left + button.right) / 2, half = 4 * unit;
  if (style & DTS_UPDOWN) {
    const int middle = (button.top + button.bottom) / 2;
    RECT rule{button.left, middle, button.right, middle + unit};
    FillRect(hdc, &rule, GetSysColorBrush(COLOR_WINDOWFRAME));
    triangle(hdc, cx, (button.top + middle) / 2, half, true, ink);
    triangle(hdc, cx, (middle + button.bottom) / 2, half, false, ink);
  } else {
    triangle(hdc, cx, (button.top + button.bottom) / 2, half, false,
             state.calendar ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink);
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::controls
