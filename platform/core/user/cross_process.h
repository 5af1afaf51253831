// Which messages may cross a process boundary. Only the integer values of wParam and lParam
// travel, so a system message whose parameters are pointers cannot; nor may another process
// drive the platform's own controls, whose messages from WM_USER up carry pointers too.
#pragma once

#include <windows.h>

namespace handheld::user {

// System messages (below WM_USER) that carry a pointer; they may not be posted either.
bool carriesPointers(UINT message, WPARAM wParam, LPARAM lParam);
// Whether a message that came from another process may reach the window (under the lock).
bool acceptsFromOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace handheld::user
