// What a device program receives at its start: its module, its command line, its show state.
#pragma once

#include <windows.h>

namespace handheld::kernel {

struct ProcessStart {
  HINSTANCE instance;
  LPWSTR commandLine;  // lives until the process ends
  int showCommand;
};

// Connects the process to its device (exits with a message when there is none) and returns
// the arguments of WinMain.
ProcessStart startDeviceProcess(int argc, char** argv);

}  // namespace handheld::kernel
