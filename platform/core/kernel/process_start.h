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
// Tells the device the code the process ends with (exit statuses only keep 8 bits).
void announceExit(uint32_t exitCode);
// After WinMain: announces the exit code and returns it for main.
int finishDeviceProcess(int exitCode);
// What GetCommandLineW answers.
LPWSTR processCommandLine();

}  // namespace handheld::kernel
