#include "fs/root.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <mutex>

#include "fs/host_error.h"
#include "os/device_root.h"

namespace handheld::fs {

Result<std::shared_ptr<const DeviceRoot>> DeviceRoot::open(const std::filesystem::path& hostPath) {
  os::UniqueFd fd(::open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return Error{errorFromErrno(errno, ERROR_PATH_NOT_FOUND)};
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Error{errorFromErrno(errno)};
  if (st.st_uid == ::geteuid() && (st.st_mode & 077) != 0) ::fchmod(fd.get(), 0700);
  return std::shared_ptr<const DeviceRoot>(new DeviceRoot(std::move(fd), hostPath));
}

namespace {

struct ProcessRoot {
  std::mutex lock;
  std::shared_ptr<const DeviceRoot> root;
};

ProcessRoot& processRootState() {
  static ProcessRoot* state = new ProcessRoot;  // outlives static destructors of callers
  return *state;
}

}  // namespace

Result<std::shared_ptr<const DeviceRoot>> processRoot() {
  auto& state = processRootState();
  std::lock_guard guard(state.lock);
  if (state.root) return state.root;
  auto opened = DeviceRoot::open(os::chooseDeviceRoot());
  if (opened) state.root = *opened;
  return opened;
}

DWORD useProcessRoot(const std::filesystem::path& hostPath) {
  auto opened = DeviceRoot::open(std::filesystem::absolute(hostPath));
  if (!opened) return opened.error();
  auto& state = processRootState();
  std::lock_guard guard(state.lock);
  state.root = *opened;
  return ERROR_SUCCESS;
}

}  // namespace handheld::fs
