#include "notes/note_store.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "app/commands.h"
#include "app/note_app.h"
#include "notes/expiry_check.h"
#include "notes/note_file.h"
#include "notes/note_file_window.h"
#include "notes/note_folder_recovery.h"
#include "notes/note_save_failure.h"
#include "pinnotes/crossing_names.h"
#include "pinnotes/unique_handle.h"

namespace {

constexpr WCHAR kDeleteCaption[] = u"Warning!";
constexpr WCHAR kDeleteOne[] = u"Do you really want to delete selected pinnote?";
constexpr WCHAR kDeleteMany[] = u"Do you really want to delete selected pinnotes?";
constexpr WCHAR kDeleteFailed[] = u"A pinnote could not be deleted. It stays in the list.";

}  // namespace

void NoteStore::NoteWindowDeleter::operator()(NoteFileWindow* window) const { delete window; }

NoteStore::NoteStore(NoteApp& app) : app_(app) { scanFolder(); }

NoteStore::~NoteStore() {
  current_.reset();
  std::lock_guard lock(noteLock_);
  notes_.clear();
}

void NoteStore::scanFolder() {
  {
    std::lock_guard lock(noteLock_);
    notes_.clear();
  }
  const std::u16string folder = app_.notesFolder();
  // A second start also builds the store; the folder is the running instance's then, and a
  // note it has set aside for an open alarm must stay where it is.
  if (!FindWindowW(CrossingNames::kMainWindowClass, CrossingNames::kWindowTitle)) {
    RecoverNoteFolder(folder.c_str(), app_.noteFileExtension());
    app_.signalChange();  // a restored note is news to the Today item
  }
  const std::u16string pattern = folder + u"\\*" + app_.noteFileExtension();
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
  if (!search.isOpen()) return;
  do {
    addNote((folder + u"\\" + found.cFileName).c_str());
  } while (FindNextFileW(search.get(), &found));
}

bool NoteStore::addNote(LPCWSTR path) {
  NoteHeader header;
  if (!ReadNoteHeader(path, header)) return false;
  NoteEntry entry;
  entry.expiryTime = header.expiryTime;
  entry.title = header.title;
  entry.path = path;
  entry.expired = header.expired;
  std::lock_guard lock(noteLock_);
  notes_.push_back(std::move(entry));
  return true;
}

int NoteStore::removeByPath(const std::u16string& path) {
  std::lock_guard lock(noteLock_);
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

NoteEntry* NoteStore::findEntry(const std::u16string& path) {
  const auto found = std::find_if(notes_.begin(), notes_.end(),
                                  [&](const NoteEntry& entry) { return entry.path == path; });
  return found == notes_.end() ? nullptr : &*found;
}

void NoteStore::listChanged() const {
  // Posted: the Today item's window lives on the shell's thread, which may be waiting for us.
  if (todayWindow_) PostMessageW(todayWindow_, PNM_LIST_CHANGED, 0, 0);
}

std::vector<std::u16string> NoteStore::selectedPaths() {
  const std::vector<int> indices = selectedIndices();
  std::vector<std::u16string> paths;
  std::lock_guard lock(noteLock_);
  int position = 0;
  for (const NoteEntry& entry : notes_) {
    if (std::find(indices.begin(), indices.end(), position++) != indices.end()) {
      paths.push_back(entry.path);
    }
  }
  return paths;
}

bool NoteStore::closeNoteWindow() {
  // Taken out first: the close saves the note, and the notice of that save re-enters the store.
  NoteWindowPointer closing = std::move(current_);
  noteWindowOpen_ = false;
  if (!closing) return true;
  closing->requestClose();
  if (!closing->window()) return true;
  // Its save failed and the note is shown again with the user's edits: it stays the open
  // note, and whatever was to follow does not happen.
  current_ = std::move(closing);
  noteWindowOpen_ = true;
  return false;
}

bool NoteStore::openNoteWindow(const std::u16string& path, int mode) {
  if (!closeNoteWindow()) return false;
  NoteWindowPointer window(new (std::nothrow) NoteFileWindow);
  if (!window) return false;
  current_ = std::move(window);
  noteWindowOpen_ = true;
  current_->openNote(window_, path.c_str(), mode, mainWindow_);
  if (current_ && !current_->readFailed()) return true;
  const bool unreadable = current_ && current_->readFailed();
  current_.reset();
  noteWindowOpen_ = false;
  // A note the user asked for is not skipped in silence; an alarm's damaged file stays as it is.
  if (unreadable && mode == OpenNote) ShowOpenFailure();
  return false;
}

HWND NoteStore::newNote(BOOL startRecording) {
  if (!closeNoteWindow()) return nullptr;
  NoteWindowPointer window(new (std::nothrow) NoteFileWindow);
  if (!window) return nullptr;
  current_ = std::move(window);
  noteWindowOpen_ = true;
  const int mode = startRecording ? (NewNote | StartRecording) : NewNote;
  const HWND note = current_->openNote(window_, nullptr, mode, mainWindow_);
  if (!note) {
    current_.reset();
    noteWindowOpen_ = false;
  }
  return note;
}

void NoteStore::openNoteAt(int index) {
  if (index < 0) return;
  std::u16string path;
  {
    std::lock_guard lock(noteLock_);
    if (static_cast<std::size_t>(index) >= notes_.size()) return;
    path = std::next(notes_.begin(), index)->path;
  }
  // Closing the open note may save and re-sort it (it may be this very note): only the path
  // is carried over the close.
  if (!closeNoteWindow()) return;
  {
    std::lock_guard lock(noteLock_);
    if (!findEntry(path)) return;
  }
  openNoteWindow(path, OpenNote);
}

void NoteStore::openNoteByPath(LPCWSTR path) {
  if (!path) return;
  const std::u16string wanted = path;
  {
    std::lock_guard lock(noteLock_);
    if (!findEntry(wanted)) return;
  }
  if (!closeNoteWindow()) return;
  {
    std::lock_guard lock(noteLock_);
    if (!findEntry(wanted)) return;
  }
  openNoteWindow(wanted, OpenNote);
}

void NoteStore::deleteSelectedNotes() {
  // The paths are taken before asking: the box runs a message loop of its own, in which the
  // list may change and its rows be refilled.
  const std::vector<std::u16string> paths = selectedPaths();
  if (paths.empty()) return;
  const LPCWSTR question = paths.size() == 1 ? kDeleteOne : kDeleteMany;
  if (MessageBoxW(mainWindow_, question, kDeleteCaption, MB_YESNO) != IDYES) return;

  bool failed = false;
  {
    std::lock_guard lock(noteLock_);
    for (const std::u16string& path : paths) {
      if (!findEntry(path)) continue;
      // Only a file that is already gone counts as deleted; any other failure keeps the note.
      if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        failed = true;
        continue;
      }
      removeByPath(path);
    }
    refill();
  }
  app_.signalChange();
  if (failed) MessageBoxW(mainWindow_, kDeleteFailed, kDeleteCaption, MB_OK | MB_ICONWARNING);
}

