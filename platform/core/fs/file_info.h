// What the file APIs report about an entry: attributes, times, size and identity.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "fs/result.h"

namespace handheld::fs {

struct EntryInfo {
  DWORD attributes = 0;
  FILETIME created{}, accessed{}, written{};
  uint64_t size = 0;
  uint64_t volume = 0, index = 0;
  uint32_t links = 0;
};

// The entry `name` of `folderFd`, not following a link. Links (the device image's programs)
// are described as read-only files with their target's size and times.
Result<EntryInfo> describeEntry(int folderFd, const std::string& name);
// An open file.
Result<EntryInfo> describeOpenFile(int fd);

// Records the creation time of an entry the device just created, when the host file system
// keeps none (no statx birth time): in the extended attribute user.handheld.created. Without
// extended attributes either, the creation time reads as the last write time.
void recordCreationTime(int fd);

// Host time as FILETIME: 100 ns units since 1 January 1601 UTC.
FILETIME fileTimeFromUnix(int64_t seconds, uint32_t nanoseconds);

}  // namespace handheld::fs
