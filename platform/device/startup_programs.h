// The programs the device starts by itself: the REG_SZ values "Launch<n>" of HKLM\Init, in
// the order of n (0-99), each a device path started without a command line. A start-up
// program that fails to start or ends is logged; the device goes on without it.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "process_service.h"
#include "registry/registry_store.h"
#include "server.h"

namespace handheld::device {

struct StartupEntry {
  uint32_t order = 0;
  std::u16string path;
};

// The entries of HKLM\Init in launch order; values of another type or name are left out.
std::vector<StartupEntry> readStartupList(const registry::RegistryStore& store);

class StartupPrograms {
 public:
  StartupPrograms(Server& server, ProcessService& processes, registry::RegistryStore& store);
  void launchAll();

 private:
  Server& server_;
  ProcessService& processes_;
  registry::RegistryStore& store_;
  std::set<uint32_t> started_;
};

}  // namespace handheld::device
