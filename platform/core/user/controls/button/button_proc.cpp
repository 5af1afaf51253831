// The button's window procedure: state, stylus, keys and notifications.
#include "user/controls/automation_state.h"
#include "user/controls/button/button.h"
#include "user/controls/control_support.h"

namespace handheld::user::controls {

namespace {

UINT typeOf(HWND button) { return static_cast<UINT>(GetWindowLongW(button, GWL_STYLE)) & BS_TYPEMASK; }

bool isCheckBox(UINT type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool isRadio(UINT type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool hasThreeStates(UINT type) { return type == BS_3STATE || type == BS_AUTO3STATE; }

UINT dialogCodeOf(UINT type) {
  switch (type) {
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
  }
}

void redraw(HWND button) { InvalidateRect(button, nullptr, FALSE); }

void setPushed(HWND button, ButtonState& state, bool pushed) {
  if (state.pushed == pushed) return;
  state.pushed = pushed;
  redraw(button);
}

// A checked radio button is the group's tab stop; the others are not.
void setCheck(HWND button, ButtonState& state, WPARAM check) {
  const UINT type = typeOf(button);
  if (!isCheckBox(type) && !isRadio(type)) return;
  UINT value = static_cast<UINT>(check);
  if (value > (hasThreeStates(type) ? BST_INDETERMINATE : BST_CHECKED)) value = hasThreeStates(type) ? BST_INDETERMINATE : BST_CHECKED;
  if (isRadio(type)) {
    LONG style = GetWindowLongW(button, GWL_STYLE);
    LONG wanted = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    if (wanted != style) SetWindowLongW(button, GWL_STYLE, wanted);
  }
  if (state.check == value) return;
  state.check = value;
  redraw(button);
}

// The automatic radio buttons of the group lose their check when one takes it.
void checkInGroup(HWND button) {
  HWND parent = GetParent(button);
  if (!parent) return;
  HWND start = button;
  while (!(GetWindowLongW(start, GWL_STYLE) & WS_GROUP)) {
    HWND previous = GetWindow(start, GW_HWNDPREV);
    if (!previous) break;
    start = previous;
  }
  for (HWND c = start; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c != start && (GetWindowLongW(c, GWL_STYLE) & WS_GROUP)) break;
    if (c != button && typeOf(c) == BS_AUTORADIOBUTTON) SendMessageW(c, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
}

void click(HWND button, ButtonState& state) {
  switch (typeOf(button)) {
    case BS_AUTOCHECKBOX: setCheck(button, state, state.check ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE: setCheck(button, state, (state.check + 1) % 3); break;
    case BS_AUTORADIOBUTTON: checkInGroup(button); break;
    default: break;
  }
  notifyParent(button, BN_CLICKED);
}

LRESULT paint(HWND button, const ButtonState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(button, &ps);
  if (hdc) paintButton(button, hdc, state);
  EndPaint(button, &ps);
  return 0;
}

LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<ButtonState>(button);
  ButtonState* state = stateOf<ButtonState>(button);
  if (!state) return DefWindowProcW(button, message, wParam, lParam);
  const UINT type = typeOf(button);
  switch (message) {
    case WM_NCDESTROY:
      detachState<ButtonState>(button);
      return DefWindowProcW(button, message, wParam, lParam);
    case WM_GETDLGCODE:
      return dialogCodeOf(type);
    case WM_PAINT:
      return paint(button, *state);
    case WM_ERASEBKGND:
      return TRUE;  // painting covers it all
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(button, message, wParam, lParam);
      redraw(button);
      return result;
    }
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(button);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
      redraw(button);
      return 0;
    case WM_SETFOCUS:
      state->focused = true;
      redraw(button);
      if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY) notifyParent(button, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      state->spaceDown = false;
      if (state->tracking) ReleaseCapture();
      setPushed(button, *state, false);
      redraw(button);
      if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY) notifyParent(button, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (type == BS_GROUPBOX) return 0;
      SetFocus(button);
      state = stateOf<ButtonState>(button);  // the focus notification may have ended it
      if (!state) return 0;
      SetCapture(button);
      state->tracking = true;
      setPushed(button, *state, true);
      return 0;
    case WM_MOUSEMOVE:
      if (state->tracking) {
        RECT client;
        GetClientRect(button, &client);
        setPushed(button, *state, PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!state->tracking) return 0;
      state->tracking = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(button, &client);
      const bool inside = PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      setPushed(button, *state, false);
      if (inside && IsWindow(button)) click(button, *state);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (state->tracking && reinterpret_cast<HWND>(lParam) != button) {
        state->tracking = false;
        setPushed(button, *state, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX && !state->tracking) {
        state->spaceDown = true;
        setPushed(button, *state, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && state->spaceDown) {
        state->spaceDown = false;
        setPushed(button, *state, false);
        click(button, *state);
      }
      return 0;
    case BM_GETCHECK:
      return (isCheckBox(type) || isRadio(type)) ? state->check : BST_UNCHECKED;
    case BM_SETCHECK:
      setCheck(button, *state, wParam);
      return 0;
    case BM_GETSTATE:
      return state->check | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      setPushed(button, *state, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      LONG style = GetWindowLongW(button, GWL_STYLE);
      SetWindowLongW(button, GWL_STYLE, (style & ~BS_TYPEMASK) | (static_cast<LONG>(wParam) & BS_TYPEMASK));
      if (lParam) redraw(button);
      return 0;
    }
    case WM_AUTOMATION_STATE: {
      auto& json = automationStateOf(lParam);
      if (isCheckBox(type) || isRadio(type)) json["checked"] = state->check;
      json["pushed"] = state->pushed;
      return 0;
    }
    case BM_CLICK:
      // As the stylus would: down and up at the button's corner.
      SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(button, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return DefWindowProcW(button, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW buttonClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_PARENTDC;
  c.lpfnWndProc = buttonProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"BUTTON";
  return c;
}

}  // namespace handheld::user::controls
