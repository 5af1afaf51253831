// The calendar's geometry, shared by painting and the stylus.
#include <algorithm>

#include "controls/monthcal/month_calendar.h"
#include "kernel/time_convert.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

int textHeight(HWND calendar, const MonthCalendarState& state) {
  HDC hdc = GetDC(calendar);
  HGDIOBJ old = SelectObject(hdc, user::controls::fontOr(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(calendar, hdc);
  return metrics.tmHeight > 0 ? metrics.tmHeight : 13;
}

bool hasBottom(LONG style) { return !(style & MCS_NOTODAY) || (style & MCS_SHOWNONE); }

}  // namespace

CalendarLayout layoutCalendar(const RECT& client, int lineHeight, LONG style) {
  const int unit = user::controls::lineWidth();
  const int width = client.right - client.left;
  CalendarLayout l{};
  const int titleHeight = lineHeight + 4 * unit;
  l.title = {client.left, client.top, client.right, client.top + titleHeight};
  l.previous = {client.left, client.top, client.left + titleHeight, client.top + titleHeight};
  l.next = {client.right - titleHeight, client.top, client.right, client.top + titleHeight};
  l.heads = {client.left, l.title.bottom, client.right, l.title.bottom + lineHeight + 2 * unit};
  const int bottomHeight = hasBottom(style) ? lineHeight + 4 * unit : 0;
  l.bottom = {client.left, client.bottom - bottomHeight, client.right, client.bottom};
  l.cellWidth = std::max(1, width / 7);
  l.cellHeight = std::max(1, static_cast<int>(l.bottom.top - l.heads.bottom) / 6);
  const int gridLeft = client.left + (width - 7 * l.cellWidth) / 2;
  l.grid = {gridLeft, l.heads.bottom, gridLeft + 7 * l.cellWidth, l.heads.bottom + 6 * l.cellHeight};
  l.heads.left = l.grid.left;
  l.heads.right = l.grid.right;
  l.today = l.none = l.bottom;
  if (style & MCS_SHOWNONE) {
    l.none.left = l.bottom.right - std::max(width / 4, 1);
    l.today.right = l.none.left;
  } else {
    l.none = {};
  }
  if (style & MCS_NOTODAY) l.today = {};
  return l;
}

SYSTEMTIME dayAtCell(const MonthCalendarState& state, int column, int row) {
  const int sundayBased = (state.firstDay + 1) % 7;
  const int first = kernel::dayOfWeek(state.shown.wYear, state.shown.wMonth, 1);
  const int lead = (first - sundayBased + 7) % 7;
  SYSTEMTIME start = dateOnly(state.shown);
  start.wDay = 1;
  return addDays(start, row * 7 + column - lead);
}

CalendarPart hitCalendar(HWND calendar, const MonthCalendarState& state, POINT point, SYSTEMTIME& day) {
  RECT client;
  GetClientRect(calendar, &client);
  const LONG style = GetWindowLongW(calendar, GWL_STYLE);
  const CalendarLayout l = layoutCalendar(client, textHeight(calendar, state), style);
  if (PtInRect(&l.previous, point)) return CalendarPart::Previous;
  if (PtInRect(&l.next, point)) return CalendarPart::Next;
  if (PtInRect(&l.grid, point)) {
    day = dayAtCell(state, (point.x - l.grid.left) / l.cellWidth, (point.y - l.grid.top) / l.cellHeight);
    return CalendarPart::Day;
  }
  if (PtInRect(&l.none, point)) return CalendarPart::None;
  if (PtInRect(&l.today, point)) return CalendarPart::Today;
  return CalendarPart::Nothing;
}

SIZE calendarMinimumSize(HWND calendar, const MonthCalendarState& state) {
  const int line = textHeight(calendar, state);
  const int unit = user::controls::lineWidth();
  HDC hdc = GetDC(calendar);
  HGDIOBJ old = SelectObject(hdc, user::controls::fontOr(state.font));
  SIZE digits{};
  GetTextExtentPoint32W(hdc, u"30", 2, &digits);
  SelectObject(hdc, old);
  ReleaseDC(calendar, hdc);
  const LONG style = GetWindowLongW(calendar, GWL_STYLE);
  const int cellWidth = digits.cx + 6 * unit, cellHeight = line + 2 * unit;
  const int height = (line + 4 * unit) + (line + 2 * unit) + 6 * cellHeight + (hasBottom(style) ? line + 4 * unit : 0);
  return {7 * cellWidth, height};
}

COLORREF calendarColor(const MonthCalendarState& state, int index) {
  static constexpr int kSystem[6] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_WINDOW, COLOR_GRAYTEXT};
  const COLORREF set = state.colors[static_cast<size_t>(index)];
  return set == CLR_DEFAULT ? GetSysColor(kSystem[index]) : set;
}

}  // namespace handheld::controls
