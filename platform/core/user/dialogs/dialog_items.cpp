// The dialog item helpers: text, numbers, buttons, messages, and dialog units.
#include <string>

#include "user/dialogs/dialog_font.h"
#include "user/dialogs/dialog_info.h"

using namespace handheld::user::dialogs;

namespace {

HWND item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

}  // namespace

HANDHELD_API UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount) {
  if (text && maxCount > 0) text[0] = 0;
  HWND control = item(dialog, id);
  if (!control || !text || maxCount <= 0) return 0;
  return static_cast<UINT>(SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                        reinterpret_cast<LPARAM>(text)));
}

HANDHELD_API BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  HWND control = item(dialog, id);
  return control ? static_cast<BOOL>(SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)))
                 : FALSE;
}

// Leading blanks, an optional sign (signed only), decimal digits; anything after them or a
// value out of range fails.
HANDHELD_API UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  WCHAR buffer[64];
  if (!item(dialog, id)) return 0;
  GetDlgItemTextW(dialog, id, buffer, 64);
  const char16_t* p = buffer;
  while (*p == u' ' || *p == u'\t') ++p;
  bool negative = false;
  if (isSigned && (*p == u'-' || *p == u'+')) negative = *p++ == u'-';
  if (*p < u'0' || *p > u'9') return 0;
  unsigned long long value = 0;
  for (; *p >= u'0' && *p <= u'9'; ++p) {
    value = value * 10 + static_cast<unsigned>(*p - u'0');
    if (value > 0xFFFFFFFFull) return 0;
  }
  while (*p == u' ' || *p == u'\t') ++p;
  if (*p) return 0;
  if (isSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
  if (translated) *translated = TRUE;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

HANDHELD_API BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  std::u16string text;
  long long number = isSigned ? static_cast<long long>(static_cast<INT>(value)) : value;
  bool negative = number < 0;
  unsigned long long magnitude = negative ? static_cast<unsigned long long>(-number) : static_cast<unsigned long long>(number);
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude);
  if (negative) text.insert(text.begin(), u'-');
  return SetDlgItemTextW(dialog, id, text.c_str());
}

HANDHELD_API LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = item(dialog, id);
  return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

HANDHELD_API BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = item(dialog, id);
  if (!control) return FALSE;
  SendMessageW(control, BM_SETCHECK, check, 0);
  return TRUE;
}

HANDHELD_API UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = item(dialog, id);
  return control ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}

HANDHELD_API BOOL WINAPI CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  if (!IsWindow(dialog)) return FALSE;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(c);
    if (id >= firstId && id <= lastId)
      SendMessageW(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

HANDHELD_API BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  auto info = dialogInfo(dialog);
  if (!info || !rect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = unitsToPixels(*rect, info->baseUnits);
  return TRUE;
}
