// Reading a host folder as the device sees it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fs/result.h"

namespace handheld::fs {

struct FolderEntry {
  std::string hostName;
  std::u16string deviceName;
};

// The entries of an open folder that a device path can name, in host order. Host names that
// no device path could spell are left out, and so is the device's state folder in the root.
Result<std::vector<FolderEntry>> readFolder(int folderFd, bool isRoot);

// The host name of the entry of `folderFd` whose device name equals `name` ignoring case.
Result<std::optional<std::string>> findEntry(int folderFd, std::u16string_view name);

}  // namespace handheld::fs
