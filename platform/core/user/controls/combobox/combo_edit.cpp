// The edit field of CBS_DROPDOWN and CBS_SIMPLE: an "EDIT" child whose keys pass through the
// combo first (F4, alt+down, arrows, enter, escape) and whose notifications become the
// combo's (CBN_EDITUPDATE, CBN_EDITCHANGE, the focus).
#include "user/controls/combobox/combo_box.h"
#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

LRESULT CALLBACK editInCombo(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  static const WNDPROC own = editClass().lpfnWndProc;
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
  if (comboStyle & CBS_AUTOHSCROLL) style |= ES_AUTOHSCROLL;
  if (comboStyle & CBS_UPPERCASE) style |= ES_UPPERCASE;
  if (comboStyle & CBS_LOWERCASE) style |= ES_LOWERCASE;
  state.edit = CreateWindowExW(0, u"EDIT", u"", style, 0, 0, 0, 0, combo,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kComboEditId)), nullptr, nullptr);
  if (state.edit)
    SetWindowLongPtrW(state.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editInCombo));
}

void fillEdit(HWND combo, ComboBoxState& state, const std::u16string& text) {
  HWND edit = state.edit;
  state.settingText = true;
  SetWindowTextW(edit, text.c_str());
  auto* current = stateOf<ComboBoxState>(combo);
  if (!current) return;
  current->settingText = false;
  if (GetFocus() == edit) SendMessageW(edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

void editNotified(HWND combo, WORD code) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state) return;
  switch (code) {
    case EN_SETFOCUS: comboFocusGained(combo); break;
    case EN_KILLFOCUS: {
      HWND now = GetFocus();
      if (now != combo && now != state->edit && now != state->list) comboFocusLost(combo);
      break;
    }
    case EN_UPDATE:
      if (!state->settingText) notifyParent(combo, CBN_EDITUPDATE);
      break;
    case EN_CHANGE:
      if (!state->settingText) notifyParent(combo, CBN_EDITCHANGE);
      break;
    default: break;
  }
}

LRESULT editMessage(const ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_LIMITTEXT: SendMessageW(state.edit, EM_LIMITTEXT, wParam, 0); return TRUE;
    case CB_GETEDITSEL: return SendMessageW(state.edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
      SendMessageW(state.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                   static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
      return TRUE;
    default: return CB_ERR;
  }
}

}  // namespace handheld::user::controls
