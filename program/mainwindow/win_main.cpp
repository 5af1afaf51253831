#include <windows.h>

#include "mainwindow/startup.h"

// The show state is not used: the program's main window is never shown.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  return RunPinnotes(instance, commandLine);
}
