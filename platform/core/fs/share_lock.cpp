#include "fs/share_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdint>

#include "fs/host_error.h"
#include "fs/root.h"
#include "os/unique_fd.h"

namespace handheld::fs {

namespace {

constexpr off_t kUseBytes = INT64_MAX - 16;  // byte of use u: kUseBytes + bit index
constexpr off_t kDenyBytes = INT64_MAX - 8;
constexpr unsigned kAllUses[] = {kUseRead, kUseWrite, kUseDelete};
constexpr unsigned kEveryUse = kUseRead | kUseWrite | kUseDelete;

off_t byteOf(off_t base, unsigned use) { return base + __builtin_ctz(use); }

// Whether a whole-file flock is held by another open description: false when taken, and
// when the file system has no flock.
bool flockBusy(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result != 0 && errno == EWOULDBLOCK;
}

bool lockedByOther(int fd, off_t byte) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  if (::fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;  // no locks on this file system
  return lock.l_type != F_UNLCK;
}

// False only when a write lock (never placed by the device) is in the way.
bool holdShared(int fd, off_t byte) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0 || (errno != EAGAIN && errno != EACCES);
}

bool conflicts(int fd, unsigned uses, unsigned denies) {
  for (unsigned use : kAllUses) {
    if ((uses & use) && lockedByOther(fd, byteOf(kDenyBytes, use))) return true;
    if ((denies & use) && lockedByOther(fd, byteOf(kUseBytes, use))) return true;
  }
  return false;
}

// The device-wide section for a test and claim: an exclusive flock on a description of the
// root of its own, so threads of one process exclude each other too. Waits (blocking, never
// spinning) while another claim runs.
class ClaimSection {
 public:
  ClaimSection() {
    auto root = processRoot();
    if (!root) {
      error_ = root.error();
      return;
    }
    fd_.reset(::openat((*root)->fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd_) {
      error_ = errorFromErrno(errno);
      return;
    }
    int result;
    do {
      result = ::flock(fd_.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
  }
  DWORD error() const { return error_; }  // closing fd_ ends the section

 private:
  os::UniqueFd fd_;
  DWORD error_ = ERROR_SUCCESS;
};

}  // namespace

unsigned usesOfAccess(DWORD access) {
  unsigned uses = 0;
  if (access & (GENERIC_READ | GENERIC_EXECUTE | GENERIC_ALL)) uses |= kUseRead;
  if (access & (GENERIC_WRITE | GENERIC_ALL)) uses |= kUseWrite;
  return uses;
}

unsigned deniesOfShareMode(DWORD share) {
  unsigned denies = 0;
  if (!(share & FILE_SHARE_READ)) denies |= kUseRead;
  if (!(share & FILE_SHARE_WRITE)) denies |= kUseWrite;
  if (!(share & FILE_SHARE_DELETE)) denies |= kUseDelete;
  return denies;
}

DWORD claimSharing(int fd, unsigned uses, unsigned denies) {
  if ((denies & kEveryUse) == kEveryUse) {
    return flockBusy(fd, LOCK_EX) ? ERROR_SHARING_VIOLATION : ERROR_SUCCESS;
  }
  if (flockBusy(fd, LOCK_SH)) return ERROR_SHARING_VIOLATION;
  ClaimSection section;
  if (section.error() != ERROR_SUCCESS) return section.error();
  if (conflicts(fd, uses, denies)) return ERROR_SHARING_VIOLATION;
  for (unsigned use : kAllUses) {
    if ((uses & use) && !holdShared(fd, byteOf(kUseBytes, use))) return ERROR_SHARING_VIOLATION;
    if ((denies & use) && !holdShared(fd, byteOf(kDenyBytes, use))) return ERROR_SHARING_VIOLATION;
  }
  return ERROR_SUCCESS;
}

}  // namespace handheld::fs
