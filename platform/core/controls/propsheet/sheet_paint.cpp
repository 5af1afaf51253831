// The sheet's own caption strip: its title on the left and "ok" on the right, in the caption
// colours, since the handheld's sheets carry their OK button there.
#include "controls/propsheet/property_sheet.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

int captionHeight() { return GetSystemMetrics(SM_CYCAPTION); }

RECT okRect(HWND sheet) {
  RECT client{};
  GetClientRect(sheet, &client);
  const int height = captionHeight();
  return {client.right - 2 * height, 0, client.right, height};
}

RECT pageArea(HWND sheet, HWND tab) {
  RECT client{};
  GetClientRect(sheet, &client);
  RECT area{client.left, captionHeight(), client.right, client.bottom};
  if (tab) {
    RECT strip{};
    GetWindowRect(tab, &strip);
    area.bottom -= strip.bottom - strip.top;
  }
  if (area.bottom < area.top) area.bottom = area.top;
  return area;
}

void paintSheetCaption(HWND sheet, HDC hdc, const Sheet& state) {
  RECT client{};
  GetClientRect(sheet, &client);
  const int unit = lineWidth();
  RECT strip{client.left, 0, client.right, captionHeight()};
  FillRect(hdc, &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
  HGDIOBJ old = SelectObject(hdc, fontOr(nullptr));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
  RECT title = strip;
  title.left += 4 * unit;
  title.right = okRect(sheet).left;
  DrawTextW(hdc, state.caption.c_str(), static_cast<int>(state.caption.size()), &title,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  RECT ok = okRect(sheet);
  InflateRect(&ok, -2 * unit, -2 * unit);
  if (state.okPressed) FillRect(hdc, &ok, GetSysColorBrush(COLOR_HIGHLIGHT));
  FrameRect(hdc, &ok, GetSysColorBrush(COLOR_CAPTIONTEXT));
  DrawTextW(hdc, u"ok", 2, &ok, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(hdc, old);
}

}  // namespace handheld::controls
