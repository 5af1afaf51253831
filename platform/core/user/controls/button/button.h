// The "BUTTON" class: push, default push, check boxes (two and three states, automatic or
// not), radio buttons (automatic ones within their WS_GROUP), group boxes and owner-drawn
// buttons. The stylus presses on down and clicks on up inside, holding the capture between;
// space does the same from the keyboard. Each click sends BN_CLICKED to the parent.
#pragma once

#include <windows.h>

namespace handheld::user::controls {

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool tracking = false;  // the stylus went down on it and the capture is held
  bool spaceDown = false;
};

WNDCLASSW buttonClass();
// Draws the button in its current state (button_paint.cpp).
void paintButton(HWND button, HDC hdc, const ButtonState& state);

}  // namespace handheld::user::controls
