// The input panel's window: hidden until the panel goes up.
#pragma once

#include <windows.h>

namespace handheld::shell {

HWND createInputPanel(HINSTANCE instance);

}  // namespace handheld::shell
