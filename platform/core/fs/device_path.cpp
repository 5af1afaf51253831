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
#include "os/image_links.h"

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

// A device path without its optional leading and trailing separator, or the error its shape
// gives; what remains is names separated by single separators (empty for the root).
Result<std::u16string_view> trimPath(std::u16string_view path) {
  if (path.empty()) return Error{ERROR_PATH_NOT_FOUND};
  if (path.size() >= MAX_PATH) return Error{ERROR_FILENAME_EXCED_RANGE};
  if (isSeparator(path.front())) path.remove_prefix(1);
  if (path.size() > 1 && isSeparator(path.back())) path.remove_suffix(1);
  if (!path.empty() && isSeparator(path.back())) return Error{ERROR_INVALID_NAME};  // doubled
  return path;
}

// The first name of a trimmed path, taken off it with the separator that follows.
std::u16string_view takeName(std::u16string_view& rest) {
  size_t end = 0;
  while (end < rest.size() && !isSeparator(rest[end])) ++end;
  std::u16string_view name = rest.substr(0, end);
  rest.remove_prefix(end < rest.size() ? end + 1 : end);
  return name;
}

// The names of a device path as views into it, checked against the rules.
Result<std::vector<std::u16string_view>> splitNames(std::u16string_view path, Wildcards wildcards) {
  auto rest = trimPath(path);
  if (!rest) return Error{rest.error()};
  std::vector<std::u16string_view> names;
  while (!rest->empty()) names.push_back(takeName(*rest));
  for (size_t i = 0; i < names.size(); ++i) {
    bool last = i + 1 == names.size();
    DWORD error = checkName(names[i], last && wildcards == Wildcards::InLastName, i == 0);
    if (error != ERROR_SUCCESS) return Error{error};
  }
  return names;
}

// Appends the host spelling of a name and, when it is not the last, a '/' (which no name
// holds); false when it has none or is too long for the host.
bool appendHostStep(std::u16string_view name, bool last, std::string& out) {
  const size_t start = out.size();
  if (!appendHostName(name, out) || out.size() - start > NAME_MAX) return false;
  if (!last) out += '/';
  return true;
}

// Room for the host spelling of any device path that trimPath accepts: fewer than MAX_PATH
// units, none of which takes more than three UTF-8 bytes, and the terminator.
constexpr size_t kHostPathBytes = 3 * MAX_PATH;

// Appends the host spelling of `name` at out[length] when checkName accepts it and the host
// can hold it. An ASCII name is checked and copied in one pass: every path on its way to an
// open passes here.
bool appendCheckedName(std::u16string_view name, bool inRoot, char* out, size_t& length) {
  size_t n = 0;
  for (; n < name.size() && name[n] < 0x80; ++n) {
    if (!isNameUnit(name[n])) return false;
    out[length + n] = static_cast<char>(name[n]);
  }
  if (n < name.size()) {
    if (checkName(name, false, inRoot) != ERROR_SUCCESS) return false;
    auto host = hostName(name);
    if (!host || host->size() > NAME_MAX) return false;
    host->copy(out + length, host->size());
    length += host->size();
    return true;
  }
  if (n == 0 || n > NAME_MAX || name == u"." || name == u".." ||
      (inRoot && sameName(name, kDeviceStateName))) {
    return false;
  }
  length += n;
  return true;
}

}  // namespace

Result<std::vector<std::u16string>> splitDevicePath(std::u16string_view path, Wildcards wildcards) {
  auto names = splitNames(path, wildcards);
  if (!names) return Error{names.error()};
  return std::vector<std::u16string>(names->begin(), names->end());
}

os::UniqueFd openExactly(const DeviceRoot& root, std::u16string_view devicePath, int flags) {
  // Any refusal leaves the path to resolve(), which reports it.
  auto rest = trimPath(devicePath);
  bool spelled = rest && !rest->empty();
  char path[kHostPathBytes];
  size_t length = 0;
  for (bool first = true; spelled && !rest->empty(); first = false) {
    if (!first) path[length++] = '/';
    spelled = appendCheckedName(takeName(*rest), first, path, length);
  }
  if (!spelled) {
    errno = ENOENT;
    return os::UniqueFd();
  }
  path[length] = '\0';
  return openBeneath(root.fd(), path, flags);
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
    std::string folders;
    bool spelled = true;
    for (size_t i = 0; spelled && i + 1 < names->size(); ++i) {
      spelled = appendHostStep((*names)[i], i + 2 == names->size(), folders);
    }
    if (spelled) result.folder = openBeneath(root.fd(), folders.c_str(), kFolderFlags);
    if (result.folder) result.path /= folders;
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

Result<std::filesystem::path> resolveDeviceImage(std::u16string_view devicePath) {
  auto root = processRoot();
  if (!root) return Error{root.error()};
  auto entry = resolve(**root, devicePath, Mode::Existing);
  if (!entry) return Error{entry.error()};
  if (entry->isRoot()) return Error{ERROR_FILE_NOT_FOUND};
  struct stat st {};
  if (::fstatat(entry->folder.get(), entry->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return Error{ERROR_FILE_NOT_FOUND};
  }
  std::filesystem::path target = entry->path;
  if (S_ISLNK(st.st_mode)) {
    char buffer[PATH_MAX];
    ssize_t length = ::readlinkat(entry->folder.get(), entry->name.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return Error{ERROR_FILE_NOT_FOUND};
    std::string text(buffer, static_cast<size_t>(length));
    auto below = entry->path.lexically_relative((*root)->hostPath()).generic_string();
    if (!os::isImageLink((*root)->fd(), {below, text})) return Error{ERROR_ACCESS_DENIED};
    target = entry->path.parent_path() / text;
    std::error_code error;
    target = std::filesystem::canonical(target, error);
    if (error || ::stat(target.c_str(), &st) != 0) return Error{ERROR_FILE_NOT_FOUND};
  }
  if (!S_ISREG(st.st_mode) || (st.st_mode & 0111) == 0) return Error{ERROR_FILE_NOT_FOUND};
  return target;
}

}  // namespace handheld::fs
