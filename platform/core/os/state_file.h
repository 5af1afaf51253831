// The device's own state files (hive, clock, notifications, lock), opened so that whatever
// was put at their path cannot stall or mislead the server: a link is not followed, a FIFO
// or device node does not block the open, and only a regular file is accepted.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "os/unique_fd.h"

namespace handheld::os {

struct StateFileOpen {
  UniqueFd fd;              // set on success
  int error = 0;            // errno of a failed open (ENOENT: nothing there)
  bool notRegular = false;  // a link, folder, FIFO, socket or device node is there
};

// `flags` is O_RDONLY or O_RDWR, optionally with O_CREAT (mode 0600). The descriptor is
// close-on-exec and blocking again once it is known to be a regular file.
StateFileOpen openStateFile(const std::filesystem::path& file, int flags);

struct StateFileText {
  enum class Kind { Read, Missing, Refused } kind = Kind::Missing;
  std::string text;     // Read: the whole file
  std::string problem;  // Refused: why, e.g. "is not a regular file"
};

// Reads a whole state file of at most maxBytes.
StateFileText readStateFile(const std::filesystem::path& file, std::size_t maxBytes);

// Renames a damaged or foreign state file to <name>.damaged-<YYYYmmdd-HHMMSS> (host local
// time) beside it, never over an earlier one, so that nothing is lost. On failure `problem`
// says why.
std::optional<std::filesystem::path> setAsideStateFile(const std::filesystem::path& file,
                                                       std::string& problem);

}  // namespace handheld::os
