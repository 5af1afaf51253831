// Starting and stopping a device server from outside it (handheld-ctl, tests).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace handheld::automation {

struct StartOptions {
  std::filesystem::path root;
  std::filesystem::path deviceBinary;  // the handheld-device program
  bool headless = true;
  std::string screen = "qvga";
  int scale = 0;  // the desktop window's zoom; 0: the device's default
  int readyTimeoutMs = 20000;
  bool startupPrograms = true;  // false: the device starts without its shell
  // A process whose end stops the device too (a test ties its device to itself); 0: none.
  pid_t endWithProcess = 0;
};

// Starts the device in the background and returns once it accepts requests; false with the
// reason otherwise (already running, bad root, the device's own message).
bool startDevice(const StartOptions& options, std::string& error);
// Asks the device to stop and waits until its socket is gone; false when none was running.
bool stopDevice(const std::filesystem::path& root, std::string& error);
// Installs the executable `hostFile` at `devicePath` of the root as a program of its image
// (`handheld-device --install`), so the launcher starts it; false with the device's reason.
bool installProgram(const std::filesystem::path& deviceBinary, const std::filesystem::path& root,
                    const std::filesystem::path& hostFile, const std::string& devicePath,
                    std::string& error);
// The handheld-device beside the running program (build/bin).
std::filesystem::path deviceBinaryBesideSelf();

}  // namespace handheld::automation
