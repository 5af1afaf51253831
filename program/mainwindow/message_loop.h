// The program's one message loop; returns the exit code of WM_QUIT.
#pragma once

#include <windows.h>

// Ctrl+Q in any window of the program closes `mainWindow`, which ends the program.
int RunMessageLoop(HWND mainWindow);
