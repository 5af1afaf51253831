#include "fs/beneath.h"

#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace handheld::fs {

namespace {

std::atomic<bool> kernelLacksOpenat2{false};

}  // namespace

os::UniqueFd openBeneath(int folderFd, const char* relativePath, int flags, mode_t mode) {
  if (kernelLacksOpenat2.load(std::memory_order_relaxed)) {
    errno = ENOSYS;
    return os::UniqueFd();
  }
  open_how how{};
  how.flags = static_cast<unsigned>(flags);
  how.mode = mode;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
  long fd;
  do {
    fd = ::syscall(SYS_openat2, folderFd, relativePath, &how, sizeof how);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENOSYS) kernelLacksOpenat2.store(true, std::memory_order_relaxed);
    return os::UniqueFd();
  }
  return os::UniqueFd(static_cast<int>(fd));
}

}  // namespace handheld::fs
