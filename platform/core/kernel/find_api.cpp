// FindFirstFileW / FindNextFileW / FindClose over the device file system.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "fs/device_path.h"
#include "fs/file_info.h"
#include "fs/folder.h"
#include "fs/names.h"
#include "kernel/handles.h"

namespace {

// One entry a search found: what the find data reports of it.
struct Found {
  handheld::fs::EntryInfo info;
  std::u16string name;
};

// A search's matches, taken when it starts (in name order) and handed out one at a time.
class FindSearch final : public handheld::kernel::KernelObject {
 public:
  explicit FindSearch(std::vector<Found> matches)
      : KernelObject(handheld::kernel::ObjectKind::Find), matches_(std::move(matches)) {}

  bool next(WIN32_FIND_DATAW& data) {
    std::lock_guard guard(lock_);
    if (next_ == matches_.size()) return false;
    const Found& found = matches_[next_++];
    data = {};
    data.dwFileAttributes = found.info.attributes;
    data.ftCreationTime = found.info.created;
    data.ftLastAccessTime = found.info.accessed;
    data.ftLastWriteTime = found.info.written;
    data.nFileSizeHigh = static_cast<DWORD>(found.info.size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(found.info.size);
    // Device names are shorter than MAX_PATH units, so the terminator fits.
    std::copy(found.name.begin(), found.name.end(), data.cFileName);
    return true;
  }

 private:
  std::mutex lock_;
  std::vector<Found> matches_;
  size_t next_ = 0;
};

// Whether the last name of a device path holds * or ?.
bool lastNameHasWildcards(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  const auto last = separator == std::u16string_view::npos ? path : path.substr(separator + 1);
  return std::any_of(last.begin(), last.end(), handheld::fs::isWildcard);
}

// A plain name is one lookup, not a read of the whole folder: asking whether a name is taken
// stays cheap in a folder of hundreds of notes.
handheld::fs::Result<std::vector<Found>> findName(std::u16string_view path) {
  using namespace handheld::fs;
  auto entry = resolve(path, Mode::Existing);
  if (!entry && entry.error() == ERROR_FILE_NOT_FOUND) return std::vector<Found>{};
  if (!entry) return Error{entry.error()};
  if (entry->isRoot()) return std::vector<Found>{};
  auto info = describeEntry(entry->folder.get(), entry->name);
  auto name = deviceName(entry->name);
  if (!info || !name) return std::vector<Found>{};
  return std::vector<Found>{{*info, std::move(*name)}};
}

// A key that sorts as strings::compareNoCase does (folded units, then length), folded once
// rather than at every comparison: each folded unit as two big-endian bytes, so that the
// byte-wise comparison of keys is the unit-wise comparison of folded names.
std::string sortKey(std::u16string_view name) {
  std::string key(2 * name.size(), '\0');
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = handheld::fs::foldUnit(name[i]);
    key[2 * i] = static_cast<char>(unit >> 8);
    key[2 * i + 1] = static_cast<char>(unit & 0xFF);
  }
  return key;
}

handheld::fs::Result<std::vector<Found>> findMatches(std::u16string_view pattern) {
  using namespace handheld::fs;
  if (!lastNameHasWildcards(pattern)) return findName(pattern);
  auto folder = resolve(pattern, Mode::Pattern);
  if (!folder) return Error{folder.error()};
  auto entries = readFolder(folder->folder.get(), folder->inRoot);
  if (!entries) return Error{entries.error()};
  struct Match {
    std::string key;
    FolderEntry* entry;
  };
  std::vector<Match> sorted;
  for (auto& entry : *entries) {
    if (matchesPattern(folder->deviceName, entry.deviceName)) {
      sorted.push_back({sortKey(entry.deviceName), &entry});
    }
  }
  std::sort(sorted.begin(), sorted.end(), [](const Match& a, const Match& b) { return a.key < b.key; });
  std::vector<Found> matches;
  matches.reserve(sorted.size());
  for (const auto& match : sorted) {
    auto info = describeEntry(folder->folder.get(), match.entry->hostName);
    if (info) matches.push_back({*info, std::move(match.entry->deviceName)});  // gone: skipped
  }
  return matches;
}

}  // namespace

HANDHELD_API HANDLE WINAPI FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  if (!fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto matches = findMatches(fileName);
  if (!matches || matches->empty()) {
    SetLastError(matches ? ERROR_FILE_NOT_FOUND : matches.error());
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<FindSearch>(std::move(*matches));
  search->next(*findData);
  SetLastError(ERROR_SUCCESS);
  return handheld::kernel::insertHandle(std::move(search));
}

HANDHELD_API BOOL WINAPI FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW findData) {
  auto search =
      handheld::kernel::lookupHandleAs<FindSearch>(find, handheld::kernel::ObjectKind::Find);
  if (!search || !findData) {
    SetLastError(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!search->next(*findData)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

HANDHELD_API BOOL WINAPI FindClose(HANDLE find) {
  if (!handheld::kernel::lookupHandleAs<FindSearch>(find, handheld::kernel::ObjectKind::Find) ||
      !handheld::kernel::removeHandle(find)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
