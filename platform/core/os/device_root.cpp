#include "os/device_root.h"

#include <fcntl.h>

#include <cstdlib>

namespace handheld::os {

namespace {
std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}
}  // namespace

std::filesystem::path chooseDeviceRoot(const std::optional<std::string>& explicitRoot) {
  if (explicitRoot && !explicitRoot->empty()) return std::filesystem::absolute(*explicitRoot);
  if (auto root = env("HANDHELD_ROOT")) return std::filesystem::absolute(*root);
  if (auto socket = env("HANDHELD_SOCKET"))
    return std::filesystem::path(*socket).parent_path().parent_path();
  std::filesystem::path data;
  if (auto xdg = env("XDG_DATA_HOME")) {
    data = *xdg;
  } else if (auto home = env("HOME")) {
    data = std::filesystem::path(*home) / ".local" / "share";
  } else {
    data = std::filesystem::temp_directory_path();
  }
  return data / "handheld" / "default";
}

UniqueFd openDeviceStateDir(int rootFd) {
  return UniqueFd(::openat(rootFd, ".device", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

}  // namespace handheld::os
