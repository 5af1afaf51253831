#include "fs/device_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "fs/beneath.h"
#include "fs/folder.h"
#include "fs/host_error.h"
#include "fs/names.h"

namespace handheld::fs {

namespace {

bool isSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

DWORD checkName(std::u16string_view name, bool wildcardsAllowed, bool inRoot) {
  if (name.empty() || name == u"." || name == u"..") return ERROR_INVALID_NAME;
  for (char16_t unit : name) {
    if (!isNameUnit(unit) && !(wildcardsAllowed && isWildcard(unit))) return ERROR_INVALID_NAME;
  }
  if (inRoot && sameName(name, kDeviceStateName)) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

Result<std::string> toHost(std::u16string_view name) {
  auto host = hostName(name);
  if (!host) return Error{ERROR_INVALID_NAME};
  if (host->size() > NAME_MAX) return Error{ERROR_FILENAME_EXCED_RANGE};
  return std::move(*host);
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool isLink(int folderFd, const std::string& name) {
  struct stat st {};
  return ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// Opens the folder `name` of `parent`: exact spelling first, then any case.
Result<os::UniqueFd> openSubfolder(int parent, std::u16string_view name, std::string& foundName) {
  auto host = toHost(name);
  if (!host) return Error{host.error()};
  int fd = ::openat(parent, host->c_str(), kFolderFlags);
  if (fd < 0 && errno == ENOENT) {
    auto found = findEntry(parent, name);
    if (!found) return Error{found.error()};
    if (!*found) return Error{ERROR_PATH_NOT_FOUND};
    *host = std::move(**found);
    fd = ::openat(parent, host->c_str(), kFolderFlags);
  }
  if (fd < 0) {
    int error = errno;
    // O_NOFOLLOW | O_DIRECTORY reports a link as ENOTDIR or ELOOP.
    if ((error == ENOTDIR || error == ELOOP) && isLink(parent, *host))
      return Error{ERROR_ACCESS_DENIED};
    return Error{errorFromErrno(error, ERROR_PATH_NOT_FOUND)};
  }
  foundName = std::move(*host);
  return os::UniqueFd(fd);
}

// The names of a device path as views into it, checked against the rules.
Result<std::vector<std::u16string_view>> splitNames(std::u16string_view path, Wildcards wildcards) {
  if (path.empty()) return Error{ERROR_PATH_NOT_FOUND};
  if (path.size() >= MAX_PATH) return Error{ERROR_FILENAME_EXCED_RANGE};
  if (isSeparator(path.front())) path.remove_prefix(1);
  if (path.size() > 1 && isSeparator(path.back())) path.remove_suffix(1);
  std::vector<std::u16string_view> names;
  while (!path.empty()) {
    size_t end = 0;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    names.emplace_back(path.substr(0, end));
    path.remove_prefix(end);
    if (!path.empty()) {
      path.remove_prefix(1);
      if (path.empty()) return Error{ERROR_INVALID_NAME};  // a doubled trailing separator
    }
  }
  for (size_t i = 0; i < names.size(); ++i) {
    bool last = i + 1 == names.size();
    DWORD error = checkName(names[i], last && wildcards == Wildcards::InLastName, i == 0);
    if (error != ERROR_SUCCESS) return Error{error};
  }
  return names;
}

// Host spellings joined by '/', which no name holds; nothing when a name has none.
std::optional<std::string> exactHostPath(const std::vector<std::u16string_view>& names,
                                        size_t count) {
  std::string joined;
  for (size_t i = 0; i < count; ++i) {
    auto host = toHost(names[i]);
    if (!host) return std::nullopt;
    if (i > 0) joined += '/';
    joined += *host;
  }
  return joined;
}

}  // namespace

Result<std::vector<std::u16string>> splitDevicePath(std::u16string_view path, Wildcards wildcards) {
  auto names = splitNames(path, wildcards);
  if (!names) return Error{names.error()};
  return std::vector<std::u16string>(names->begin(), names->end());
}

os::UniqueFd openExactly(const DeviceRoot& root, std::u16string_view devicePath, int flags) {
  auto names = splitNames(devicePath, Wildcards::Refused);
  auto path = names && !names->empty() ? exactHostPath(*names, names->size()) : std::nullopt;
  if (!path) {
    errno = ENOENT;
    return os::UniqueFd();
  }
  return openBeneath(root.fd(), *path, flags);
}

Result<HostPath> resolve(const DeviceRoot& root, std::u16string_view devicePath, Mode mode) {
  auto names = splitNames(devicePath,
                          mode == Mode::Pattern ? Wildcards::InLastName : Wildcards::Refused);
  if (!names) return Error{names.error()};

  HostPath result;
  result.path = root.hostPath();
  // The folders on the way in one call when each is spelled exactly; else one name at a time,
  // which finds other spellings and tells a missing folder from a link.
  if (names->size() > 1) {
    if (auto folders = exactHostPath(*names, names->size() - 1)) {
      result.folder = openBeneath(root.fd(), *folders, kFolderFlags);
      if (result.folder) result.path /= *folders;
    }
  }
  if (!result.folder) {
    result.folder.reset(::fcntl(root.fd(), F_DUPFD_CLOEXEC, 0));
    if (!result.folder) return Error{errorFromErrno(errno)};
    result.inRoot = true;
    if (names->empty()) {
      if (mode == Mode::Pattern) return Error{ERROR_FILE_NOT_FOUND};
      result.exists = true;
      return result;
    }
    for (size_t i = 0; i + 1 < names->size(); ++i) {
      std::string found;
      auto next = openSubfolder(result.folder.get(), (*names)[i], found);
      if (!next) return Error{next.error()};
      result.folder = std::move(*next);
      result.path /= found;
      result.inRoot = false;
    }
  }

  result.deviceName = names->back();
  if (mode == Mode::Pattern) return result;

  auto host = toHost(result.deviceName);
  if (!host) return Error{host.error()};
  struct stat st {};
  if (::fstatat(result.folder.get(), host->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    result.exists = true;
  } else if (errno != ENOENT) {
    return Error{errorFromErrno(errno)};
  } else {
    auto found = findEntry(result.folder.get(), result.deviceName);
    if (!found) return Error{found.error()};
    if (*found) {
      *host = std::move(**found);
      result.exists = true;
    } else if (mode == Mode::Existing) {
      return Error{ERROR_FILE_NOT_FOUND};
    }
  }
  result.name = std::move(*host);
  result.path /= result.name;
  return result;
}

Result<HostPath> resolve(std::u16string_view devicePath, Mode mode) {
  auto root = processRoot();
  if (!root) return Error{root.error()};
  return resolve(**root, devicePath, mode);
}

std::optional<std::filesystem::path> resolveDeviceImage(std::u16string_view devicePath) {
  auto entry = resolve(devicePath, Mode::Existing);
  if (!entry || entry->isRoot()) return std::nullopt;
  struct stat st {};
  if (::fstatat(entry->folder.get(), entry->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return std::nullopt;
  }
  std::filesystem::path target = entry->path;
  if (S_ISLNK(st.st_mode)) {
    char buffer[PATH_MAX];
    ssize_t length = ::readlinkat(entry->folder.get(), entry->name.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return std::nullopt;
    target = entry->path.parent_path() / std::string(buffer, static_cast<size_t>(length));
    std::error_code error;
    target = std::filesystem::canonical(target, error);
    if (error || ::stat(target.c_str(), &st) != 0) return std::nullopt;
  }
  if (!S_ISREG(st.st_mode) || (st.st_mode & 0111) == 0) return std::nullopt;
  return target;
}

}  // namespace handheld::fs
