// The edit field of CBS_DROPDOWN and CBS_SIMPLE: an "EDIT" child whose keys pass through the
// combo first (F4, alt+down, arrows, enter, escape) and whose notifications become the
// combo's (CBN_EDITUPDATE, CBN_EDITCHANGE, the focus).
#include "user/controls/combobox/combo_box.h"
#include "user/controls/control_support.h"

namespace handheld::user::controls {

namespace {

// The edit's messages, notifications and styles, as the "EDIT" class takes them.
constexpr UINT kGetSel = 0x00B0, kSetSel = 0x00B1, kLimitText = 0x00C5;
constexpr WORD kSetFocus = 0x0100, kKillFocus = 0x0200, kChange = 0x0300, kUpdate = 0x0400;
constexpr DWORD kUppercase = 0x0008, kLowercase = 0x0010, kAutoHScroll = 0x0080;

WNDPROC editClassProc() {
  WNDCLASSW description{};
  return GetClassInfoW(nullptr, u"EDIT", &description) ? description.lpfnWndProc : nullptr;
}

LRESULT CALLBACK editInCombo(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  static const WNDPROC own = editClassProc();
  HWND combo = GetParent(edit);
  auto* state = stateOf<ComboBoxState>(combo);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (state && comboKey(combo, wParam, true, message == WM_SYSKEYDOWN)) return 0;
      break;
    case WM_CHAR:
      if (wParam == u'\r' || wParam == 0x1B) return 0;  // enter and escape belong to the list
      break;
    case WM_GETDLGCODE: {
      const LRESULT code = CallWindowProcW(own, edit, message, wParam, lParam);
      return code | DLGC_WANTARROWS | (state && state->dropped ? DLGC_WANTMESSAGE : 0);
    }
    default: break;
  }
  return CallWindowProcW(own, edit, message, wParam, lParam);
}

}  // namespace

void createEdit(HWND combo, ComboBoxState& state) {
  const LONG comboStyle = GetWindowLongW(combo, GWL_STYLE);
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (comboStyle & CBS_AUTOHSCROLL) style |= kAutoHScroll;
  if (comboStyle & CBS_UPPERCASE) style |= kUppercase;
  if (comboStyle & CBS_LOWERCASE) style |= kLowercase;
  state.edit = CreateWindowExW(0, u"EDIT", u"", style, 0, 0, 0, 0, combo,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kComboEditId)), nullptr, nullptr);
  if (state.edit && editClassProc())
    SetWindowLongPtrW(state.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editInCombo));
}

void setEditText(HWND combo, ComboBoxState& state, const std::u16string& text) {
  HWND edit = state.edit;
  state.settingText = true;
  SetWindowTextW(edit, text.c_str());
  auto* current = stateOf<ComboBoxState>(combo);
  if (!current) return;
  current->settingText = false;
  if (GetFocus() == edit) SendMessageW(edit, kSetSel, 0, static_cast<LPARAM>(-1));
}

void editNotified(HWND combo, WORD code) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state) return;
  switch (code) {
    case kSetFocus: comboFocusGained(combo); break;
    case kKillFocus: {
      HWND now = GetFocus();
      if (now != combo && now != state->edit && now != state->list) comboFocusLost(combo);
      break;
    }
    case kUpdate:
      if (!state->settingText) notifyParent(combo, CBN_EDITUPDATE);
      break;
    case kChange:
      if (!state->settingText) notifyParent(combo, CBN_EDITCHANGE);
      break;
    default: break;
  }
}

LRESULT editMessage(const ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_LIMITTEXT: SendMessageW(state.edit, kLimitText, wParam, 0); return TRUE;
    case CB_GETEDITSEL: return SendMessageW(state.edit, kGetSel, wParam, lParam);
    case CB_SETEDITSEL:
      SendMessageW(state.edit, kSetSel, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                   static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
      return TRUE;
    default: return CB_ERR;
  }
}

}  // namespace handheld::user::controls
