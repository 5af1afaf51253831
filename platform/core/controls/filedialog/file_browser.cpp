// The open-file dialog's model: folders as names below the root, filters, listings.
#include "controls/filedialog/file_browser.h"

#include "fs/names.h"

namespace handheld::controls {

std::vector<FileFilter> parseFilters(LPCWSTR filters) {
  std::vector<FileFilter> parsed;
  if (!filters) return parsed;
  size_t used = 0;
  // The next string, or nothing at the end of the list or past the limit.
  auto next = [&](std::u16string& out) {
    out.clear();
    for (; used < kMaxFilterUnits && filters[used]; ++used) out += filters[used];
    if (used >= kMaxFilterUnits) return false;
    ++used;
    return true;
  };
  std::u16string description, patterns;
  while (next(description) && !description.empty() && next(patterns) && !patterns.empty()) {
    FileFilter filter{description, {}, patterns};
    size_t start = 0;
    while (start <= patterns.size()) {
      size_t end = patterns.find(u';', start);
      if (end == std::u16string::npos) end = patterns.size();
      std::u16string pattern = patterns.substr(start, end - start);
      while (!pattern.empty() && pattern.front() == u' ') pattern.erase(0, 1);
      while (!pattern.empty() && pattern.back() == u' ') pattern.pop_back();
      if (!pattern.empty()) filter.patterns.push_back(pattern);
      start = end + 1;
    }
    parsed.push_back(std::move(filter));
  }
  return parsed;
}

FolderPath FolderPath::parse(std::u16string_view text) {
  FolderPath path;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view name = text.substr(start, end - start);
    if (name == u"..") path.up();
    else if (!name.empty() && name != u".") path.names_.emplace_back(name);
    start = end + 1;
  }
  return path;
}

void FolderPath::up() {
  if (!names_.empty()) names_.pop_back();
}

void FolderPath::enter(std::u16string_view name) {
  if (name == u"..") up();
  else if (!name.empty() && name != u".") names_.emplace_back(name);
}

std::u16string FolderPath::text() const {
  if (names_.empty()) return u"\\";
  std::u16string out;
  for (const auto& name : names_) out += u"\\" + name;
  return out;
}

std::u16string FolderPath::child(std::u16string_view name) const {
  std::u16string out = names_.empty() ? std::u16string() : text();
  out += u"\\";
  out += name;
  return out;
}

bool FolderPath::exists() const {
  if (names_.empty()) return true;
  const DWORD attributes = GetFileAttributesW(text().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<BrowserEntry> listFolder(const FolderPath& folder, const std::vector<std::u16string>& patterns) {
  std::vector<BrowserEntry> folders, files;
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(folder.child(u"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return {};
  // The search hands out names in order without regard to case.
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
    BrowserEntry entry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0};
    if (entry.folder) {
      folders.push_back(std::move(entry));
      continue;
    }
    bool matches = patterns.empty();
    for (const auto& pattern : patterns) matches = matches || fs::matchesPattern(pattern, entry.name);
    if (matches) files.push_back(std::move(entry));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  folders.insert(folders.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  return folders;
}

}  // namespace handheld::controls
