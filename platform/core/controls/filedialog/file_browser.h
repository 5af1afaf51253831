// What the open-file dialog browses, apart from its windows: the folder as names below the
// device's root (so ".." can never climb out of it), the filters of OPENFILENAMEW, and a
// folder's listing through the device's file API.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace handheld::controls {

struct FileFilter {
  std::u16string description;
  std::vector<std::u16string> patterns;  // "*.wav", from "*.wav;*.mp3"
  std::u16string patternText;            // as given: "*.wav;*.mp3"
};

// The "description\0patterns\0" pairs up to the empty string that ends them. A list that
// runs on past kMaxFilterUnits units, or a last pair without its pattern, ends there.
std::vector<FileFilter> parseFilters(LPCWSTR filters);
inline constexpr size_t kMaxFilterUnits = 1 << 15;

// A device folder: the names from the root down. "." stays, ".." goes up, and nothing goes
// above the root.
class FolderPath {
 public:
  FolderPath() = default;
  // Names split at '\' and '/'; every device path starts at the root.
  static FolderPath parse(std::u16string_view text);

  bool atRoot() const { return names_.empty(); }
  void up();
  void enter(std::u16string_view name);
  // "\" for the root, "\My Documents\Sounds" below it.
  std::u16string text() const;
  // The path of an entry of this folder.
  std::u16string child(std::u16string_view name) const;
  // Whether the folder is there on the device.
  bool exists() const;

 private:
  std::vector<std::u16string> names_;
};

struct BrowserEntry {
  std::u16string name;
  bool folder = false;
  bool readOnly = false;
};

// The folder's folders, then its files that match one of `patterns` (every file without
// patterns), each in name order without regard to case. Hidden entries are left out.
std::vector<BrowserEntry> listFolder(const FolderPath& folder, const std::vector<std::u16string>& patterns);

}  // namespace handheld::controls
