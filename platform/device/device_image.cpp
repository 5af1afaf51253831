#include "device_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "fs/device_path.h"
#include "fs/file_ops.h"
#include "fs/host_error.h"
#include "os/device_root.h"
#include "os/image_links.h"
#include "strings/utf.h"

namespace handheld::device {

namespace fsys = std::filesystem;

namespace {

const char* const kImageFolders[] = {"\\Windows", "\\Program Files", "\\My Documents", "\\Temp"};

enum class Replace { AnyFile, LinksOnly };

// "\Program Files\Pinnotes\Pinnotes.exe" -> root/Program Files/Pinnotes/Pinnotes.exe
fsys::path hostPathOf(const fsys::path& root, const std::string& devicePath) {
  fsys::path out = root;
  std::stringstream parts(devicePath);
  std::string part;
  while (std::getline(parts, part, '\\'))
    if (!part.empty()) out /= part;
  return out;
}

// Why `devicePath` could not be laid out: names the link in the way when there is one.
std::string refusal(const std::string& devicePath, DWORD error) {
  auto root = fs::processRoot();
  if (!root) return "cannot place " + devicePath + " (error " + std::to_string(error) + ")";
  const fsys::path& top = (*root)->hostPath();
  fsys::path walked = top;
  for (const auto& part : hostPathOf(top, devicePath).lexically_relative(top)) {
    walked /= part;
    std::error_code ec;
    auto status = fsys::symlink_status(walked, ec);
    if (fsys::is_symlink(status))
      return walked.string() + " is a symbolic link, which the device image does not follow; remove it";
    if (ec) break;
  }
  return "cannot place " + devicePath + " in " + top.string() + " (error " + std::to_string(error) + ")";
}

// Makes the folders above the last name of `devicePath`.
DWORD makeFolderOf(const std::u16string& devicePath) {
  size_t slash = devicePath.find_last_of(u'\\');
  if (slash == std::u16string::npos || slash == 0) return ERROR_SUCCESS;
  return fs::makeDirectories(devicePath.substr(0, slash));
}

std::string belowRoot(const fs::HostPath& entry, const fs::DeviceRoot& root) {
  return entry.path.lexically_relative(root.hostPath()).generic_string();
}

// Puts a link to `target` at `devicePath`; a link already there with this target stays.
DWORD placeLink(const std::u16string& devicePath, const std::string& target, Replace replace,
                std::vector<os::ImageLink>& placed) {
  auto root = fs::processRoot();
  if (!root) return root.error();
  if (DWORD error = makeFolderOf(devicePath); error != ERROR_SUCCESS) return error;
  auto entry = fs::resolve(**root, devicePath, fs::Mode::MayBeNew);
  if (!entry) return entry.error();
  if (entry->isRoot()) return ERROR_ACCESS_DENIED;
  int folder = entry->folder.get();
  const char* name = entry->name.c_str();
  bool present = false;
  if (entry->exists) {
    struct stat st {};
    if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return fs::errorFromErrno(errno);
    char text[PATH_MAX];
    ssize_t length = S_ISLNK(st.st_mode) ? ::readlinkat(folder, name, text, sizeof text) : -1;
    present = length > 0 && target == std::string_view(text, static_cast<size_t>(length));
    if (!present) {
      if (S_ISDIR(st.st_mode) || (replace == Replace::LinksOnly && !S_ISLNK(st.st_mode)))
        return ERROR_ALREADY_EXISTS;
      if (::unlinkat(folder, name, 0) != 0) return fs::errorFromErrno(errno);
    }
  }
  if (!present && ::symlinkat(target.c_str(), folder, name) != 0) return fs::errorFromErrno(errno);
  placed.push_back({belowRoot(*entry, **root), target});
  return ERROR_SUCCESS;
}

// Copies a data file to `devicePath` through a new file renamed over it, so that whatever
// stood there (a link above all) is replaced, never written through.
DWORD placeCopy(const std::u16string& devicePath, const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  if (!in) return ERROR_FILE_NOT_FOUND;
  std::ostringstream read;
  read << in.rdbuf();
  std::string data = std::move(read).str();
  if (DWORD error = makeFolderOf(devicePath); error != ERROR_SUCCESS) return error;
  auto entry = fs::resolve(devicePath, fs::Mode::MayBeNew);
  if (!entry) return entry.error();
  if (entry->isRoot()) return ERROR_ACCESS_DENIED;
  int folder = entry->folder.get();
  std::string temp = "." + entry->name + ".new";
  ::unlinkat(folder, temp.c_str(), 0);
  os::UniqueFd fd(::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd) return fs::errorFromErrno(errno);
  int error = 0;
  for (size_t done = 0; done < data.size() && !error;) {
    ssize_t n = ::write(fd.get(), data.data() + done, data.size() - done);
    if (n > 0) done += static_cast<size_t>(n);
    else if (n == 0 || errno != EINTR) error = n == 0 ? EIO : errno;
  }
  if (!error && ::renameat(folder, temp.c_str(), folder, entry->name.c_str()) != 0) error = errno;
  if (error) ::unlinkat(folder, temp.c_str(), 0);
  return fs::errorFromErrno(error);
}

bool record(const std::vector<os::ImageLink>& links, std::string& error) {
  auto root = fs::processRoot();
  if (root && os::recordImageLinks((*root)->fd(), links)) return true;
  error = "cannot record the device image's links in " +
          os::deviceStateFile(root ? (*root)->hostPath() : fsys::path(), "image-links").string() +
          ": " + std::strerror(errno);
  return false;
}

}  // namespace

fsys::path imageManifestPath() {
  std::error_code ec;
  auto exe = fsys::read_symlink("/proc/self/exe", ec);
  return exe.parent_path().parent_path() / "share" / "handheld" / "image.manifest";
}

bool prepareDeviceRoot(const fsys::path& root, std::string& error) {
  std::error_code ec;
  fsys::create_directories(root, ec);
  if (DWORD opened = fs::useProcessRoot(root); opened != ERROR_SUCCESS) {
    error = "cannot open the device root " + root.string() +
            (ec ? ": " + ec.message() : " (error " + std::to_string(opened) + ")");
    return false;
  }
  auto rootFd = (*fs::processRoot())->fd();
  auto state = os::deviceStateDir(root);
  if (::mkdirat(rootFd, ".device", 0700) != 0 && errno != EEXIST) {
    error = "cannot create " + state.string() + ": " + std::strerror(errno);
    return false;
  }
  os::UniqueFd stateFd = os::openDeviceStateDir(rootFd);
  if (!stateFd) {
    struct stat st {};
    bool link = ::fstatat(rootFd, ".device", &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
    error = link ? state.string() + " is a symbolic link; the device keeps its state only in a folder "
                                    "of its root, so remove the link"
                 : "cannot open " + state.string() + ": " + std::strerror(errno);
    return false;
  }
  ::fchmod(stateFd.get(), 0700);
  return true;
}

bool layOutDeviceImage(std::string& error) {
  for (const char* folder : kImageFolders) {
    if (DWORD made = fs::makeDirectories(strings::fromUtf8(folder)); made != ERROR_SUCCESS) {
      error = refusal(folder, made);
      return false;
    }
  }
  std::ifstream manifest(imageManifestPath());
  if (!manifest) {
    error = "no image manifest at " + imageManifestPath().string() + " (is the project built?)";
    return false;
  }
  std::vector<os::ImageLink> links;
  std::string line;
  while (std::getline(manifest, line)) {
    std::stringstream fields(line);
    std::string kind, devicePath, source;
    if (!std::getline(fields, kind, '\t') || !std::getline(fields, devicePath, '\t') ||
        !std::getline(fields, source))
      continue;
    DWORD placed = ERROR_SUCCESS;
    if (kind == "link") placed = placeLink(strings::fromUtf8(devicePath), source, Replace::AnyFile, links);
    else if (kind == "copy") placed = placeCopy(strings::fromUtf8(devicePath), source);
    if (placed != ERROR_SUCCESS) {
      error = refusal(devicePath, placed);
      return false;
    }
  }
  return record(links, error);
}

bool installProgram(const fsys::path& hostFile, const std::string& devicePath, std::string& error) {
  std::error_code ec;
  fsys::path target = fsys::canonical(fsys::absolute(hostFile), ec);
  struct stat st {};
  if (ec || ::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0111) == 0) {
    error = hostFile.string() + " is no executable file";
    return false;
  }
  std::vector<os::ImageLink> links;
  if (DWORD placed = placeLink(strings::fromUtf8(devicePath), target.string(), Replace::LinksOnly, links);
      placed != ERROR_SUCCESS) {
    error = placed == ERROR_ALREADY_EXISTS ? devicePath + " is taken by a file or folder"
                                           : refusal(devicePath, placed);
    return false;
  }
  return record(links, error);
}

}  // namespace handheld::device
