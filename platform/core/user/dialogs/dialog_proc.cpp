// DefDlgProcW: the dialog procedure first, then the dialog defaults.
#include "user/controls/control_support.h"
#include "user/dialogs/dialog_font.h"
#include "user/dialogs/dialog_info.h"
#include "user/dialogs/dialogs.h"

using namespace handheld::user;
using namespace handheld::user::dialogs;

namespace {

// Messages whose answer is the dialog procedure's return value, not DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG ||
         message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM;
}

HWND defaultButton(HWND dialog) {
  LRESULT id = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(id) == DC_HASDEFID ? GetDlgItem(dialog, LOWORD(id)) : nullptr;
}

// Focus back to the control that had it, or to the first tab stop.
void restoreFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) return;  // the procedure chose it
  auto info = dialogInfo(dialog);
  HWND target = info ? info->lastFocus : nullptr;
  if (!target || !IsWindow(target) || !IsChild(dialog, target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) setDialogFocus(dialog, target);
}

LRESULT dialogDefaults(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessageW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      if (!brush) brush = controls::defaultColors(hdc, WM_CTLCOLORDLG);
      RECT client{};
      GetClientRect(dialog, &client);
      FillRect(hdc, &client, brush);
      return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(controls::defaultColors(reinterpret_cast<HDC>(wParam), message));
    case WM_SETFONT:
      changeDialog(dialog, [&](DialogInfo& info) { info.font = reinterpret_cast<HFONT>(wParam); });
      return 0;
    case WM_GETFONT: {
      auto info = dialogInfo(dialog);
      return reinterpret_cast<LRESULT>(info ? info->font : nullptr);
    }
    case DM_GETDEFID: {
      auto info = dialogInfo(dialog);
      if (info && info->defaultId) return MAKELONG(*info->defaultId, DC_HASDEFID);
      for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (dialogCode(c) & DLGC_DEFPUSHBUTTON) return MAKELONG(GetDlgCtrlID(c), DC_HASDEFID);
      return 0;
    }
    case DM_SETDEFID: {
      HWND old = defaultButton(dialog);
      changeDialog(dialog, [&](DialogInfo& info) { info.defaultId = static_cast<WORD>(wParam); });
      HWND now = GetDlgItem(dialog, static_cast<int>(wParam));
      if (old && old != now && (dialogCode(old) & DLGC_DEFPUSHBUTTON))
        SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      if (now && (dialogCode(now) & DLGC_UNDEFPUSHBUTTON))
        SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    }
    case WM_NEXTDLGCTL: {
      HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                           : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (target) setDialogFocus(dialog, target);
      return 0;
    }
    case WM_CLOSE: {
      // As if the cancel button were clicked, unless it is there and disabled.
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(dialog, focus))
          changeDialog(dialog, [&](DialogInfo& info) { info.lastFocus = focus; });
      } else {
        restoreFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS:
      restoreFocus(dialog);
      return 0;
    case WM_NCDESTROY: {
      auto info = removeDialog(dialog);
      if (info && info->ownsFont && info->font) DeleteObject(info->font);
      return DefWindowProcW(dialog, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

}  // namespace

namespace handheld::user::dialogs {

WNDCLASSW dialogClass() {
  WNDCLASSW c{};
  c.lpfnWndProc = DefDlgProcW;
  c.cbWndExtra = DLGWINDOWEXTRA;
  c.lpszClassName = u"#32770";
  return c;
}

}  // namespace handheld::user::dialogs

HANDHELD_API LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
  if (procedure) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    INT_PTR handled = procedure(dialog, message, wParam, lParam);
    if (handled) return answersDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
    if (!IsWindow(dialog)) return 0;
  }
  return dialogDefaults(dialog, message, wParam, lParam);
}
