// The calendar's window procedure: selection, today, range, month navigation, stylus, keys
// and notifications.
#include "controls/monthcal/month_calendar.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

using user::controls::attachState;
using user::controls::detachState;
using user::controls::stateOf;

constexpr int kSunday = 6;  // the first day of the week unless the program sets another

void redraw(HWND calendar) { InvalidateRect(calendar, nullptr, FALSE); }

void refreshToday(MonthCalendarState& state) {
  if (!state.todayFixed) state.today = dateOnly(localNow());
}

void show(MonthCalendarState& state, const SYSTEMTIME& day) {
  state.shown = dateOnly(day);
  state.shown.wDay = 1;
}

// Tells the parent about the selection; the state is read again afterwards by the caller.
void notifySelection(HWND calendar, const MonthCalendarState& state, UINT code) {
  NMSELCHANGE change{};
  change.stSelStart = change.stSelEnd = state.selection;
  notifyCalendarOwner(calendar, state, change.nmhdr, code);
}

// Moves the selection where the user asked, within the range; MCN_SELCHANGE when it moved.
void select(HWND calendar, MonthCalendarState& state, const SYSTEMTIME& day) {
  const SYSTEMTIME chosen = state.range.clamp(dateOnly(day));
  show(state, chosen);
  redraw(calendar);
  if (sameDate(chosen, state.selection)) return;
  state.selection = chosen;
  notifySelection(calendar, state, MCN_SELCHANGE);
}

void keyDown(HWND calendar, MonthCalendarState& state, WPARAM key) {
  const SYSTEMTIME& s = state.selection;
  switch (key) {
    case VK_LEFT: select(calendar, state, addDays(s, -1)); break;
    case VK_RIGHT: select(calendar, state, addDays(s, 1)); break;
    case VK_UP: select(calendar, state, addDays(s, -7)); break;
    case VK_DOWN: select(calendar, state, addDays(s, 7)); break;
    case VK_PRIOR: select(calendar, state, addMonths(s, -1)); break;
    case VK_NEXT: select(calendar, state, addMonths(s, 1)); break;
    case VK_HOME: select(calendar, state, addDays(s, 1 - s.wDay)); break;
    case VK_END: select(calendar, state, addDays(addMonths(addDays(s, 1 - s.wDay), 1), -1)); break;
    case VK_RETURN: notifySelection(calendar, state, MCN_SELECT); break;
    default: break;
  }
}

void buttonDown(HWND calendar, POINT point) {
  SetFocus(calendar);
  auto* state = stateOf<MonthCalendarState>(calendar);  // the focus notification may have ended it
  if (!state) return;
  SYSTEMTIME day{};
  const CalendarPart part = hitCalendar(calendar, *state, point, day);
  if (part == CalendarPart::Nothing) return;
  if (part == CalendarPart::Day && !state->range.contains(day)) return;
  SetCapture(calendar);
  state->pressed = part;
  redraw(calendar);
  switch (part) {
    case CalendarPart::Previous: select(calendar, *state, addMonths(state->selection, -1)); break;
    case CalendarPart::Next: select(calendar, *state, addMonths(state->selection, 1)); break;
    case CalendarPart::Day: select(calendar, *state, day); break;
    default: break;
  }
}

void buttonUp(HWND calendar, MonthCalendarState& state, POINT point) {
  const CalendarPart pressed = state.pressed;
  if (pressed == CalendarPart::Nothing) return;
  state.pressed = CalendarPart::Nothing;
  ReleaseCapture();
  redraw(calendar);
  SYSTEMTIME day{};
  const CalendarPart released = hitCalendar(calendar, state, point, day);
  switch (pressed) {
    case CalendarPart::Day: notifySelection(calendar, state, MCN_SELECT); break;
    case CalendarPart::Today:
      if (released != CalendarPart::Today) break;
      refreshToday(state);
      select(calendar, state, state.today);
      if (auto* again = stateOf<MonthCalendarState>(calendar)) notifySelection(calendar, *again, MCN_SELECT);
      break;
    case CalendarPart::None:
      if (released == CalendarPart::None) {
        NMSELCHANGE none{};
        notifyCalendarOwner(calendar, state, none.nmhdr, MCN_SELECTNONE);
      }
      break;
    default: break;
  }
}

LRESULT setSelection(HWND calendar, MonthCalendarState& state, LPARAM lParam) {
  auto day = checkedTime(reinterpret_cast<const SYSTEMTIME*>(lParam));
  if (!day || !state.range.contains(dateOnly(*day))) return FALSE;
  state.selection = dateOnly(*day);
  show(state, state.selection);
  redraw(calendar);
  return TRUE;
}

LRESULT copyTime(const SYSTEMTIME& time, LPARAM lParam) {
  auto* out = reinterpret_cast<SYSTEMTIME*>(lParam);
  if (!out) return FALSE;
  *out = time;
  return TRUE;
}

