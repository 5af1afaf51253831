// IsDialogMessageW and the order of a dialog's controls: tab stops, groups, the default
// button, escape.
#include "user/dialogs/dialog_info.h"
#include "user/dialogs/dialogs.h"

using namespace handheld::user::dialogs;

namespace {

LONG styleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// The control's own flags: a dialog still hidden has its order too.
bool canTakeFocus(HWND control) {
  return (styleOf(control) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

std::vector<HWND> childrenOf(HWND dialog) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  return children;
}

// The dialog's direct child that holds `window` (itself when it is one).
HWND directChild(HWND dialog, HWND window) {
  while (window && GetParent(window) != dialog) window = GetParent(window);
  return window;
}

bool isPushButton(UINT code) { return code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON); }

void clickDefault(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus) && isPushButton(dialogCode(focus))) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
    return;
  }
  LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  WORD id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button)) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void cancel(HWND dialog) {
  HWND button = GetDlgItem(dialog, IDCANCEL);
  if (button && !IsWindowEnabled(button)) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The button whose text marks `key` with '&' (the letter after it, in either case).
HWND mnemonicButton(HWND dialog, WPARAM key) {
  const auto lower = [](WPARAM c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!canTakeFocus(c) || !(dialogCode(c) & DLGC_BUTTON)) continue;
    WCHAR text[64] = {};
    GetWindowTextW(c, text, 64);
    for (const WCHAR* t = text; *t; ++t) {
      if (*t != u'&') continue;
      ++t;
      if (*t != u'&' && lower(*t) == lower(key)) return c;
      if (!*t) break;
    }
  }
  return nullptr;
}

}  // namespace

namespace handheld::user::dialogs {

UINT dialogCode(HWND control, const MSG* message) {
  return static_cast<UINT>(SendMessageW(control, WM_GETDLGCODE, message ? message->wParam : 0,
                                        reinterpret_cast<LPARAM>(message)));
}

void setDialogFocus(HWND dialog, HWND control) {
  HWND previous = GetFocus();
  const UINT code = dialogCode(control);
  // The push button with the focus is the one enter presses: it looks the default; any
  // other control gives the look back to the dialog's default button.
  LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  HWND defaultButton = HIWORD(defId) == DC_HASDEFID ? GetDlgItem(dialog, LOWORD(defId)) : nullptr;
  if (previous && previous != control && IsChild(dialog, previous) && isPushButton(dialogCode(previous)) &&
      previous != defaultButton)
    SendMessageW(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (isPushButton(code)) {
    if (defaultButton && defaultButton != control && (dialogCode(defaultButton) & DLGC_DEFPUSHBUTTON))
      SendMessageW(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (code & DLGC_UNDEFPUSHBUTTON) SendMessageW(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  } else if (defaultButton && (dialogCode(defaultButton) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessageW(defaultButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  // A text field the dialog moves to is selected whole, so that typing replaces it.
  if (code & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
  changeDialog(dialog, [&](DialogInfo& info) { info.lastFocus = control; });
}

}  // namespace handheld::user::dialogs

HANDHELD_API HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> children = childrenOf(dialog);
  if (children.empty()) return nullptr;
  const size_t count = children.size();
  HWND from = control ? directChild(dialog, control) : nullptr;
  size_t start = previous ? 0 : count - 1;  // without a control: the first (or last) tab stop
  for (size_t i = 0; i < count; ++i)
    if (children[i] == from) start = i;
  for (size_t step = 1; step <= count; ++step) {
    size_t i = previous ? (start + count - step) % count : (start + step) % count;
    HWND c = children[i];
    if ((styleOf(c) & WS_TABSTOP) && canTakeFocus(c)) return c;
  }
  return control;
}

HANDHELD_API HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> children = childrenOf(dialog);
  if (children.empty()) return nullptr;
  HWND from = control ? directChild(dialog, control) : children.front();
  size_t at = 0;
  while (at < children.size() && children[at] != from) ++at;
  if (at == children.size()) return nullptr;
  // The group: from the nearest WS_GROUP at or before the control to the next WS_GROUP.
  size_t first = at;
  while (first > 0 && !(styleOf(children[first]) & WS_GROUP)) --first;
  size_t end = at + 1;
  while (end < children.size() && !(styleOf(children[end]) & WS_GROUP)) ++end;
  const size_t size = end - first;
  for (size_t step = 1; step < size; ++step) {
    size_t i = first + (previous ? (at - first + size - step) % size : (at - first + step) % size);
    if (canTakeFocus(children[i])) return children[i];
  }
  return from;
}

HANDHELD_API BOOL WINAPI IsDialogMessageW(HWND dialog, LPMSG message) {
  if (!message || !dialog || !IsWindow(dialog)) return FALSE;
  if (message->hwnd != dialog && !IsChild(dialog, message->hwnd)) return FALSE;
  if (message->message != WM_KEYDOWN && message->message != WM_CHAR) {
    TranslateMessage(message);
    DispatchMessageW(message);
    return TRUE;
  }
  HWND focus = GetFocus();
  const UINT code = focus && IsChild(dialog, focus) ? dialogCode(focus, message) : 0;
  if (code & DLGC_WANTMESSAGE) {
    TranslateMessage(message);
    DispatchMessageW(message);
    return TRUE;
  }
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (message->message == WM_KEYDOWN) {
    switch (message->wParam) {
      case VK_TAB:
        if (code & DLGC_WANTTAB) break;
        if (HWND next = GetNextDlgTabItem(dialog, focus && IsChild(dialog, focus) ? focus : nullptr, shift))
          setDialogFocus(dialog, next);
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN: {
        if (code & DLGC_WANTARROWS) break;
        const bool back = message->wParam == VK_LEFT || message->wParam == VK_UP;
        HWND next = GetNextDlgGroupItem(dialog, focus && IsChild(dialog, focus) ? focus : nullptr, back);
        if (next && next != focus) {
          setDialogFocus(dialog, next);
          // An automatic radio button checks itself when the arrows reach it.
          if (dialogCode(next) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
        }
        return TRUE;
      }
      case VK_RETURN:
        clickDefault(dialog);
        return TRUE;
      case VK_ESCAPE:
        cancel(dialog);
        return TRUE;
      default:
        break;
    }
  } else if (message->wParam == '\t' || message->wParam == '\r' || message->wParam == 0x1B) {
    // The characters of keys handled above do not reach the control.
    if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))) return TRUE;
  } else if (!(code & DLGC_WANTCHARS)) {
    // A character the focused control does not take clicks the button it is the mnemonic of.
    if (HWND button = mnemonicButton(dialog, message->wParam)) {
      SendMessageW(button, BM_CLICK, 0, 0);
      return TRUE;
    }
  }
  TranslateMessage(message);
  DispatchMessageW(message);
  return TRUE;
}
