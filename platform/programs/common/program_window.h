// The main window of a small device program: registered, made full screen, shown, and run with
// dialog keys (Tab between its controls) until the program quits.
#pragma once

#include <windows.h>

// Returns the exit code of the quit message, or 1 when the window cannot be made.
int RunProgramWindow(HINSTANCE instance, LPCWSTR className, WNDPROC procedure, LPCWSTR title, int show);
