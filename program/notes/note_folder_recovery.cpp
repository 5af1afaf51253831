#include "notes/note_folder_recovery.h"

#include <string>
#include <vector>

#include "notes/note_file.h"
#include "pinnotes/unique_handle.h"

namespace {

// Full paths of the files "<folder>\*<suffix>", gathered before any of them is moved.
std::vector<std::u16string> filesEndingIn(const std::u16string& folder, const std::u16string& suffix) {
  std::vector<std::u16string> paths;
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(FindFirstFileW((folder + u"\\*" + suffix).c_str(), &found));
  if (!search.isOpen()) return paths;
  do {
    paths.push_back(folder + u"\\" + found.cFileName);
  } while (FindNextFileW(search.get(), &found));
  return paths;
}

// An alarmed note goes back under its own name; when a new note has taken that name
// meanwhile, under a free one. With no free name it stays aside for a later start.
void restoreAlarmedNote(LPCWSTR folder, LPCWSTR extension, const std::u16string& side) {
  const std::u16string note = side.substr(0, side.size() - std::char_traits<WCHAR>::length(kAlarmedNoteSuffix));
  // MoveFileW never replaces: an existing note is never overwritten.
  if (MoveFileW(side.c_str(), note.c_str())) return;
  WCHAR freeName[MAX_PATH];
  if (FindFreeNoteFileName(folder, extension, freeName)) MoveFileW(side.c_str(), freeName);
}

}  // namespace

void RecoverNoteFolder(LPCWSTR folder, LPCWSTR extension) {
  // A save cut short left its side file; the note itself still holds its previous bytes.
  for (const auto& side : filesEndingIn(folder, std::u16string(extension) + kUnsavedNoteSuffix)) {
    RemoveNoteFile(side.c_str());
  }
  for (const auto& side : filesEndingIn(folder, std::u16string(extension) + kAlarmedNoteSuffix)) {
    restoreAlarmedNote(folder, extension, side);
  }
}
