// The picker's window procedure: value, range and format messages, the fields under the
// stylus and keys, the spin arrows, the dropped-down calendar and the notifications.
#include <algorithm>

#include "controls/datetime/date_time_picker.h"
#include "controls/monthcal/month_calendar.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

using user::controls::attachState;
using user::controls::detachState;
using user::controls::stateOf;

DateTimePickerState* stateOfPicker(HWND picker) { return stateOf<DateTimePickerState>(picker); }
LONG styleOf(HWND picker) { return GetWindowLongW(picker, GWL_STYLE); }
void redraw(HWND picker) { InvalidateRect(picker, nullptr, FALSE); }

void notify(HWND picker, UINT code) {
  NMHDR header{};
  user::controls::notifyParent(picker, header, code);
}

void notifyChange(HWND picker, const DateTimePickerState& state) {
  NMDATETIMECHANGE change{};
  change.dwFlags = state.none ? GDT_NONE : GDT_VALID;
  change.st = state.value;
  user::controls::notifyParent(picker, change.nmhdr, DTN_DATETIMECHANGE);
}

// A change the user made: kept within the range; it checks the box again.
void change(HWND picker, DateTimePickerState& state, const SYSTEMTIME& wanted) {
  const SYSTEMTIME value = state.range.clamp(wanted);
  if (!state.none && ticksOf(value) == ticksOf(state.value)) return;
  state.value = value;
  state.none = false;
  redraw(picker);
  notifyChange(picker, state);
}

bool editable(const DateSegment& segment) { return segment.field != DateField::Literal; }

// The next editable field from `from` in `direction`, or `from` when there is none.
int nextField(const std::vector<DateSegment>& segments, int from, int direction) {
  for (int i = from + direction; i >= 0 && i < static_cast<int>(segments.size()); i += direction)
    if (editable(segments[static_cast<size_t>(i)])) return i;
  return from;
}

void selectField(HWND picker, DateTimePickerState& state, int field) {
  state.typed = state.typedValue = 0;
  if (field == state.field) return;
  state.field = field;
  redraw(picker);
}

int selectedOrFirst(HWND picker, DateTimePickerState& state, const std::vector<DateSegment>& segments) {
  if (state.field < 0 || state.field >= static_cast<int>(segments.size()) || !editable(segments[static_cast<size_t>(state.field)]))
    selectField(picker, state, nextField(segments, -1, 1));
  return state.field;
}

void step(HWND picker, DateTimePickerState& state, int delta) {
  const auto segments = pickerSegments(picker, state);
  const int field = selectedOrFirst(picker, state, segments);
  if (field < 0) return;
  state.typed = state.typedValue = 0;
  change(picker, state, stepField(state.value, segments[static_cast<size_t>(field)].field, delta));
}

int fieldLimit(const DateSegment& segment) {
  switch (segment.field) {
    case DateField::Day: return 31;
    case DateField::Month:
    case DateField::Hour12: return 12;
    case DateField::Hour24: return 23;
    case DateField::Year: return 9999;
    default: return 59;
  }
}

void typeCharacter(HWND picker, DateTimePickerState& state, char16_t c) {
  const auto segments = pickerSegments(picker, state);
  const int field = selectedOrFirst(picker, state, segments);
  if (field < 0) return;
  const DateSegment& segment = segments[static_cast<size_t>(field)];
  if (segment.field == DateField::AmPm) {
    const char16_t lower = static_cast<char16_t>(c | 0x20);
    if (lower == u'a' && state.value.wHour >= 12) change(picker, state, stepField(state.value, DateField::AmPm, 1));
    if (lower == u'p' && state.value.wHour < 12) change(picker, state, stepField(state.value, DateField::AmPm, 1));
    return;
  }
  if (c < u'0' || c > u'9') return;
  const int number = state.typedValue * 10 + (c - u'0');
  const int typed = state.typed + 1;
  const bool complete = typed >= fieldDigits(segment) || number * 10 > fieldLimit(segment);
  state.typed = complete ? 0 : typed;
  state.typedValue = complete ? 0 : number;
  if (auto value = typeIntoField(state.value, segment, number)) change(picker, state, *value);
  DateTimePickerState* again = stateOfPicker(picker);
  if (again && complete) selectField(picker, *again, nextField(segments, field, 1));
}

// The calendar goes away; the focus comes back to the picker if the calendar had it.
void closeUp(HWND picker, DateTimePickerState& state) {
  HWND calendar = state.calendar;
  if (!calendar) return;
  state.calendar = nullptr;
  if (GetFocus() == calendar) SetFocus(picker);
  DestroyWindow(calendar);
  redraw(picker);
  notify(picker, DTN_CLOSEUP);
}

