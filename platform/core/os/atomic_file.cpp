#include "os/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "os/unique_fd.h"

namespace handheld::os {

namespace {

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

FileWriteError failure(const std::string& what) {
  const int error = errno;
  return {error, "cannot " + what + " (" + std::strerror(error) + ")"};
}

}  // namespace

std::optional<FileWriteError> replaceFileAtomically(const std::filesystem::path& file,
                                                    std::string_view content) {
  // A fresh name each time: nothing already at the temporary path (a FIFO, a link) is opened.
  std::string temporary = file.string() + ".XXXXXX";
  UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd) return failure("create a file beside " + file.string());
  auto failWith = [&](const std::string& what) {
    FileWriteError error = failure(what);
    ::unlink(temporary.c_str());
    return error;
  };
  // Named by the file it replaces: the temporary name means nothing to a reader of the log.
  if (::fchmod(fd.get(), 0600) != 0) return failWith("set the mode of a new " + file.string());
  if (!writeAll(fd.get(), content)) return failWith("write " + file.string());
  if (::fsync(fd.get()) != 0) return failWith("write " + file.string());
  if (::close(fd.release()) != 0) return failWith("write " + file.string());
  if (::rename(temporary.c_str(), file.c_str()) != 0) return failWith("replace " + file.string());

  UniqueFd dir(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir || ::fsync(dir.get()) != 0) {
    return failure("sync the folder of " + file.string() + " after replacing it");
  }
  return std::nullopt;
}

}  // namespace handheld::os
