#include "kernel/process_start.h"

#include <cstdlib>
#include <string>

#include "ipc/client.h"
#include "strings/utf.h"

namespace handheld::kernel {

namespace {
std::u16string* g_commandLine = nullptr;  // lives until the process ends
}

ProcessStart startDeviceProcess(int argc, char** argv) {
  auto& device = ipc::DeviceClient::get();  // exits with a message when there is no device
  g_commandLine = new std::u16string(device.commandLine());
  if (device.modulePath().empty()) {
    // Started by hand rather than by the device: the arguments are the command line.
    std::string joined;
    for (int i = 1; i < argc; ++i) joined += (i > 1 ? " " : "") + std::string(argv[i]);
    *g_commandLine = strings::fromUtf8(joined);
  } else {
    setenv("HANDHELD_MODULE", strings::toUtf8(device.modulePath()).c_str(), 1);
  }
  return {GetModuleHandleW(nullptr), g_commandLine->data(), 1 /* SW_SHOWNORMAL */};
}

LPWSTR processCommandLine() {
  static char16_t empty[1] = {0};
  return g_commandLine ? g_commandLine->data() : empty;
}

void announceExit(uint32_t exitCode) {
  if (auto* device = ipc::DeviceClient::tryGet()) device->notify(ipc::ProcessExiting{exitCode});
}

int finishDeviceProcess(int exitCode) {
  announceExit(static_cast<uint32_t>(exitCode));
  return exitCode;
}

}  // namespace handheld::kernel
