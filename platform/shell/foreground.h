// What the server tells the shell of the foreground window: its handle, process, title and
// shell state. The server pushes every change; the shell never asks in a loop.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::shell {

struct ForegroundWindow {
  HWND window = nullptr;
  DWORD pid = 0;
  std::u16string title;
  bool doneButton = false;
  bool taskBarHidden = false;
  bool sipButtonHidden = false;
  bool startIconHidden = false;
};

// From now on `message` is posted to `notify` after each change; the first comes at once.
void watchForeground(HWND notify, UINT message);
// The latest state the server pushed.
ForegroundWindow currentForeground();

}  // namespace handheld::shell
