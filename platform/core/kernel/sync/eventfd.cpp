#include "kernel/sync/eventfd.h"

#include <sys/eventfd.h>
#include <unistd.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

namespace handheld::kernel {

os::UniqueFd newEventFd(unsigned initialCount) {
  os::UniqueFd fd(eventfd(initialCount, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!fd)
    SetLastError(errno == EMFILE || errno == ENFILE ? ERROR_TOO_MANY_OPEN_FILES
                                                    : ERROR_NOT_ENOUGH_MEMORY);
  return fd;
}

void raiseEventFd(int fd) {
  const uint64_t one = 1;
  // EAGAIN: the counter is at its limit, which still polls readable.
  while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void drainEventFd(int fd) {
  uint64_t taken = 0;
  // EAGAIN means zero already.
  while (read(fd, &taken, sizeof taken) < 0 && errno == EINTR) {
  }
}

}  // namespace handheld::kernel
