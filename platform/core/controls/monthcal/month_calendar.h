// The "SysMonthCal32" class: one month as a grid of days under the week-day heads, today
// marked and named below (unless MCS_NOTODAY), arrow buttons and keys to change the month. A
// tap on a day selects it (MCN_SELCHANGE on the way down, MCN_SELECT on the way up); with
// MCS_SHOWNONE a "None" choice beside today sends MCN_SELECTNONE.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>

#include "controls/date_support.h"

namespace handheld::controls {

// The parts a point can hit.
enum class CalendarPart { Nothing, Previous, Next, Day, Today, None };

struct MonthCalendarState {
  HFONT font = nullptr;
  SYSTEMTIME selection{};
  SYSTEMTIME today{};
  bool todayFixed = false;  // MCM_SETTODAY gave it; otherwise the clock does
  SYSTEMTIME shown{};       // the first of the month on view
  DateRange range;
  int firstDay = 6;  // 0 = Monday ... 6 = Sunday
  bool firstDaySet = false;
  std::array<COLORREF, 6> colors{CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};
  bool focused = false;
  CalendarPart pressed = CalendarPart::Nothing;  // the stylus went down on it, capture held
  // Where notifications go instead of the parent: the date and time picker that dropped the
  // calendar down (a pop-up's parent is its top-level owner).
  HWND notifyTarget = nullptr;
};

// Where everything sits in a client rectangle of that size.
struct CalendarLayout {
  RECT title, previous, next, heads, grid, bottom, today, none;
  int cellWidth, cellHeight;
};

CalendarLayout layoutCalendar(const RECT& client, int lineHeight, LONG style);
// The day at cell (column, row) of the grid for the month on view (days of the months
// around fill the first and last rows).
SYSTEMTIME dayAtCell(const MonthCalendarState& state, int column, int row);
// What lies under a point; `day` gets the day for CalendarPart::Day.
CalendarPart hitCalendar(HWND calendar, const MonthCalendarState& state, POINT point, SYSTEMTIME& day);
// The smallest size that shows everything (MCM_GETMINREQRECT).
SIZE calendarMinimumSize(HWND calendar, const MonthCalendarState& state);
COLORREF calendarColor(const MonthCalendarState& state, int index);

// WM_NOTIFY to the notification target, or else the parent.
void notifyCalendarOwner(HWND calendar, const MonthCalendarState& state, NMHDR& header, UINT code);

WNDCLASSW monthCalendarClass();
void paintMonthCalendar(HWND calendar, HDC hdc, const MonthCalendarState& state);

}  // namespace handheld::controls
