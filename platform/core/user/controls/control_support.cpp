#include "user/controls/control_support.h"

#include "user/dialogs/dialog_font.h"

namespace handheld::user::controls {

void notifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

LRESULT notifyParent(HWND control, NMHDR& header, UINT code) {
  header.hwndFrom = control;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  header.code = code;
  HWND parent = GetParent(control);
  if (!parent) return 0;
  return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

HBRUSH defaultColors(HDC hdc, UINT message) {
  const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(hdc, GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_STATICTEXT));
  SetBkColor(hdc, GetSysColor(field ? COLOR_WINDOW : COLOR_STATIC));
  if (message == WM_CTLCOLORSCROLLBAR) return GetSysColorBrush(COLOR_SCROLLBAR);
  return GetSysColorBrush(field ? COLOR_WINDOW : COLOR_STATIC);
}

HBRUSH controlColors(HWND control, HDC hdc, UINT message) {
  HWND parent = GetParent(control);
  HBRUSH brush = nullptr;
  if (parent)
    brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
  return brush ? brush : defaultColors(hdc, message);
}

HFONT fontOr(HFONT font) { return font ? font : dialogs::defaultDialogFont(); }

int lineWidth() {
  int width = GetSystemMetrics(SM_CXBORDER);
  return width > 0 ? width : 1;
}

std::u16string controlText(HWND control) {
  int length = GetWindowTextLengthW(control);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace handheld::user::controls