void dropDown(HWND picker, DateTimePickerState& state) {
  if (state.calendar || (styleOf(picker) & DTS_UPDOWN)) return;
  RECT r;
  GetWindowRect(picker, &r);
  HWND calendar = CreateWindowExW(0, MONTHCAL_CLASSW, u"", WS_POPUP | WS_BORDER, r.left, r.bottom, 10, 10, picker,
                                  nullptr, nullptr, nullptr);
  if (!calendar) return;
  auto* calendarState = stateOf<MonthCalendarState>(calendar);
  calendarState->notifyTarget = picker;
  SendMessageW(calendar, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  SYSTEMTIME limits[2];
  const WPARAM flags = static_cast<WPARAM>(state.range.get(limits));
  SendMessageW(calendar, MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(limits));
  if (!state.none) SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&state.value));
  RECT size{};
  SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&size));
  const int border = 2 * user::controls::lineWidth();
  const int width = std::max<int>(size.right + border, r.right - r.left), height = size.bottom + border;
  int top = r.bottom;
  if (top + height > GetSystemMetrics(SM_CYSCREEN)) top = std::max<int>(0, r.top - height);
  SetWindowPos(calendar, nullptr, std::min<int>(r.left, GetSystemMetrics(SM_CXSCREEN) - width), top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  state.calendar = calendar;
  redraw(picker);
  notify(picker, DTN_DROPDOWN);
  DateTimePickerState* again = stateOfPicker(picker);
  if (!again || again->calendar != calendar || !IsWindow(calendar)) return;
  ShowWindow(calendar, SW_SHOW);
  SetFocus(calendar);
}

// What the dropped-down calendar tells: a chosen day sets the date and closes it, and so
// does its losing the focus (a tap elsewhere).
LRESULT calendarNotified(HWND picker, DateTimePickerState& state, const NMHDR& header) {
  if (!state.calendar || header.hwndFrom != state.calendar) return 0;
  if (header.code == MCN_SELECT) {
    const auto& chosen = reinterpret_cast<const NMSELCHANGE&>(header).stSelStart;
    SYSTEMTIME value = state.value;
    value.wYear = chosen.wYear;
    value.wMonth = chosen.wMonth;
    value.wDay = chosen.wDay;
    value.wDayOfWeek = chosen.wDayOfWeek;
    change(picker, state, value);
    if (auto* again = stateOfPicker(picker)) closeUp(picker, *again);
  } else if (header.code == NM_KILLFOCUS) {
    closeUp(picker, state);
  }
  return 0;
}

enum class PickerPart { Nothing, Check, DateField, Up, Down, Drop };

PickerPart hitPicker(HWND picker, const DateTimePickerState& state, POINT point, int& field) {
  HDC hdc = GetDC(picker);
  HGDIOBJ old = SelectObject(hdc, user::controls::fontOr(state.font));
  const auto segments = pickerSegments(picker, state);
  const PickerLayout l = layoutPicker(picker, hdc, state, segments);
  SelectObject(hdc, old);
  ReleaseDC(picker, hdc);
  if (PtInRect(&l.button, point)) {
    if (!(styleOf(picker) & DTS_UPDOWN)) return PickerPart::Drop;
    return point.y < (l.button.top + l.button.bottom) / 2 ? PickerPart::Up : PickerPart::Down;
  }
  RECT check = l.check;
  InflateRect(&check, 2, 2);  // a little room for the stylus
  if ((styleOf(picker) & DTS_SHOWNONE) && PtInRect(&check, point)) return PickerPart::Check;
  if (!PtInRect(&l.text, point)) return PickerPart::Nothing;
  // The nearest editable field at or before the point, else the first after it.
  field = -1;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (!editable(segments[i])) continue;
    if (field < 0 || l.fields[i].left <= point.x) field = static_cast<int>(i);
    if (l.fields[i].right > point.x) break;
  }
  return field >= 0 ? PickerPart::DateField : PickerPart::Nothing;
}

void buttonDown(HWND picker, POINT point) {
  SetFocus(picker);
  DateTimePickerState* state = stateOfPicker(picker);  // the focus notification may have ended it
  if (!state) return;
  int field = -1;
  switch (hitPicker(picker, *state, point, field)) {
    case PickerPart::Check:
      state->none = !state->none;
      redraw(picker);
      notifyChange(picker, *state);
      break;
    case PickerPart::DateField: selectField(picker, *state, field); break;
    case PickerPart::Up: step(picker, *state, 1); break;
    case PickerPart::Down: step(picker, *state, -1); break;
    case PickerPart::Drop:
      if (state->calendar) {
        closeUp(picker, *state);
      } else {
        dropDown(picker, *state);
      }
      break;
    case PickerPart::Nothing: break;
  }
}

