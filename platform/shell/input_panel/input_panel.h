// The input panel window of the shell: the on-screen keyboard.
#pragma once

#include <windows.h>

namespace handheld::shell {

// A hidden top-level panel just above the menu-bar area at the bottom of the screen. It shows
// itself while the device's input panel is up and hides while it is down; it never takes the
// activation or the focus, and its keys reach the focus window as the hardware keyboard's do.
// Null when the window cannot be made.
HWND createInputPanel(HINSTANCE instance);

}  // namespace handheld::shell