LRESULT setFirstDay(HWND calendar, MonthCalendarState& state, LPARAM lParam) {
  const LRESULT previous = MAKELONG(state.firstDay, state.firstDaySet ? 1 : 0);
  const int day = static_cast<int>(lParam);
  if (day == -1) {
    state.firstDay = kSunday;
    state.firstDaySet = false;
  } else if (day >= 0 && day <= 6) {
    state.firstDay = day;
    state.firstDaySet = day != kSunday;
  }
  redraw(calendar);
  return previous;
}

void describe(HWND calendar, const MonthCalendarState& state, nlohmann::json& out) {
  out["selection"] = isoDate(state.selection);
  out["month"] = isoMonth(state.shown);
  out["today"] = isoDate(state.today);
  out["none"] = (GetWindowLongW(calendar, GWL_STYLE) & MCS_SHOWNONE) != 0;
}

LRESULT paint(HWND calendar, MonthCalendarState& state) {
  refreshToday(state);
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(calendar, &ps);
  if (hdc) paintMonthCalendar(calendar, hdc, state);
  EndPaint(calendar, &ps);
  return 0;
}

LRESULT CALLBACK monthCalendarProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = attachState<MonthCalendarState>(calendar);
    refreshToday(*created);
    created->selection = created->today;
    show(*created, created->today);
  }
  auto* state = stateOf<MonthCalendarState>(calendar);
  if (!state) return DefWindowProcW(calendar, message, wParam, lParam);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCDESTROY:
      detachState<MonthCalendarState>(calendar);
      return DefWindowProcW(calendar, message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_PAINT: return paint(calendar, *state);
    case WM_ERASEBKGND: return TRUE;  // painting covers it all
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(calendar);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE: redraw(calendar); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      state->focused = message == WM_SETFOCUS;
      if (!state->focused && state->pressed != CalendarPart::Nothing) ReleaseCapture();
      redraw(calendar);
      NMHDR header{};
      notifyCalendarOwner(calendar, *state, header, state->focused ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: buttonDown(calendar, point); return 0;
    case WM_LBUTTONUP: buttonUp(calendar, *state, point); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != calendar && state->pressed != CalendarPart::Nothing) {
        state->pressed = CalendarPart::Nothing;
        redraw(calendar);
      }
      return 0;
    case WM_KEYDOWN: keyDown(calendar, *state, wParam); return 0;
    case MCM_GETCURSEL: return copyTime(state->selection, lParam);
    case MCM_SETCURSEL: return setSelection(calendar, *state, lParam);
    case MCM_SETRANGE:
      if (!state->range.set(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam), true)) return FALSE;
      state->selection = state->range.clamp(state->selection);
      show(*state, state->selection);
      redraw(calendar);
      return TRUE;
    case MCM_GETRANGE: return state->range.get(reinterpret_cast<SYSTEMTIME*>(lParam));
    case MCM_SETTODAY: {
      auto today = checkedTime(reinterpret_cast<const SYSTEMTIME*>(lParam));
      state->todayFixed = today.has_value();
      if (today) state->today = dateOnly(*today);
      refreshToday(*state);
      redraw(calendar);
      return 0;
    }
    case MCM_GETTODAY: refreshToday(*state); return copyTime(state->today, lParam);
    case MCM_GETMINREQRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out) return FALSE;
      const SIZE size = calendarMinimumSize(calendar, *state);
      *out = {0, 0, size.cx, size.cy};
      return TRUE;
    }
    case MCM_SETFIRSTDAYOFWEEK: return setFirstDay(calendar, *state, lParam);
    case MCM_GETFIRSTDAYOFWEEK: return MAKELONG(state->firstDay, state->firstDaySet ? 1 : 0);
    case MCM_SETCOLOR: {
      if (wParam > MCSC_TRAILINGTEXT) return -1;
      const COLORREF previous = calendarColor(*state, static_cast<int>(wParam));
      state->colors[wParam] = static_cast<COLORREF>(lParam);
      redraw(calendar);
      return previous;
    }
    case MCM_GETCOLOR:
      return wParam > MCSC_TRAILINGTEXT ? -1 : static_cast<LRESULT>(calendarColor(*state, static_cast<int>(wParam)));
    case user::controls::WM_AUTOMATION_STATE:
      refreshToday(*state);
      describe(calendar, *state, user::controls::automationStateOf(lParam));
      return 0;
    default: return DefWindowProcW(calendar, message, wParam, lParam);
  }
}

}  // namespace

void notifyCalendarOwner(HWND calendar, const MonthCalendarState& state, NMHDR& header, UINT code) {
  if (!state.notifyTarget) {
    user::controls::notifyParent(calendar, header, code);
    return;
  }
  header.hwndFrom = calendar;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(calendar));
  header.code = code;
  SendMessageW(state.notifyTarget, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

WNDCLASSW monthCalendarClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = monthCalendarProc;
  c.cbWndExtra = user::controls::kStateExtraBytes;
  c.lpszClassName = MONTHCAL_CLASSW;
  return c;
}

}  // namespace handheld::controls
