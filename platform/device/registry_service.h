// The registry as the device serves it: the store, its hive file, and the device settings
// that live in it (locale, time zone, processor) mirrored into the info page.
#pragma once

#include "clock_service.h"
#include "info_page.h"
#include "registry/registry_store.h"
#include "server.h"
#include "state_saver.h"

namespace handheld::device {

class RegistryService {
 public:
  RegistryService(Server& server, InfoPage& info, ClockService& clock);
  RegistryService(const RegistryService&) = delete;
  RegistryService& operator=(const RegistryService&) = delete;
  registry::RegistryStore& store() { return store_; }

 private:
  void registerHandlers();
  void mirrorDeviceSettings();

  Server& server_;
  InfoPage& info_;
  ClockService& clock_;
  registry::RegistryStore store_;
  StateSaver saver_;
};

}  // namespace handheld::device
