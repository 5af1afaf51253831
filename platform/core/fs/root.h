// The device root as an open folder: every device path is resolved beneath its descriptor,
// never by host path strings.
#pragma once

#include <filesystem>
#include <memory>

#include "fs/result.h"
#include "os/unique_fd.h"

namespace handheld::fs {

class DeviceRoot {
 public:
  // Opens an existing root folder and makes it private to its owner (0700).
  static Result<std::shared_ptr<const DeviceRoot>> open(const std::filesystem::path& hostPath);

  int fd() const { return fd_.get(); }
  const std::filesystem::path& hostPath() const { return hostPath_; }

 private:
  DeviceRoot(os::UniqueFd fd, std::filesystem::path hostPath)
      : fd_(std::move(fd)), hostPath_(std::move(hostPath)) {}

  os::UniqueFd fd_;
  std::filesystem::path hostPath_;
};

// This process's root: os::chooseDeviceRoot() opened on first use and kept for the process.
// ERROR_PATH_NOT_FOUND while that folder does not exist (laying it out is the server's job).
Result<std::shared_ptr<const DeviceRoot>> processRoot();

// Replaces this process's root, for a process told its root explicitly (a server started with
// --root) and for tests that give each case a fresh root. ERROR_SUCCESS or the error.
DWORD useProcessRoot(const std::filesystem::path& hostPath);

}  // namespace handheld::fs
