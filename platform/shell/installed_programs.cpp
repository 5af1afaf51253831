#include "installed_programs.h"

#include <windows.h>

#include <algorithm>

namespace handheld::shell {

namespace {

constexpr size_t kMaxPrograms = 256;

char16_t folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool sameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char16_t x, char16_t y) { return folded(x) == folded(y); });
}

bool endsWithExe(std::u16string_view name) {
  return name.size() > 4 && sameText(name.substr(name.size() - 4), u".exe");
}

// Calls `found` with each entry of `pattern` (a folder and a wildcard) that is (not) a folder.
template <class F>
void eachEntry(const std::u16string& pattern, bool folders, F found) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::u16string name = data.cFileName;
    if (name == u"." || name == u"..") continue;
    if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) found(name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

void addPrograms(const std::u16string& folder, std::vector<InstalledProgram>& programs) {
  eachEntry(folder + u"\\*", false, [&](const std::u16string& name) {
    if (!endsWithExe(name) || programs.size() >= kMaxPrograms) return;
    const std::u16string path = folder + u"\\" + name;
    if (sameText(path, u"\\Windows\\shell.exe")) return;
    programs.push_back({name.substr(0, name.size() - 4), path});
  });
}

}  // namespace

std::vector<InstalledProgram> installedPrograms() {
  std::vector<InstalledProgram> programs;
  addPrograms(u"\\Windows", programs);
  eachEntry(u"\\Program Files\\*", true,
            [&](const std::u16string& folder) { addPrograms(u"\\Program Files\\" + folder, programs); });
  std::sort(programs.begin(), programs.end(), [](const InstalledProgram& a, const InstalledProgram& b) {
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char16_t x, char16_t y) { return folded(x) < folded(y); });
  });
  return programs;
}

}  // namespace handheld::shell
