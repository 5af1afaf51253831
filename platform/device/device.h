// One running device: the server with every service of the device, on one root.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "clipboard_service.h"
#include "clock_service.h"
#include "display/display_service.h"
#include "info_page.h"
#include "log.h"
#include "notification_service.h"
#include "object_service.h"
#include "process_service.h"
#include "registry_service.h"
#include "server.h"
#include "startup_programs.h"
#include "sound/sound_service.h"
#include "windows/window_system.h"

namespace handheld::device {

struct DeviceOptions {
  std::filesystem::path root;
  bool headless = true;
  std::string screen = "qvga";
  int scale = 0;  // the desktop window's; 0: 2 for QVGA, 1 for VGA
  bool startupPrograms = true;  // start the programs HKLM\Init lists (the shell)
};

class Device {
 public:
  Device(DeviceOptions options, Log& log);
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  bool start(std::string& error);
  void run();
  void requestStop();
  EventLoop& loop() { return server_.loop(); }

 private:
  uint32_t allocateWindowSlot();

  DeviceOptions options_;
  Log& log_;
  Server server_;
  InfoPage info_;
  ClockService clock_;
  RegistryService registry_;
  ObjectService objects_;
  ProcessService processes_;
  NotificationService notifications_;
  DisplayService display_;
  WindowSystem windows_;
  ClipboardService clipboard_;
  StartupPrograms startup_;
  SoundService sound_;
  std::vector<bool> slotsInUse_;
  uint32_t nextSlot_ = 1;
};

}  // namespace handheld::device
