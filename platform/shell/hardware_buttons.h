// The hardware buttons: hot keys of the navigation bar, each doing what the button table
// names when it is pressed.
#pragma once

#include <windows.h>

namespace handheld::shell {

// Registers VK_APP1 ... VK_APP6; false when none could be registered.
bool registerHardwareButtons(HWND window);
// WM_HOTKEY's key: reads the table at the time of the press, so a change applies at once.
void hardwareButtonPressed(UINT key);

}  // namespace handheld::shell
