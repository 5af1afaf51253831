// The entry point of every device program: connect to the device, then WinMain.
#include <windows.h>

#include "kernel/process_start.h"
#include "user/device_link.h"

int main(int argc, char** argv) {
  auto start = handheld::kernel::startDeviceProcess(argc, argv);
  handheld::user::attachMainThread();
  int code = WinMain(start.instance, nullptr, start.commandLine, start.showCommand);
  return handheld::kernel::finishDeviceProcess(code);
}
