// FindFirstFileW / FindNextFileW / FindClose over the device file system.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "fs/device_path.h"
#include "fs/file_info.h"
#include "fs/folder.h"
#include "fs/names.h"
#include "kernel/handles.h"

namespace {

// One entry a search found: its device name and, once asked for, what the find data
// reports of it.
struct Found {
  std::string hostName;
  std::u16string name;
  std::optional<handheld::fs::EntryInfo> info;  // a plain name's lookup has it already
};

// A search's matches, named when it starts (in name order) and handed out one at a time.
// Each entry of a folder is described when it is handed out, so a search that stops early
// costs no more than it used, and an entry removed meanwhile is passed over.
class FindSearch final : public handheld::kernel::KernelObject {
 public:
  FindSearch(handheld::os::UniqueFd folder, std::vector<Found> matches)
      : KernelObject(handheld::kernel::ObjectKind::Find), folder_(std::move(folder)), matches_(std::move(matches)) {}

  bool next(WIN32_FIND_DATAW& data) {
    std::lock_guard guard(lock_);
    while (next_ < matches_.size()) {
      Found& found = matches_[next_++];
      if (!found.info) {
        auto info = handheld::fs::describeEntry(folder_.get(), found.hostName);
        if (!info) continue;  // gone since the folder was read
        found.info = *info;
      }
      fill(found, data);
      return true;
    }
    return false;
  }

 private:
  static void fill(const Found& found, WIN32_FIND_DATAW& data) {
    data = {};
    data.dwFileAttributes = found.info->attributes;
    data.ftCreationTime = found.info->created;
    data.ftLastAccessTime = found.info->accessed;
    data.ftLastWriteTime = found.info->written;
    data.nFileSizeHigh = static_cast<DWORD>(found.info->size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(found.info->size);
    // Device names are shorter than MAX_PATH units, so the terminator fits.
    std::copy(found.name.begin(), found.name.end(), data.cFileName);
  }

  std::mutex lock_;
  handheld::os::UniqueFd folder_;  // the folder searched; none for a plain name
  std::vector<Found> matches_;
  size_t next_ = 0;
};

// What a search starts with: the folder its entries are described from, and their names.
struct Matches {
  handheld::os::UniqueFd folder;
  std::vector<Found> found;
};

// Whether the last name of a device path holds * or ?.
bool lastNameHasWildcards(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  const auto last = separator == std::u16string_view::npos ? path : path.substr(separator + 1);
  return std::any_of(last.begin(), last.end(), handheld::fs::isWildcard);
}

// A plain name is one lookup, not a read of the whole folder: asking whether a name is taken
// stays cheap in a folder of hundreds of notes.
handheld::fs::Result<Matches> findName(std::u16string_view path) {
  using namespace handheld::fs;
  auto entry = resolve(path, Mode::Existing);
  if (!entry && entry.error() == ERROR_FILE_NOT_FOUND) return Matches{};
  if (!entry) return Error{entry.error()};
  if (entry->isRoot()) return Matches{};
  auto info = describeEntry(entry->folder.get(), entry->name);
  auto name = deviceName(entry->name);
  if (!info || !name) return Matches{};
  Matches matches;
  matches.found.push_back({entry->name, std::move(*name), *info});
  return matches;
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

handheld::fs::Result<Matches> findMatches(std::u16string_view pattern) {
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
  Matches matches;
  matches.found.reserve(sorted.size());
  for (const auto& match : sorted)
    matches.found.push_back({std::move(match.entry->hostName), std::move(match.entry->deviceName), std::nullopt});
  matches.folder = std::move(folder->folder);
  return matches;
}

}  // namespace

HANDHELD_API HANDLE WINAPI FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  if (!fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto matches = findMatches(fileName);
  if (!matches) {
    SetLastError(matches.error());
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<FindSearch>(std::move(matches->folder), std::move(matches->found));
  if (!search->next(*findData)) {  // nothing matched, or all of it went meanwhile
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
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
