// The combo box's window procedure: creation of its list and edit, the CB_ messages (most of
// them handed to the list as their LB_ counterparts), stylus, keys, focus and automation.
#include <algorithm>

#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/combobox/combo_box.h"
#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

HWND topLevelOf(HWND window) {
  while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}

int fieldHeightFor(HWND combo, HFONT font) {
  HDC hdc = GetDC(combo);
  HGDIOBJ old = SelectObject(hdc, fontOr(font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(combo, hdc);
  return static_cast<int>(metrics.tmHeight) + 6 * lineWidth();
}

// The list takes the styles the combo's describe for it.
DWORD listStyleFor(LONG comboStyle, bool scrollBar) {
  DWORD style = WS_BORDER | LBS_NOINTEGRALHEIGHT;
  if (comboStyle & CBS_SORT) style |= LBS_SORT;
  if (comboStyle & CBS_HASSTRINGS) style |= LBS_HASSTRINGS;
  if (comboStyle & CBS_OWNERDRAWFIXED) style |= LBS_OWNERDRAWFIXED;
  if (comboStyle & CBS_DISABLENOSCROLL) style |= LBS_DISABLENOSCROLL;
  if (scrollBar) style |= WS_VSCROLL;
  return style;
}

void setFieldHeight(HWND combo, ComboBoxState& state, int height) {
  state.fieldHeight = height;
  if (comboKind(combo) != ComboKind::Simple) {
    RECT window{};
    GetWindowRect(combo, &window);
    SetWindowPos(combo, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (auto* current = stateOf<ComboBoxState>(combo)) layOut(combo, *current);
}

LRESULT create(HWND combo, ComboBoxState& state, const CREATESTRUCTW& cs) {
  const LONG style = GetWindowLongW(combo, GWL_STYLE);
  const bool simple = comboKind(combo) == ComboKind::Simple;
  state.fieldHeight = fieldHeightFor(combo, state.font);
  state.listHeight = std::max(cs.cy - state.fieldHeight, state.fieldHeight);
  const DWORD listStyle = listStyleFor(style, state.scrollBar) | (simple ? (WS_CHILD | WS_VISIBLE) : WS_POPUP);
  state.list = CreateWindowExW(simple ? 0 : WS_EX_TOPMOST, u"ComboLBox", u"", listStyle, 0, 0, 0, 0,
                               simple ? combo : topLevelOf(GetParent(combo)),
                               simple ? reinterpret_cast<HMENU>(static_cast<intptr_t>(kComboListId)) : nullptr,
                               nullptr, combo);
  if (!state.list) return -1;
  if (comboKind(combo) != ComboKind::DropDownList) createEdit(combo, state);
  auto* current = stateOf<ComboBoxState>(combo);
  if (!current) return -1;
  setFieldHeight(combo, *current, current->fieldHeight);
  return 0;
}

LRESULT forwardToList(const ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(state.list, message, wParam, lParam);
}

// A list message that may change the selection shown in the field.
LRESULT selectionMessage(HWND combo, ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = SendMessageW(state.list, message, wParam, lParam);
  if (auto* current = stateOf<ComboBoxState>(combo)) showSelection(combo, *current);
  return result;
}

LRESULT setText(HWND combo, ComboBoxState& state, LPARAM text) {
  if (state.edit) return SendMessageW(state.edit, WM_SETTEXT, 0, text);
  // A drop-down list shows only its items: the text selects the item that has it.
  if (!text) return CB_ERR;
  const LRESULT index = SendMessageW(state.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
  if (index < 0) return CB_ERR;
  return selectionMessage(combo, state, LB_SETCURSEL, static_cast<WPARAM>(index), 0) < 0 ? CB_ERR : TRUE;
}

void describe(HWND combo, const ComboBoxState& state, nlohmann::json& out) {
  nlohmann::json listState = nlohmann::json::object();
  SendMessageW(state.list, WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&listState));
  out["items"] = listState.value("items", nlohmann::json::array());
  out["selection"] = listState.value("selection", -1);
  out["text"] = strings::toUtf8(state.edit ? controlText(state.edit) : controlText(combo));
  out["dropped"] = state.dropped;
}

LRESULT stylusDown(HWND combo, ComboBoxState& state, POINT point) {
  const ComboKind kind = comboKind(combo);
  if (kind == ComboKind::Simple) {
    SetFocus(state.edit ? state.edit : combo);
    return 0;
  }
  RECT client{};
  GetClientRect(combo, &client);
  const bool onButton = point.x >= client.right - buttonWidth();
  if (kind == ComboKind::DropDown && !onButton) return 0;  // the edit takes taps on the text
  SetFocus(state.edit ? state.edit : combo);
  if (!stateOf<ComboBoxState>(combo)) return 0;
  dropList(combo);
  return 0;
}

LRESULT comboMessage(HWND combo, ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return create(combo, state, *reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
      if (state.dropped && GetCapture() == state.list) ReleaseCapture();
      state.dropped = false;
      if (state.list && comboKind(combo) != ComboKind::Simple) DestroyWindow(state.list);
      if (auto* current = stateOf<ComboBoxState>(combo)) current->list = nullptr;
      return 0;
    case WM_SIZE:
      layOut(combo, state);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (state.dropped ? DLGC_WANTMESSAGE : 0);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(combo, &ps);
      if (hdc) paintComboBox(combo, hdc, state);
      EndPaint(combo, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_SETFONT:
      state.font = reinterpret_cast<HFONT>(wParam);
      SendMessageW(state.list, WM_SETFONT, wParam, lParam);
      if (state.edit) SendMessageW(state.edit, WM_SETFONT, wParam, lParam);
      if (auto* current = stateOf<ComboBoxState>(combo)) setFieldHeight(combo, *current, fieldHeightFor(combo, current->font));
      if (lParam) InvalidateRect(combo, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state.font);
    case WM_ENABLE:
      if (state.edit) EnableWindow(state.edit, static_cast<BOOL>(wParam));
      InvalidateRect(combo, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      if (state.edit) {
        SetFocus(state.edit);
        return 0;
      }
      comboFocusGained(combo);
      return 0;
    case WM_KILLFOCUS:
      if (!state.edit) comboFocusLost(combo);  // with an edit the focus only passed through
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return stylusDown(combo, state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!comboKey(combo, wParam, false, message == WM_SYSKEYDOWN) && message == WM_SYSKEYDOWN) return DefWindowProcW(combo, message, wParam, lParam);
      return 0;
    case WM_CHAR:
      if (!state.edit) SendMessageW(state.list, WM_CHAR, wParam, lParam);  // type-ahead
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == state.list) listNotified(combo, HIWORD(wParam));
      else if (state.edit && reinterpret_cast<HWND>(lParam) == state.edit) editNotified(combo, HIWORD(wParam));
      return 0;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (state.edit) return SendMessageW(state.edit, message, wParam, lParam);
      return DefWindowProcW(combo, message, wParam, lParam);
    case WM_SETTEXT: return setText(combo, state, lParam);
    case WM_AUTOMATION_STATE: describe(combo, state, automationStateOf(lParam)); return 0;
    case CB_ADDSTRING: return forwardToList(state, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING: return forwardToList(state, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: return selectionMessage(combo, state, LB_DELETESTRING, wParam, lParam);
    case CB_RESETCONTENT:
      SendMessageW(state.list, LB_RESETCONTENT, 0, 0);
      if (auto* current = stateOf<ComboBoxState>(combo)) showSelection(combo, *current);
      return CB_OKAY;
    case CB_GETCOUNT: return forwardToList(state, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL: return forwardToList(state, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL: return selectionMessage(combo, state, LB_SETCURSEL, wParam, 0);
    case CB_GETLBTEXT: return forwardToList(state, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return forwardToList(state, LB_GETTEXTLEN, wParam, 0);
    case CB_FINDSTRING: return forwardToList(state, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return forwardToList(state, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: return selectionMessage(combo, state, LB_SELECTSTRING, wParam, lParam);
    case CB_SETITEMDATA: return forwardToList(state, LB_SETITEMDATA, wParam, lParam);
    case CB_GETITEMDATA: return forwardToList(state, LB_GETITEMDATA, wParam, 0);
    case CB_GETTOPINDEX: return forwardToList(state, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return forwardToList(state, LB_SETTOPINDEX, wParam, 0);
    case CB_INITSTORAGE: return forwardToList(state, LB_INITSTORAGE, wParam, lParam);
    case CB_SHOWDROPDOWN:
      if (wParam) dropList(combo);
      else closeList(combo, true, true);
      return TRUE;
    case CB_GETDROPPEDSTATE: return state.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam) return CB_ERR;
      *reinterpret_cast<RECT*>(lParam) = droppedRect(combo, state);
      return TRUE;
    case CB_GETITEMHEIGHT:
      if (static_cast<int>(wParam) == -1) return state.fieldHeight;
      return forwardToList(state, LB_GETITEMHEIGHT, 0, 0);
    case CB_SETITEMHEIGHT: {
      const int height = static_cast<int>(lParam);
      if (height <= 0 || height > 255) return CB_ERR;
      if (static_cast<int>(wParam) == -1) {
        setFieldHeight(combo, state, height);
        return CB_OKAY;
      }
      return forwardToList(state, LB_SETITEMHEIGHT, 0, lParam);
    }
    case CB_SETEXTENDEDUI:
      state.extendedUI = wParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI: return state.extendedUI ? TRUE : FALSE;
    case CB_GETDROPPEDWIDTH: {
      RECT window{};
      GetWindowRect(combo, &window);
      return std::max<LRESULT>(state.droppedWidth, window.right - window.left);
    }
    case CB_SETDROPPEDWIDTH: {
      const int width = static_cast<int>(wParam);
      if (width < 0 || width > 0x7FFF) return CB_ERR;
      state.droppedWidth = width;
      RECT window{};
      GetWindowRect(combo, &window);
      return std::max<LRESULT>(width, window.right - window.left);
    }
    case CB_LIMITTEXT:
    case CB_GETEDITSEL:
    case CB_SETEDITSEL:
      return state.edit ? editMessage(state, message, wParam, lParam) : CB_ERR;
    default: return DefWindowProcW(combo, message, wParam, lParam);
  }
}

LRESULT CALLBACK comboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state = attachState<ComboBoxState>(combo);
    // A scroll bar asked of the combo is its list's.
    const LONG style = GetWindowLongW(combo, GWL_STYLE);
    state->scrollBar = (style & WS_VSCROLL) != 0;
    if (style & (WS_VSCROLL | WS_HSCROLL)) SetWindowLongW(combo, GWL_STYLE, style & ~(WS_VSCROLL | WS_HSCROLL));
  }
  ComboBoxState* state = stateOf<ComboBoxState>(combo);
  if (!state) return DefWindowProcW(combo, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    detachState<ComboBoxState>(combo);
    return DefWindowProcW(combo, message, wParam, lParam);
  }
  return comboMessage(combo, *state, message, wParam, lParam);
}

}  // namespace

WNDCLASSW comboBoxClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_PARENTDC;
  c.lpfnWndProc = comboProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"COMBOBOX";
  return c;
}

}  // namespace handheld::user::controls
