#include "notes/note_store.h"

#include <string>

#include "app/commands.h"
#include "app/note_app.h"
#include "notes/note_file.h"
#include "pinnotes/unique_handle.h"

namespace {

// Holds the note lock for one scope.
class NoteLock {
 public:
  explicit NoteLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
  ~NoteLock() { LeaveCriticalSection(&lock_); }
  NoteLock(const NoteLock&) = delete;
  NoteLock& operator=(const NoteLock&) = delete;

 private:
  CRITICAL_SECTION& lock_;
};

}  // namespace

NoteStore::NoteStore(NoteApp& app) : app_(app) { scanFolder(); }

NoteStore::~NoteStore() {
  NoteLock lock(noteLock_);
  notes_.clear();
}

void NoteStore::scanFolder() {
  {
    NoteLock lock(noteLock_);
    notes_.clear();
  }
  const std::u16string folder = app_.notesFolder();
  const std::u16string pattern = folder + u"\\*" + app_.noteFileExtension();
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
  if (!search.isOpen()) return;
  do {
    addNote((folder + u"\\" + found.cFileName).c_str());
  } while (FindNextFileW(search.get(), &found));
}

void NoteStore::addNote(LPCWSTR path) {
  NoteHeader header;
  if (!ReadNoteHeader(path, header)) return;
  NoteEntry entry;
  entry.expiryTime = header.expiryTime;
  entry.title = header.title;
  entry.path = path;
  entry.expired = header.expired;
  NoteLock lock(noteLock_);
  notes_.push_back(std::move(entry));
}

int NoteStore::removeByPath(LPCWSTR path) {
  NoteLock lock(noteLock_);
  int index = 0;
  for (auto entry = notes_.begin(); entry != notes_.end(); ++entry, ++index) {
    if (entry->path == path) {
      notes_.erase(entry);
      listChanged();
      return index;
    }
  }
  return -1;
}

void NoteStore::listChanged() const {
  if (todayWindow_) SendMessageW(todayWindow_, PNM_LIST_CHANGED, 0, 0);
}

void NoteStore::noteSaved(bool newFile, LPCWSTR path) {
  if (!newFile) removeByPath(path);
  addNote(path);
  listChanged();
}

void NoteStore::noteWindowClosed() { noteWindowOpen_ = false; }

void NoteStore::about() { PostMessageW(mainWindow_, WM_COMMAND, IDM_ABOUT, 0); }

void NoteStore::closeAndExit() {
  closeAll();
  PostMessageW(mainWindow_, WM_COMMAND, IDM_EXIT, 0);
}

// The operations below need the note window, the list window or the options, which are still
// to come; until then they find nothing to do.
HWND NoteStore::newNote(BOOL) { return nullptr; }
void NoteStore::deleteSelectedNotes() {}
void NoteStore::openNoteAt(int) {}
void NoteStore::setSelectedNotesExpired() {}
void NoteStore::sortNotes(int) {}
void NoteStore::applyOptions() {}
void NoteStore::openOptions(HWND) {}
void NoteStore::activated() {}
void NoteStore::openNoteByPath(LPCWSTR) {}
bool NoteStore::ExpiryCheck(bool) { return false; }
