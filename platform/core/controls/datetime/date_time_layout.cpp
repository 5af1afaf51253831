// The picker's geometry, shared by painting and the stylus: the check box, the fields in a
// row, and the button (drop-down or spin arrows) at the right.
#include <algorithm>

#include "controls/datetime/date_time_picker.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

std::vector<DateSegment> pickerSegments(HWND picker, const DateTimePickerState& state) {
  if (!state.picture.empty()) return parsePicture(state.picture);
  const LONG style = GetWindowLongW(picker, GWL_STYLE);
  if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) return parsePicture(timePicture());
  if (style & DTS_LONGDATEFORMAT) return parsePicture(longDatePicture());
  return parsePicture(shortDatePicture());
}

PickerLayout layoutPicker(HWND picker, HDC hdc, const DateTimePickerState& state, const std::vector<DateSegment>& segments) {
  RECT client;
  GetClientRect(picker, &client);
  const int unit = user::controls::lineWidth();
  const LONG style = GetWindowLongW(picker, GWL_STYLE);
  const int height = client.bottom - client.top;
  PickerLayout l{};
  l.button = {client.right - std::min<int>(height, client.right / 2), client.top, client.right, client.bottom};
  int left = client.left + 2 * unit;
  if (style & DTS_SHOWNONE) {
    const int size = std::min<int>(11 * unit, height);
    const int top = (height - size) / 2;
    l.check = {left, top, left + size, top + size};
    left = l.check.right + 3 * unit;
  }
  l.text = {left, client.top, l.button.left, client.bottom};
  int x = left;
  for (const auto& segment : segments) {
    const std::u16string s = segmentText(segment, state.value);
    SIZE size{};
    GetTextExtentPoint32W(hdc, s.c_str(), static_cast<int>(s.size()), &size);
    l.fields.push_back({x, client.top, x + size.cx, client.bottom});
    x += size.cx;
  }
  return l;
}

}  // namespace handheld::controls
