// The library's one export: the program's start-up registers the control's classes with it.
#include <windows.h>

#include "ink_control.h"

extern "C" BOOL WINAPI InitInkX() { return handheld::inkx::registerInkClasses() ? TRUE : FALSE; }