void NoteStore::setSelectedNotesExpired() {
  const std::vector<std::u16string> paths = selectedPaths();
  if (paths.empty()) return;
  NoteWindowPointer marker(new (std::nothrow) NoteFileWindow);
  if (!marker) return;
  std::lock_guard lock(noteLock_);
  for (const std::u16string& path : paths) {
    const NoteEntry* entry = findEntry(path);
    if (!entry || NeverExpires(entry->expiryTime)) continue;
    marker->openNote(nullptr, path.c_str(), MarkExpired, mainWindow_);
    if (marker->readFailed() || marker->saveFailed()) continue;
    // Looked up again: the marking tells the main window, which may bring the list up.
    if (NoteEntry* marked = findEntry(path)) marked->expired = 1;
  }
  refill();
}

void NoteStore::sortNotes(int column) {
  std::lock_guard lock(noteLock_);
  if (notes_.empty()) return;
  UpdateSortState(sort_, column);
  SortNotes(notes_, sort_, ReadFileCreationTime);
}

void NoteStore::noteSaved(bool newFile, LPCWSTR path) {
  if (!path) return;
  const std::u16string saved = path;  // the sender's buffer is valid for this call only
  std::lock_guard lock(noteLock_);
  if (!newFile) removeByPath(saved);
  addNote(saved.c_str());
  sortNotes(kSortKeep);
  listChanged();
  refill();
}

void NoteStore::noteWindowClosed() { noteWindowOpen_ = false; }

bool NoteStore::alarmNote(const std::u16string& path, ULONGLONG limit) {
  // The open note is closed first; when it is this very note its save re-reads it, so the
  // entry is looked up again afterwards and must still be due.
  if (!closeNoteWindow()) return false;
  {
    std::lock_guard lock(noteLock_);
    const NoteEntry* entry = findEntry(path);
    if (!entry || !IsDue(*entry, limit)) return false;
  }
  // A file that could not be read was neither set aside nor changed: its entry stays.
  if (!openNoteWindow(path, AlarmNote)) return false;
  removeByPath(path);
  noteWindowOpen_ = true;
  return true;
}

bool NoteStore::ExpiryCheck(bool fallback) {
  const ULONGLONG now = LocalTicksNow();
  std::vector<std::u16string> due;
  ULONGLONG limit = now;
  {
    std::lock_guard lock(noteLock_);
    due = DuePaths(notes_, now);
    if (due.empty() && fallback) {
      if (std::optional<std::u16string> early = FallbackPath(notes_, now)) {
        due.push_back(std::move(*early));
        limit = now + kFallbackLead;
      }
    }
  }
  // Raised after the walk: each alarm saves the one before, which re-sorts the list.
  bool alarmed = false;
  for (const std::u16string& path : due) alarmed = alarmNote(path, limit) || alarmed;
  if (alarmed) refill();
  return alarmed;
}

// The options sheet is still to come; without it there are no new values to store, and only
// the list font is made anew from the stored size and the Today item is told.
void NoteStore::applyOptions() {
  updateListFont();
  listChanged();
}

void NoteStore::openOptions(HWND) {}

void NoteStore::about() { PostMessageW(mainWindow_, WM_COMMAND, IDM_ABOUT, 0); }

void NoteStore::closeAndExit() {
  closeAll();
  PostMessageW(mainWindow_, WM_COMMAND, IDM_EXIT, 0);
}

void NoteStore::activated() {
  if (noteWindowOpen_ && current_ && current_->window()) SetForegroundWindow(current_->window());
}