void keyDown(HWND picker, DateTimePickerState& state, WPARAM key) {
  const auto segments = pickerSegments(picker, state);
  switch (key) {
    case VK_LEFT: selectField(picker, state, nextField(segments, selectedOrFirst(picker, state, segments), -1)); break;
    case VK_RIGHT: selectField(picker, state, nextField(segments, selectedOrFirst(picker, state, segments), 1)); break;
    case VK_HOME: selectField(picker, state, nextField(segments, -1, 1)); break;
    case VK_END: selectField(picker, state, nextField(segments, static_cast<int>(segments.size()), -1)); break;
    case VK_UP: step(picker, state, 1); break;
    case VK_DOWN: step(picker, state, -1); break;
    case VK_F4: dropDown(picker, state); break;
    case VK_SPACE:
      if (styleOf(picker) & DTS_SHOWNONE) {
        state.none = !state.none;
        redraw(picker);
        notifyChange(picker, state);
      }
      break;
    default: break;
  }
}

LRESULT getTime(const DateTimePickerState& state, LPARAM lParam) {
  auto* out = reinterpret_cast<SYSTEMTIME*>(lParam);
  if (!out) return GDT_ERROR;
  if (state.none) return GDT_NONE;
  *out = state.value;
  return GDT_VALID;
}

LRESULT setTime(HWND picker, DateTimePickerState& state, WPARAM flag, LPARAM lParam) {
  if (flag == GDT_NONE) {
    if (!(styleOf(picker) & DTS_SHOWNONE)) return FALSE;
    state.none = true;
  } else if (flag == GDT_VALID) {
    auto time = checkedTime(reinterpret_cast<const SYSTEMTIME*>(lParam));
    if (!time || !state.range.contains(*time)) return FALSE;
    state.value = *time;
    state.none = false;
  } else {
    return FALSE;
  }
  if (state.calendar && !state.none) SendMessageW(state.calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&state.value));
  redraw(picker);
  return TRUE;
}

void describe(HWND picker, const DateTimePickerState& state, nlohmann::json& out) {
  out["value"] = state.none ? nlohmann::json(nullptr) : nlohmann::json(isoDateTime(state.value));
  const std::u16string text = formatTime(pickerSegments(picker, state), state.value);
  std::string utf8;
  for (char16_t c : text) {  // the pictures' texts are ASCII
    utf8 += c < 0x80 ? static_cast<char>(c) : '?';
  }
  out["text"] = utf8;
  out["dropped"] = state.calendar != nullptr;
}

LRESULT paint(HWND picker, const DateTimePickerState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(picker, &ps);
  if (hdc) paintDateTimePicker(picker, hdc, state);
  EndPaint(picker, &ps);
  return 0;
}

LRESULT CALLBACK dateTimePickerProc(HWND picker, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = attachState<DateTimePickerState>(picker);
    created->value = localNow();
    created->value.wMilliseconds = 0;
  }
  DateTimePickerState* state = stateOfPicker(picker);
  if (!state) return DefWindowProcW(picker, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      if (HWND calendar = state->calendar) {
        state->calendar = nullptr;
        DestroyWindow(calendar);
      }
      return 0;
    case WM_NCDESTROY:
      detachState<DateTimePickerState>(picker);
      return DefWindowProcW(picker, message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT: return paint(picker, *state);
    case WM_ERASEBKGND: return TRUE;  // painting covers it all
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(picker);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE: redraw(picker); return 0;
    case WM_SETFOCUS:
      state->focused = true;
      selectedOrFirst(picker, *state, pickerSegments(picker, *state));
      redraw(picker);
      notify(picker, NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      state->typed = state->typedValue = 0;
      redraw(picker);
      notify(picker, NM_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: buttonDown(picker, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_KEYDOWN: keyDown(picker, *state, wParam); return 0;
    case WM_CHAR: typeCharacter(picker, *state, static_cast<char16_t>(wParam)); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header ? calendarNotified(picker, *state, *header) : 0;
    }
    case DTM_GETSYSTEMTIME: return getTime(*state, lParam);
    case DTM_SETSYSTEMTIME: return setTime(picker, *state, wParam, lParam);
    case DTM_SETRANGE:
      if (!state->range.set(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam), false)) return FALSE;
      state->value = state->range.clamp(state->value);
      redraw(picker);
      return TRUE;
    case DTM_GETRANGE: return state->range.get(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETFORMATW: {
      const auto* picture = reinterpret_cast<LPCWSTR>(lParam);
      state->picture = picture ? picture : u"";
      state->field = -1;
      state->typed = state->typedValue = 0;
      if (state->focused) selectedOrFirst(picker, *state, pickerSegments(picker, *state));
      redraw(picker);
      return TRUE;
    }
    case DTM_GETMONTHCAL: return reinterpret_cast<LRESULT>(state->calendar);
    case user::controls::WM_AUTOMATION_STATE:
      describe(picker, *state, user::controls::automationStateOf(lParam));
      return 0;
    default: return DefWindowProcW(picker, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW dateTimePickerClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = dateTimePickerProc;
  c.cbWndExtra = user::controls::kStateExtraBytes;
  c.lpszClassName = DATETIMEPICK_CLASSW;
  return c;
}

}  // namespace handheld::controls
