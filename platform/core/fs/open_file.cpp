#include "fs/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fs/device_path.h"
#include "fs/file_info.h"
#include "fs/host_error.h"
#include "fs/root.h"
#include "fs/share_lock.h"

namespace handheld::fs {

namespace {

bool isValidDisposition(DWORD disposition) {
  return disposition >= CREATE_NEW && disposition <= TRUNCATE_EXISTING;
}

bool mayCreate(DWORD disposition) {
  return disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
}

bool truncates(DWORD disposition) {
  return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

// Opens a link as ELOOP, never through it; O_NONBLOCK keeps a FIFO from blocking the open
// and stays on, since it has no effect on a regular file (open(2)), the only kind kept.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

}  // namespace

DWORD OpenFile::read(void* buffer, size_t size, size_t& done) const {
  done = 0;
  while (done < size) {
    ssize_t n = ::read(fd(), static_cast<char*>(buffer) + done, size - done);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errorFromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  return ERROR_SUCCESS;
}

DWORD OpenFile::write(const void* buffer, size_t size, size_t& done) const {
  done = 0;
  while (done < size) {
    ssize_t n = ::write(fd(), static_cast<const char*>(buffer) + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errorFromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  return ERROR_SUCCESS;
}

Result<Opened> openFile(std::u16string_view devicePath, const OpenRequest& request) {
  if (!isValidDisposition(request.disposition)) return Error{ERROR_INVALID_PARAMETER};
  bool writes = (request.access & (GENERIC_WRITE | GENERIC_ALL)) != 0;
  if (request.disposition == TRUNCATE_EXISTING && !writes) return Error{ERROR_INVALID_PARAMETER};

  auto root = processRoot();
  if (!root) return Error{root.error()};

  // Truncation needs a writable descriptor even for a read-only handle; write-only handles
  // read too on the host, because share-mode locks are read locks.
  bool modifies = writes || truncates(request.disposition);
  int flags = kOpenFlags | (modifies ? O_RDWR : O_RDONLY);
  if (request.flags & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;

  // An existing file spelled exactly opens in one call; anything else is resolved name by name.
  os::UniqueFd fd = openExactly(**root, devicePath, flags);
  bool created = false;
  if (fd && request.disposition == CREATE_NEW) return Error{ERROR_FILE_EXISTS};
  if (!fd) {
    auto entry = resolve(**root, devicePath, Mode::MayBeNew);
    if (!entry) return Error{entry.error()};
    if (entry->isRoot()) return Error{ERROR_ACCESS_DENIED};
    const char* name = entry->name.c_str();
    if (mayCreate(request.disposition)) {
      fd.reset(::openat(entry->folder.get(), name, flags | O_CREAT | O_EXCL, 0600));
      created = fd.valid();
      if (!created && errno != EEXIST) return Error{errorFromErrno(errno, ERROR_PATH_NOT_FOUND)};
      if (!created && request.disposition == CREATE_NEW) return Error{ERROR_FILE_EXISTS};
    }
    if (!created) {
      fd.reset(::openat(entry->folder.get(), name, flags));
      if (!fd) return Error{errorFromErrno(errno)};
    }
  }

  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Error{errorFromErrno(errno)};
  if (!S_ISREG(st.st_mode)) return Error{ERROR_ACCESS_DENIED};
  // The read-only attribute is the owner's write bit; checked here because root ignores it.
  if (!created && modifies && (st.st_mode & S_IWUSR) == 0) return Error{ERROR_ACCESS_DENIED};

  unsigned uses = usesOfAccess(request.access);
  if (!created && truncates(request.disposition)) uses |= kUseWrite;
  if (uses != 0) {
    DWORD sharing = claimSharing(fd.get(), uses, deniesOfShareMode(request.share));
    if (sharing != ERROR_SUCCESS) return Error{sharing};
  }

  if (created) {
    recordCreationTime(fd.get());
    if (request.flags & FILE_ATTRIBUTE_READONLY) ::fchmod(fd.get(), 0400);
  } else if (truncates(request.disposition) && ::ftruncate(fd.get(), 0) != 0) {
    return Error{errorFromErrno(errno)};
  }

  Opened opened;
  opened.file = std::make_shared<OpenFile>(std::move(fd), request.access);
  opened.existed =
      !created && request.disposition != OPEN_EXISTING && request.disposition != TRUNCATE_EXISTING;
  return opened;
}

}  // namespace handheld::fs
