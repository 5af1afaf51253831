// What every standard control shares: its state behind a pointer in the first extra bytes,
// notifications to the parent, the parent's colours (WM_CTLCOLOR...), its font, and the
// device's line width.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::user::controls {

// Extra bytes of a control class: the state pointer.
inline constexpr int kStateExtraBytes = sizeof(void*);

template <class State>
State* stateOf(HWND control) {
  return reinterpret_cast<State*>(GetWindowLongPtrW(control, 0));
}
// Made at WM_NCCREATE, freed at WM_NCDESTROY.
template <class State>
State* attachState(HWND control) {
  auto* state = new State{};
  SetWindowLongPtrW(control, 0, reinterpret_cast<LONG_PTR>(state));
  return state;
}
template <class State>
void detachState(HWND control) {
  delete stateOf<State>(control);
  SetWindowLongPtrW(control, 0, 0);
}

// How long the stylus rests on a spot before it counts as held (tooltips, context menus).
inline constexpr UINT kHoldTimeMs = 500;

// WM_COMMAND with the control's id and the notification code to its parent.
void notifyParent(HWND control, WORD code);
// WM_NOTIFY to the parent (common controls): fills the header's sender, id and code and
// returns the parent's answer (0 without a parent).
LRESULT notifyParent(HWND control, NMHDR& header, UINT code);
// Sends `message` (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, ...) to the parent, which sets the DC's
// colours and returns the background brush; a parent that returns none gets the defaults.
HBRUSH controlColors(HWND control, HDC hdc, UINT message);
// The device's colours for a kind of control: black text on white.
HBRUSH defaultColors(HDC hdc, UINT message);
// The control's font, or the dialog font when it was given none.
HFONT fontOr(HFONT font);
// Whether a key is held down as the thread's input stands (shift and control with a tap).
inline bool keyHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }
// One line's width on this screen (SM_CXBORDER: 1 at QVGA, 2 at VGA).
int lineWidth();
// The window text.
std::u16string controlText(HWND control);

}  // namespace handheld::user::controls
