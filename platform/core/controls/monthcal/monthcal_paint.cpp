// The calendar in the handheld's look: the month and year between two arrow buttons, the
// week-day initials over a line, the days (those of the months around in grey), the selected
// day in the selection colours, today framed, and today's date and "None" at the bottom.
#include "controls/date_format.h"
#include "controls/monthcal/month_calendar.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

void fill(HDC hdc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
}

void frame(HDC hdc, RECT r, int width, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  for (int i = 0; i < width; ++i) {
    FrameRect(hdc, &r, brush);
    InflateRect(&r, -1, -1);
  }
  DeleteObject(brush);
}

void text(HDC hdc, const std::u16string& s, RECT r, UINT format, COLORREF color) {
  SetTextColor(hdc, color);
  DrawTextW(hdc, s.c_str(), static_cast<int>(s.size()), &r, format | DT_SINGLELINE | DT_VCENTER);
}

// A filled triangle pointing left or right in the middle of the button.
void arrow(HDC hdc, const RECT& r, bool left, COLORREF color) {
  const int unit = user::controls::lineWidth();
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, half = 4 * unit;
  const int tip = left ? cx - half / 2 : cx + half / 2, base = left ? cx + half / 2 : cx - half / 2;
  const POINT points[3] = {{tip, cy}, {base, cy - half}, {base, cy + half}};
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
  Polygon(hdc, points, 3);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  DeleteObject(brush);
}

}  // namespace

void paintMonthCalendar(HWND calendar, HDC hdc, const MonthCalendarState& state) {
  HGDIOBJ oldFont = SelectObject(hdc, user::controls::fontOr(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  RECT client;
  GetClientRect(calendar, &client);
  const LONG style = GetWindowLongW(calendar, GWL_STYLE);
  const CalendarLayout l = layoutCalendar(client, metrics.tmHeight, style);
  const int unit = user::controls::lineWidth();
  const bool enabled = IsWindowEnabled(calendar);
  const COLORREF textColor = enabled ? calendarColor(state, MCSC_TEXT) : GetSysColor(COLOR_GRAYTEXT);
  SetBkMode(hdc, TRANSPARENT);

  fill(hdc, client, calendarColor(state, MCSC_BACKGROUND));
  fill(hdc, l.title, calendarColor(state, MCSC_TITLEBK));
  const COLORREF titleText = enabled ? calendarColor(state, MCSC_TITLETEXT) : GetSysColor(COLOR_GRAYTEXT);
  text(hdc, std::u16string(monthName(state.shown.wMonth)) + u" " + segmentText({DateField::Year, 4, {}}, state.shown),
       l.title, DT_CENTER, titleText);
  arrow(hdc, l.previous, true, titleText);
  arrow(hdc, l.next, false, titleText);
  if (state.pressed == CalendarPart::Previous) InvertRect(hdc, &l.previous);
  if (state.pressed == CalendarPart::Next) InvertRect(hdc, &l.next);

  for (int column = 0; column < 7; ++column) {
    RECT head{l.grid.left + column * l.cellWidth, l.heads.top, l.grid.left + (column + 1) * l.cellWidth, l.heads.bottom};
    text(hdc, std::u16string(1, dayName((state.firstDay + 1 + column) % 7)[0]), head, DT_CENTER, textColor);
  }
  RECT rule{l.grid.left, l.heads.bottom - unit, l.grid.right, l.heads.bottom};
  fill(hdc, rule, GetSysColor(COLOR_WINDOWFRAME));

  fill(hdc, l.grid, calendarColor(state, MCSC_MONTHBK));
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 7; ++column) {
      const SYSTEMTIME day = dayAtCell(state, column, row);
      RECT cell{l.grid.left + column * l.cellWidth, l.grid.top + row * l.cellHeight,
                l.grid.left + (column + 1) * l.cellWidth, l.grid.top + (row + 1) * l.cellHeight};
      const bool inMonth = day.wMonth == state.shown.wMonth;
      COLORREF color = inMonth ? textColor : calendarColor(state, MCSC_TRAILINGTEXT);
      if (!state.range.contains(day)) color = GetSysColor(COLOR_GRAYTEXT);
      if (sameDate(day, state.selection)) {
        fill(hdc, cell, GetSysColor(COLOR_HIGHLIGHT));
        color = GetSysColor(COLOR_HIGHLIGHTTEXT);
      }
      if (sameDate(day, state.today) && !(style & MCS_NOTODAYCIRCLE)) frame(hdc, cell, unit, GetSysColor(COLOR_WINDOWFRAME));
      text(hdc, segmentText({DateField::Day, 1, {}}, day), cell, DT_CENTER, color);
      if (state.focused && sameDate(day, state.selection)) {
        RECT focus = cell;
        InflateRect(&focus, -unit, -unit);
        DrawFocusRect(hdc, &focus);
      }
    }
  }

  if (l.bottom.bottom > l.bottom.top) {
    RECT top{l.bottom.left, l.bottom.top, l.bottom.right, l.bottom.top + unit};
    fill(hdc, top, GetSysColor(COLOR_WINDOWFRAME));
  }
  if (!(style & MCS_NOTODAY)) {
    RECT r = l.today;
    r.left += 4 * unit;
    text(hdc, u"Today: " + formatTime(parsePicture(shortDatePicture()), state.today), r, DT_LEFT, textColor);
  }
  if (style & MCS_SHOWNONE) {
    RECT r = l.none;
    if (state.pressed == CalendarPart::None) fill(hdc, r, GetSysColor(COLOR_HIGHLIGHT));
    text(hdc, u"None", r, DT_CENTER,
         state.pressed == CalendarPart::None ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::controls
