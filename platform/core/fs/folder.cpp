#include "fs/folder.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <memory>

#include "fs/host_error.h"
#include "fs/names.h"

namespace handheld::fs {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

Result<std::vector<FolderEntry>> readFolder(int folderFd, bool isRoot) {
  // A fresh descriptor: fdopendir takes it over and reads from its own offset.
  int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Error{errorFromErrno(errno, ERROR_PATH_NOT_FOUND)};
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    int error = errno;
    ::close(fd);
    return Error{errorFromErrno(error)};
  }
  std::vector<FolderEntry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (!entry) break;
    auto name = deviceName(entry->d_name);
    if (!name || (isRoot && sameName(*name, kDeviceStateName))) continue;
    entries.push_back({entry->d_name, std::move(*name)});
  }
  if (errno != 0) return Error{errorFromErrno(errno)};
  return entries;
}

Result<std::optional<std::string>> findEntry(int folderFd, std::u16string_view name) {
  // The state folder is refused before any lookup, so the root's listing need not hide it.
  auto entries = readFolder(folderFd, false);
  if (!entries) return Error{entries.error()};
  for (auto& entry : *entries) {
    if (sameName(entry.deviceName, name)) return std::optional(std::move(entry.hostName));
  }
  return std::optional<std::string>();
}

}  // namespace handheld::fs
