#include "os/state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace handheld::os {

namespace {

std::string errnoText(int error) { return std::strerror(error); }

std::string timestampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

StateFileOpen openStateFile(const std::filesystem::path& file, int flags) {
  StateFileOpen result;
  // O_NONBLOCK: opening a FIFO or a terminal must not wait for the other end.
  result.fd.reset(::open(file.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
  if (!result.fd) {
    result.error = errno;
    result.notRegular = errno == ELOOP || errno == EISDIR || errno == ENXIO || errno == ENODEV;
    return result;
  }
  struct stat info {};
  if (::fstat(result.fd.get(), &info) != 0) {
    result.error = errno;
    result.fd.reset();
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.fd.reset();
    result.notRegular = true;
    return result;
  }
  ::fcntl(result.fd.get(), F_SETFL, ::fcntl(result.fd.get(), F_GETFL) & ~O_NONBLOCK);
  return result;
}

StateFileText readStateFile(const std::filesystem::path& file, std::size_t maxBytes) {
  using Kind = StateFileText::Kind;
  StateFileOpen opened = openStateFile(file, O_RDONLY);
  if (opened.notRegular) return {Kind::Refused, {}, "is not a regular file"};
  if (opened.error == ENOENT) return {Kind::Missing, {}, {}};
  if (!opened.fd) return {Kind::Refused, {}, "cannot be opened (" + errnoText(opened.error) + ")"};
  struct stat info {};
  if (::fstat(opened.fd.get(), &info) != 0) {
    return {Kind::Refused, {}, "cannot be examined (" + errnoText(errno) + ")"};
  }
  if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    return {Kind::Refused, {}, "is larger than " + std::to_string(maxBytes) + " bytes"};
  }
  std::string text(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(opened.fd.get(), text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {Kind::Refused, {}, "cannot be read (" + errnoText(errno) + ")"};
    if (got == 0) break;  // shrank while reading: take what is there
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  return {Kind::Read, std::move(text), {}};
}

std::optional<std::filesystem::path> setAsideStateFile(const std::filesystem::path& file,
                                                       std::string& problem) {
  const std::string base = file.filename().string() + ".damaged-" + timestampNow();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    std::filesystem::path target =
        file.parent_path() / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 || errno != ENOENT) continue;
    if (::rename(file.c_str(), target.c_str()) == 0) return target;
    problem = errnoText(errno);
    return std::nullopt;
  }
  problem = "every name for it is taken";
  return std::nullopt;
}

}  // namespace handheld::os
