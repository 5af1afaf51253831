#include "os/image_links.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "os/device_root.h"
#include "os/unique_fd.h"

namespace handheld::os {

namespace {

constexpr const char* kRecordName = "image-links";
constexpr off_t kMaxRecordBytes = 1 << 20;  // thousands of links; more is no record of ours

UniqueFd openRecord(int rootFd, int flags) {
  UniqueFd state = openDeviceStateDir(rootFd);
  if (!state) return state;
  UniqueFd fd(::openat(state.get(), kRecordName, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
  struct stat st {};
  if (fd && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
    errno = EINVAL;
    return UniqueFd();
  }
  return fd;
}

// The record's text; a damaged or oversized record counts as empty (its links then refused).
std::vector<ImageLink> readRecord(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_size > kMaxRecordBytes) return {};
  std::string text(static_cast<size_t>(st.st_size), '\0');
  ssize_t got = ::pread(fd, text.data(), text.size(), 0);
  if (got < 0) return {};
  text.resize(static_cast<size_t>(got));
  return parseImageLinks(text);
}

bool linkStillThere(int rootFd, const ImageLink& link) {
  char buffer[PATH_MAX];
  ssize_t length = ::readlinkat(rootFd, link.path.c_str(), buffer, sizeof buffer);
  return length > 0 && link.target == std::string_view(buffer, static_cast<size_t>(length));
}

bool printable(const std::string& text) {
  return !text.empty() && text.find_first_of("\t\n") == std::string::npos;
}

}  // namespace

std::vector<ImageLink> parseImageLinks(std::string_view text) {
  std::vector<ImageLink> links;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;  // a line cut short by a crash
    std::string_view line = text.substr(start, end - start);
    size_t tab = line.find('\t');
    if (tab != std::string_view::npos && tab > 0 && tab + 1 < line.size())
      links.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    start = end + 1;
  }
  return links;
}

bool isImageLink(int rootFd, const ImageLink& link) {
  UniqueFd fd = openRecord(rootFd, O_RDONLY);
  if (!fd) return false;
  auto links = readRecord(fd.get());
  return std::find(links.begin(), links.end(), link) != links.end();
}

bool recordImageLinks(int rootFd, const std::vector<ImageLink>& added) {
  for (const auto& link : added) {
    if (!printable(link.path) || !printable(link.target)) {
      errno = EINVAL;
      return false;
    }
  }
  UniqueFd fd = openRecord(rootFd, O_RDWR | O_CREAT);
  if (!fd || ::flock(fd.get(), LOCK_EX) != 0) return false;  // installs may race a start
  std::vector<ImageLink> links;
  for (auto& old : readRecord(fd.get())) {
    bool replaced = std::any_of(added.begin(), added.end(),
                                [&](const ImageLink& link) { return link.path == old.path; });
    if (!replaced && linkStillThere(rootFd, old)) links.push_back(std::move(old));
  }
  links.insert(links.end(), added.begin(), added.end());
  std::string text;
  for (const auto& link : links) text += link.path + '\t' + link.target + '\n';
  if (::ftruncate(fd.get(), 0) != 0) return false;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::pwrite(fd.get(), text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return ::fsync(fd.get()) == 0;
}

}  // namespace handheld::os
