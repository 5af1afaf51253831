#include "log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "os/device_root.h"

namespace handheld::device {

namespace {

constexpr const char* kFileName = "device.log";
constexpr const char* kRotatedName = "device.log.1";
constexpr size_t kMaxLine = 2048;  // a line quoting hostile input stays a line

os::UniqueFd openLogFile(int folder) {
  os::UniqueFd fd(::openat(folder, kFileName,
                           O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
  struct stat st {};
  if (fd && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
    errno = EINVAL;  // a FIFO with a reader, a device file: nothing the log may write to
    return os::UniqueFd();
  }
  return fd;
}

}  // namespace

bool Log::open(const std::filesystem::path& root, bool alsoStderr, std::string& error) {
  alsoStderr_ = alsoStderr;
  auto path = os::deviceStateFile(root, kFileName);
  os::UniqueFd rootFd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (rootFd) folder_ = os::openDeviceStateDir(rootFd.get());
  if (!folder_) {
    error = "cannot open " + os::deviceStateDir(root).string() + ": " + std::strerror(errno);
    return false;
  }
  file_ = openLogFile(folder_.get());
  if (file_) return true;
  int failure = errno;
  struct stat st {};
  bool found = ::fstatat(folder_.get(), kFileName, &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (found && S_ISLNK(st.st_mode))
    error = path.string() + " is a symbolic link; the device writes its log to no other file, so remove the link";
  else if (found && !S_ISREG(st.st_mode))
    error = path.string() + " is not a regular file; remove it";
  else
    error = "cannot open " + path.string() + ": " + std::strerror(failure);
  return false;
}

void Log::captureStdio() {
  capturesStdio_ = true;
  ::dup2(file_.get(), 1);
  ::dup2(file_.get(), 2);
}

void Log::rotate() {
  os::UniqueFd fresh;
  if (::renameat(folder_.get(), kFileName, folder_.get(), kRotatedName) == 0) fresh = openLogFile(folder_.get());
  if (!fresh) {
    // Cannot rotate: start the file over rather than let it grow.
    [[maybe_unused]] int ignored = ::ftruncate(file_.get(), 0);
    return;
  }
  file_ = std::move(fresh);
  if (capturesStdio_) captureStdio();
}

void Log::write(std::string_view line) {
  if (line.size() > kMaxLine) line = line.substr(0, kMaxLine);
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
  if (file_) {
    std::string text = std::string(stamp) + ' ' + std::string(line);
    for (char& c : text)
      if (static_cast<unsigned char>(c) < 0x20) c = '?';  // quoted input cannot forge a line
    text += '\n';
    struct stat st {};
    if (::fstat(file_.get(), &st) == 0 && static_cast<uint64_t>(st.st_size) + text.size() > limit_) rotate();
    [[maybe_unused]] ssize_t n = ::write(file_.get(), text.data(), text.size());
  }
  if (alsoStderr_) std::fprintf(stderr, "handheld-device: %.*s\n", static_cast<int>(line.size()), line.data());
}

RepeatedFailures::~RepeatedFailures() {
  if (count_ > kShown) log_.write(what_ + ": " + std::to_string(count_ - kShown) + " more not logged");
}

void RepeatedFailures::add(std::string_view line) {
  if (++count_ <= kShown) log_.write(line);
}

}  // namespace handheld::device
