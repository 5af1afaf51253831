// The static on the parent's background: its text, icon or bitmap.
#include "user/controls/control_support.h"
#include "user/controls/static/static_control.h"

namespace handheld::user::controls {

namespace {

UINT textFormat(LONG style) {
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP: format |= DT_LEFT; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_VCENTER | DT_SINGLELINE;
  return format;
}

void drawImage(HDC hdc, const RECT& client, HANDLE image, LONG style) {
  if (!image) return;
  const bool center = style & SS_CENTERIMAGE;
  if ((style & SS_TYPEMASK) == SS_ICON) {
    const int size = GetSystemMetrics(SM_CXICON);
    const int x = center ? (client.right - size) / 2 : 0, y = center ? (client.bottom - size) / 2 : 0;
    DrawIconEx(hdc, x, y, static_cast<HICON>(image), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    return;
  }
  BITMAP bitmap{};
  if (!GetObjectW(image, sizeof bitmap, &bitmap)) return;
  HDC source = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(source, image);
  const int x = center ? (client.right - bitmap.bmWidth) / 2 : 0;
  const int y = center ? (client.bottom - bitmap.bmHeight) / 2 : 0;
  BitBlt(hdc, x, y, bitmap.bmWidth, bitmap.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace

void paintStatic(HWND control, HDC hdc, const StaticState& state) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT client;
  GetClientRect(control, &client);
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  FillRect(hdc, &client, controlColors(control, hdc, WM_CTLCOLORSTATIC));
  const UINT type = style & SS_TYPEMASK;
  if (type == SS_ICON || type == SS_BITMAP) {
    drawImage(hdc, client, state.image, style);
  } else {
    std::u16string text = controlText(control);
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(control)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client, textFormat(style));
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::user::controls
