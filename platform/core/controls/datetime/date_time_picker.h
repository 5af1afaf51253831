// The "SysDateTimePick32" class: a date or a time shown in fields (from the locale's short or
// long date or time format, or a picture of DTM_SETFORMAT) that the stylus selects and the
// arrow keys, typed digits or the spin arrows (DTS_UPDOWN) change; without DTS_UPDOWN a
// button drops a month calendar down. DTS_SHOWNONE adds a check box: cleared, the control
// holds no date (GDT_NONE). Each change by the user sends DTN_DATETIMECHANGE.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "controls/date_format.h"
#include "controls/date_support.h"

namespace handheld::controls {

struct DateTimePickerState {
  HFONT font = nullptr;
  SYSTEMTIME value{};
  bool none = false;  // the check box is cleared
  DateRange range;
  std::u16string picture;  // DTM_SETFORMAT's, empty for the style's
  int field = -1;          // the selected segment, -1 for none
  int typed = 0;           // digits typed into the selected field so far, and their value
  int typedValue = 0;
  bool focused = false;
  HWND calendar = nullptr;  // the dropped-down calendar
};

// The parts of the control (date_time_layout.cpp).
struct PickerLayout {
  RECT check;   // empty without DTS_SHOWNONE
  RECT text;
  RECT button;  // the drop-down button, or both spin arrows
  std::vector<RECT> fields;  // one per segment
};

std::vector<DateSegment> pickerSegments(HWND picker, const DateTimePickerState& state);
PickerLayout layoutPicker(HWND picker, HDC hdc, const DateTimePickerState& state, const std::vector<DateSegment>& segments);

// The value with one field moved by `delta` steps (wrapping within the field), or set to a
// typed number (nothing when the number does not fit the field).
SYSTEMTIME stepField(const SYSTEMTIME& value, DateField field, int delta);
std::optional<SYSTEMTIME> typeIntoField(const SYSTEMTIME& value, const DateSegment& segment, int number);
// How many digits the field takes before the typing moves on.
int fieldDigits(const DateSegment& segment);

WNDCLASSW dateTimePickerClass();
void paintDateTimePicker(HWND picker, HDC hdc, const DateTimePickerState& state);

}  // namespace handheld::controls
