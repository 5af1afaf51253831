#include "fs/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "fs/device_path.h"
#include "fs/file_info.h"
#include "fs/host_error.h"
#include "fs/names.h"
#include "fs/open_file.h"
#include "fs/share_lock.h"

namespace handheld::fs {

namespace {

Result<struct stat> statEntry(const HostPath& entry) {
  struct stat st {};
  if (::fstatat(entry.folder.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return Error{errorFromErrno(errno)};
  }
  return st;
}

// Opens an entry to test or change it without following a link or blocking on a FIFO.
os::UniqueFd openEntry(const HostPath& entry) {
  return os::UniqueFd(::openat(entry.folder.get(), entry.name.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
}

// Runs `action` unless another open of the file denies deletion (renaming counts too). The
// claim lasts until the action is done, so no open that denies deletion starts in between.
template <class Action>
DWORD unlessDeletionDenied(const HostPath& entry, Action action) {
  os::UniqueFd fd = openEntry(entry);
  if (!fd) return action();  // unreadable: nothing of ours can hold it open
  DWORD sharing = claimSharing(fd.get(), kUseDelete, 0);
  if (sharing != ERROR_SUCCESS) return sharing;
  return action();
}

DWORD copyData(const OpenFile& source, const OpenFile& target) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    size_t got = 0, put = 0;
    DWORD error = source.read(buffer.data(), buffer.size(), got);
    if (error != ERROR_SUCCESS) return error;
    if (got == 0) return ERROR_SUCCESS;
    error = target.write(buffer.data(), got, put);
    if (error != ERROR_SUCCESS) return error;
  }
}

}  // namespace

DWORD deleteFile(std::u16string_view path) {
  auto entry = resolve(path, Mode::Existing);
  if (!entry) return entry.error();
  if (entry->isRoot()) return ERROR_ACCESS_DENIED;
  auto st = statEntry(*entry);
  if (!st) return st.error();
  if (S_ISDIR(st->st_mode) || S_ISLNK(st->st_mode) || (st->st_mode & S_IWUSR) == 0) {
    return ERROR_ACCESS_DENIED;
  }
  return unlessDeletionDenied(*entry, [&] {
    if (::unlinkat(entry->folder.get(), entry->name.c_str(), 0) != 0) return errorFromErrno(errno);
    return DWORD{ERROR_SUCCESS};
  });
}

DWORD moveEntry(std::u16string_view from, std::u16string_view to, MoveOptions options) {
  auto source = resolve(from, Mode::Existing);
  if (!source) return source.error();
  auto target = resolve(to, Mode::MayBeNew);
  if (!target) return target.error();
  if (source->isRoot()) return ERROR_ACCESS_DENIED;
  if (target->isRoot()) return ERROR_ALREADY_EXISTS;
  auto sourceStat = statEntry(*source);
  if (!sourceStat) return sourceStat.error();
  if (S_ISLNK(sourceStat->st_mode)) return ERROR_ACCESS_DENIED;

  std::string targetName = target->name;
  bool replacing = false;
  if (target->exists) {
    auto targetStat = statEntry(*target);
    if (!targetStat) return targetStat.error();
    bool sameEntry =
        targetStat->st_dev == sourceStat->st_dev && targetStat->st_ino == sourceStat->st_ino;
    if (sameEntry) {
      // The source under another spelling: rename it to the case given.
      targetName = *hostName(target->deviceName);
      if (targetName == source->name) return ERROR_SUCCESS;
    } else {
      if (!options.replaceExisting) return ERROR_ALREADY_EXISTS;
      if (S_ISDIR(sourceStat->st_mode) || !S_ISREG(targetStat->st_mode) ||
          (targetStat->st_mode & S_IWUSR) == 0) {
        return ERROR_ACCESS_DENIED;
      }
      replacing = true;
    }
  }
  const auto rename = [&] {
    if (::renameat2(source->folder.get(), source->name.c_str(), target->folder.get(),
                    targetName.c_str(), replacing ? 0 : RENAME_NOREPLACE) != 0) {
      return errno == EEXIST ? DWORD{ERROR_ALREADY_EXISTS} : errorFromErrno(errno);
    }
    if (options.writeThrough && ::fsync(target->folder.get()) != 0) return errorFromErrno(errno);
    return DWORD{ERROR_SUCCESS};
  };
  return unlessDeletionDenied(*source, [&] {
    return replacing ? unlessDeletionDenied(*target, rename) : rename();
  });
}

DWORD copyFile(std::u16string_view from, std::u16string_view to, bool failIfExists) {
  auto source = openFile(from, {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0});
  if (!source) return source.error();
  auto sourceInfo = describeOpenFile(source->file->fd());
  if (!sourceInfo) return sourceInfo.error();
  auto target = openFile(to, {GENERIC_WRITE, 0, failIfExists ? CREATE_NEW : CREATE_ALWAYS, 0});
  if (!target) return target.error();

  DWORD error = copyData(*source->file, *target->file);
  if (error == ERROR_SUCCESS && (sourceInfo->attributes & FILE_ATTRIBUTE_READONLY)) {
    if (::fchmod(target->file->fd(), 0400) != 0) error = errorFromErrno(errno);
  }
  if (error != ERROR_SUCCESS) {
    target->file.reset();  // closes it, so the half copy can be deleted
    deleteFile(to);
  }
  return error;
}

DWORD makeDirectory(std::u16string_view path) {
  auto entry = resolve(path, Mode::MayBeNew);
  if (!entry) return entry.error();
  if (entry->exists) return ERROR_ALREADY_EXISTS;
  if (::mkdirat(entry->folder.get(), entry->name.c_str(), 0700) != 0) {
    return errorFromErrno(errno, ERROR_PATH_NOT_FOUND);
  }
  os::UniqueFd created(::openat(entry->folder.get(), entry->name.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (created) recordCreationTime(created.get());
  return ERROR_SUCCESS;
}

DWORD makeDirectories(std::u16string_view path) {
  auto names = splitDevicePath(path);
  if (!names) return names.error();
  std::u16string prefix;
  for (const auto& name : *names) {
    prefix += u'\\';
    prefix += name;
    DWORD error = makeDirectory(prefix);
    if (error == ERROR_ALREADY_EXISTS) {
      auto attributes = attributesOf(prefix);
      if (!attributes) return attributes.error();
      if (!(*attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_ALREADY_EXISTS;
    } else if (error != ERROR_SUCCESS) {
      return error;
    }
  }
  return ERROR_SUCCESS;
}

DWORD removeDirectory(std::u16string_view path) {
  auto entry = resolve(path, Mode::Existing);
  if (!entry) return entry.error();
  if (entry->isRoot()) return ERROR_ACCESS_DENIED;
  auto st = statEntry(*entry);
  if (!st) return st.error();
  if (!S_ISDIR(st->st_mode)) return ERROR_DIRECTORY;
  if (::unlinkat(entry->folder.get(), entry->name.c_str(), AT_REMOVEDIR) != 0) {
    return errno == EEXIST ? DWORD{ERROR_DIR_NOT_EMPTY} : errorFromErrno(errno);
  }
  return ERROR_SUCCESS;
}

Result<DWORD> attributesOf(std::u16string_view path) {
  auto entry = resolve(path, Mode::Existing);
  if (!entry) return Error{entry.error()};
  if (entry->isRoot()) return DWORD{FILE_ATTRIBUTE_DIRECTORY};
  auto info = describeEntry(entry->folder.get(), entry->name);
  if (!info) return Error{info.error()};
  return info->attributes;
}

DWORD setAttributes(std::u16string_view path, DWORD attributes) {
  constexpr DWORD kKnown = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL |
                           FILE_ATTRIBUTE_TEMPORARY;
  if (attributes & ~kKnown) return ERROR_INVALID_PARAMETER;
  auto entry = resolve(path, Mode::Existing);
  if (!entry) return entry.error();
  if (entry->isRoot()) return ERROR_ACCESS_DENIED;
  os::UniqueFd fd = openEntry(*entry);
  if (!fd) return errorFromErrno(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return errorFromErrno(errno);
  if (S_ISDIR(st.st_mode)) return ERROR_SUCCESS;
  if (!S_ISREG(st.st_mode)) return ERROR_ACCESS_DENIED;
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  if (::fchmod(fd.get(), mode) != 0) return errorFromErrno(errno);
  return ERROR_SUCCESS;
}

}  // namespace handheld::fs
