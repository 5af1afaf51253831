#include "os/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/unique_fd.h"

namespace handheld::os {

bool writeFileAtomically(const std::filesystem::path& file, std::string_view content) {
  auto temp = file;
  temp += ".tmp";
  {
    // A fresh file, never one planted at the temporary name (a link would be written through).
    ::unlink(temp.c_str());
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd) return false;
    size_t done = 0;
    while (done < content.size()) {
      ssize_t n = ::write(fd.get(), content.data() + done, content.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ::unlink(temp.c_str());
        return false;
      }
      done += static_cast<size_t>(n);
    }
    if (::fsync(fd.get()) != 0) {
      ::unlink(temp.c_str());
      return false;
    }
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  UniqueFd dir(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return true;
}

}  // namespace handheld::os
