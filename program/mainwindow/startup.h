// The program from its start to its end; the exit code.
#pragma once

#include <windows.h>

int RunPinnotes(HINSTANCE instance, LPCWSTR commandLine);
