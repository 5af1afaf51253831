#include "fs/share_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdint>

namespace handheld::fs {

namespace {

constexpr off_t kUseBytes = INT64_MAX - 16;  // byte of use u: kUseBytes + bit index
constexpr off_t kDenyBytes = INT64_MAX - 8;
constexpr unsigned kAllUses[] = {kUseRead, kUseWrite, kUseDelete};

off_t byteOf(off_t base, unsigned use) { return base + __builtin_ctz(use); }

bool lockedByOther(int fd, off_t byte) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  if (::fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;  // no locks on this file system
  return lock.l_type != F_UNLCK;
}

void holdShared(int fd, off_t byte) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  ::fcntl(fd, F_OFD_SETLK, &lock);  // only shared locks are placed here: never conflicts
}

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

ShareGuard::ShareGuard(int fd) : fd_(fd) {
  int result;
  do {
    result = ::flock(fd_, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  held_ = result == 0;
}

ShareGuard::~ShareGuard() {
  if (held_) ::flock(fd_, LOCK_UN);
}

bool sharingConflicts(int fd, unsigned uses, unsigned denies) {
  for (unsigned use : kAllUses) {
    if ((uses & use) && lockedByOther(fd, byteOf(kDenyBytes, use))) return true;
    if ((denies & use) && lockedByOther(fd, byteOf(kUseBytes, use))) return true;
  }
  return false;
}

DWORD claimSharing(int fd, unsigned uses, unsigned denies) {
  ShareGuard guard(fd);
  if (sharingConflicts(fd, uses, denies)) return ERROR_SHARING_VIOLATION;
  for (unsigned use : kAllUses) {
    if (uses & use) holdShared(fd, byteOf(kUseBytes, use));
    if (denies & use) holdShared(fd, byteOf(kDenyBytes, use));
  }
  return ERROR_SUCCESS;
}

}  // namespace handheld::fs
