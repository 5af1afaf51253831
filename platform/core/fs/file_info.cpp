#include "fs/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <ctime>
#include <optional>

#include "fs/host_error.h"

namespace handheld::fs {

namespace {

constexpr const char* kCreatedAttribute = "user.handheld.created";
constexpr unsigned kWanted = STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE |
                             STATX_ATIME | STATX_MTIME | STATX_BTIME;
constexpr int64_t kUnixEpochIn1601 = 11644473600;  // seconds from 1601 to 1970

FILETIME fromStatx(const statx_timestamp& t) { return fileTimeFromUnix(t.tv_sec, t.tv_nsec); }

FILETIME fromTicks(uint64_t ticks) {
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::optional<FILETIME> decodeCreated(const unsigned char (&bytes)[8], ssize_t length) {
  if (length != sizeof bytes) return std::nullopt;
  uint64_t ticks = 0;
  for (int i = 7; i >= 0; --i) ticks = (ticks << 8) | bytes[i];
  return fromTicks(ticks);
}

// The recorded creation time of an open entry (`name` empty) or of `name` in a folder, read
// through /proc/self/fd so that the folder is not walked to again by path.
std::optional<FILETIME> recordedCreationTime(int fd, const std::string& name) {
  unsigned char bytes[8];
  if (name.empty())
    return decodeCreated(bytes, ::fgetxattr(fd, kCreatedAttribute, bytes, sizeof bytes));
  std::string path = "/proc/self/fd/" + std::to_string(fd) + "/" + name;
  return decodeCreated(bytes, ::lgetxattr(path.c_str(), kCreatedAttribute, bytes, sizeof bytes));
}

EntryInfo fromStatx(const struct statx& sx, FILETIME created) {
  EntryInfo info;
  if (S_ISDIR(sx.stx_mode)) {
    info.attributes = FILE_ATTRIBUTE_DIRECTORY;
  } else if ((sx.stx_mode & S_IWUSR) == 0) {
    info.attributes = FILE_ATTRIBUTE_READONLY;
  } else {
    info.attributes = FILE_ATTRIBUTE_NORMAL;
  }
  if (!S_ISDIR(sx.stx_mode)) info.size = sx.stx_size;
  info.created = created;
  info.accessed = fromStatx(sx.stx_atime);
  info.written = fromStatx(sx.stx_mtime);
  info.volume = (uint64_t{sx.stx_dev_major} << 32) | sx.stx_dev_minor;
  info.index = sx.stx_ino;
  info.links = sx.stx_nlink;
  return info;
}

// Birth time, else the recorded one, else the last write time.
FILETIME creationTime(const struct statx& sx, int fd, const std::string& name) {
  if (sx.stx_mask & STATX_BTIME) return fromStatx(sx.stx_btime);
  if (auto recorded = recordedCreationTime(fd, name)) return *recorded;
  return fromStatx(sx.stx_mtime);
}

}  // namespace

FILETIME fileTimeFromUnix(int64_t seconds, uint32_t nanoseconds) {
  int64_t ticks = (seconds + kUnixEpochIn1601) * 10'000'000 + nanoseconds / 100;
  return fromTicks(ticks < 0 ? 0 : static_cast<uint64_t>(ticks));
}

Result<EntryInfo> describeEntry(int folderFd, const std::string& name) {
  struct statx sx {};
  if (::statx(folderFd, name.c_str(), AT_SYMLINK_NOFOLLOW, kWanted, &sx) != 0) {
    return Error{errorFromErrno(errno)};
  }
  if (!S_ISLNK(sx.stx_mode)) return fromStatx(sx, creationTime(sx, folderFd, name));

  // A link of the device image: its target's figures, as a file that cannot be written.
  struct statx target {};
  EntryInfo info;
  if (::statx(folderFd, name.c_str(), 0, kWanted, &target) == 0 && !S_ISDIR(target.stx_mode)) {
    info = fromStatx(target, (target.stx_mask & STATX_BTIME) ? fromStatx(target.stx_btime)
                                                             : fromStatx(target.stx_mtime));
  } else {
    info = fromStatx(sx, fromStatx(sx.stx_mtime));
    info.size = 0;
  }
  info.attributes = FILE_ATTRIBUTE_READONLY;
  return info;
}

Result<EntryInfo> describeOpenFile(int fd) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, kWanted, &sx) != 0) return Error{errorFromErrno(errno)};
  return fromStatx(sx, creationTime(sx, fd, ""));
}

void recordCreationTime(int fd) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME)) return;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  FILETIME created = fileTimeFromUnix(now.tv_sec, static_cast<uint32_t>(now.tv_nsec));
  uint64_t ticks = (uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
  unsigned char bytes[8];
  for (auto& byte : bytes) {
    byte = static_cast<unsigned char>(ticks);
    ticks >>= 8;
  }
  // Best effort: without extended attributes the creation time reads as the write time.
  ::fsetxattr(fd, kCreatedAttribute, bytes, sizeof bytes, 0);
}

}  // namespace handheld::fs
