// Where a device lives on the host: its root folder and the server's socket inside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "os/unique_fd.h"

namespace handheld::os {

// The root chosen by, in this order: an explicit --root, HANDHELD_ROOT, the folder two levels
// above HANDHELD_SOCKET, and $XDG_DATA_HOME/handheld/default (~/.local/share/...).
std::filesystem::path chooseDeviceRoot(const std::optional<std::string>& explicitRoot = {});

inline std::filesystem::path deviceStateDir(const std::filesystem::path& root) {
  return root / ".device";
}
inline std::filesystem::path deviceStateFile(const std::filesystem::path& root, const char* name) {
  return deviceStateDir(root) / name;
}
// The state folder of the root open as `rootFd`, never through a link: an invalid descriptor
// with errno ELOOP or ENOTDIR when `.device` is a link or no folder.
UniqueFd openDeviceStateDir(int rootFd);

inline std::filesystem::path deviceSocketPath(const std::filesystem::path& root) {
  return deviceStateDir(root) / "socket";
}

}  // namespace handheld::os
