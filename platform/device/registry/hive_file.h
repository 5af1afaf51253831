// The hive on disk: <root>/.device/registry.reg. Saving is atomic; loading never fails,
// falling back to the default hive and saying why.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "os/atomic_file.h"
#include "registry/registry_store.h"

namespace handheld::device::registry {

std::filesystem::path hivePath(const std::filesystem::path& deviceRoot);

struct LoadedHive {
  enum class Source {
    File,     // the hive file, as saved
    Default,  // no hive yet: the default hive
    Damaged,  // the hive was damaged and set aside: the default hive
  };
  RegistryStore store;
  Source source = Source::File;
  // One line for the server's log; empty when the file loaded cleanly. For a damaged hive it
  // names the problem (with its line) and where the file was moved.
  std::string message;
};

// A damaged hive (unreadable, too large, not a regular file, any parse error, cut short) is
// renamed to registry.reg.damaged-<YYYYmmdd-HHMMSS> (host local time) beside it, so that
// nothing is lost; a FIFO or device node there is never waited on. When the source is not
// File the caller should save the store it got.
LoadedHive loadHive(const std::filesystem::path& deviceRoot, const RegistryLimits& limits = {});

// Writes a temporary file in the same folder, syncs it, renames it over the hive and syncs
// the folder, so that a crash leaves either the old hive or the new one. Creates the device
// folder (mode 0700) when missing. Returns the failure (errno and a line for the log), or
// nothing.
std::optional<os::FileWriteError> saveHive(const std::filesystem::path& deviceRoot,
                                           const RegistryStore& store);

}  // namespace handheld::device::registry
