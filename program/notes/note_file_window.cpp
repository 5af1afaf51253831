#include "notes/note_file_window.h"

#include <string>
#include <vector>

#include "app/accepted_path.h"
#include "app/app_references.h"
#include "app/commands.h"
#include "app/note_app.h"
#include "notes/note_file.h"
#include "notes/note_save_failure.h"

namespace {

constexpr int kModeBits = 7;

struct NoteWindowSearch {
  std::vector<HWND> found;
};

BOOL CALLBACK collectNoteWindow(HWND window, LPARAM parameter) {
  // Only this process's note windows: the path travels as a pointer into it.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  WCHAR className[64] = {};
  WCHAR title[64] = {};
  if (process == GetCurrentProcessId() && GetClassNameW(window, className, 64) &&
      lstrcmpW(className, NoteWindow::kClassName) == 0 && GetWindowTextW(window, title, 64) &&
      lstrcmpW(title, NoteWindow::kTitle) == 0) {
    reinterpret_cast<NoteWindowSearch*>(parameter)->found.push_back(window);
  }
  return TRUE;
}

// A note window showing `path` closes without taking its edits, so that two windows never
// hold the same file.
void closeWindowsShowing(LPCWSTR path) {
  NoteWindowSearch search;
  EnumWindows(collectNoteWindow, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    SendMessageW(window, PNM_NOTE_REOPEN, 0, reinterpret_cast<LPARAM>(path));
  }
}

std::u16string alarmSidePath(LPCWSTR path) { return std::u16string(path) + kAlarmedNoteSuffix; }

bool copyPath(LPCWSTR from, WCHAR (&to)[MAX_PATH]) {
  const int length = from ? lstrlenW(from) : 0;
  if (length >= MAX_PATH) return false;
  for (int i = 0; i < length; ++i) to[i] = from[i];
  to[length] = 0;
  return true;
}

}  // namespace

NoteFileWindow::NoteFileWindow() = default;

NoteFileWindow::~NoteFileWindow() {
  // A playback that waits for the alarm sound ends before the sound's thread is released.
  alarmSound_.requestStop();
  stopPlayback();
  alarmSound_.stop();
}

HWND NoteFileWindow::openNote(HWND owner, LPCWSTR path, int mode, HWND mainWindow) {
  mode_ = mode & kModeBits;
  owner_ = owner;
  readFailed_ = false;
  saveFailed_ = false;
  setAside_ = false;
  mainWindow_ = (mode_ >= NewNote && mode_ <= MarkExpired) ? mainWindow : nullptr;
  if (mainWindow_) SendMessageW(mainWindow_, PNM_NOTE_OPENING, 0, 0);
  if ((mode_ == OpenNote || mode_ == AlarmNote) && path) closeWindowsShowing(path);
  if (!copyPath(path, filePath_)) filePath_[0] = 0;

  switch (mode_) {
    case NewNote: {
      HWND window = open(owner, false, false);
      if (window && (mode & StartRecording)) startPushToTalk();
      return window;
    }
    case OpenNote:
      return readNote() ? open(owner, true, false) : nullptr;
    case AlarmNote:
      return raiseAlarm(owner);
    case MarkExpired:
      markExpired();
      return nullptr;
    default:
      return nullptr;
  }
}

bool NoteFileWindow::readNote() {
  if (filePath_[0] && ReadNoteFile(filePath_, record_)) return true;
  // The file stays as it is: nothing shown could be written back in its place.
  readFailed_ = true;
  if (mainWindow_ && mode_ != MarkExpired) PostMessageW(mainWindow_, PNM_NOTE_CLOSED, 0, 0);
  return false;
}

HWND NoteFileWindow::raiseAlarm(HWND owner) {
  if (!readNote()) return nullptr;
  record_.expired = 1;
  HWND window = open(owner, true, true);
  if (!window) {
    readFailed_ = true;
    return nullptr;
  }
  // Renamed, not deleted: the note survives an end of the program while its alarm is shown
  // (the folder's recovery puts it back). MoveFileW never replaces an earlier side file; the
  // note then stays under its own name and is written back there.
  setAside_ = MoveFileW(filePath_, alarmSidePath(filePath_).c_str()) != 0;
  theNoteApp->signalChange();
  if (theNoteApp->playSound()) {
    WCHAR sound[MAX_PATH] = {};
    theNoteApp->sound(sound, MAX_PATH);
    alarmSound_.start(sound, theNoteApp->soundCount());
  }
  // The note's own recording follows the sound file instead of cutting it off.
  if (theNoteApp->playRecording()) startPlayback(alarmSound_.thread());
  return window;
}

void NoteFileWindow::markExpired() {
  if (!readNote()) return;
  record_.expired = 1;
  if (!WriteNoteFile(filePath_, record_)) {
    saveFailed_ = true;
    return;
  }
  theNoteApp->signalChange();
}

void NoteFileWindow::finishNote(bool keep) {
  if (keep && record_.expired && theNoteApp->autoDelete()) keep = false;
  alarmSound_.requestStop();
  stopPlayback();
  alarmSound_.stop();

  if (!keep && mode_ != OpenNote) {
    if (mode_ == AlarmNote) dropAlarmedFile();
    closed();
    return;
  }
  // After a failed save the record holds edits the user has now dropped; the file still
  // holds the note as it was.
  if (!keep && saveFailed_) {
    closed();
    return;
  }
  WCHAR path[MAX_PATH] = {};
  bool newFile = false;
  DWORD error = ERROR_SUCCESS;
  if (!chooseSavePath(path, newFile, error) || !WriteNoteFile(path, record_)) {
    if (error == ERROR_SUCCESS) error = GetLastError();
    // Unless kept, nothing is lost: the file keeps its previous bytes.
    if (keep) {
      keepUnsaved(error);
    } else {
      closed();
    }
    return;
  }
  saveFailed_ = false;
  if (setAside_ && RemoveNoteFile(alarmSidePath(filePath_).c_str())) setAside_ = false;
  copyPath(path, savedPath_);
  if (mainWindow_) {
    theSavedNotePath.announce(savedPath_);
    SendMessageW(mainWindow_, PNM_NOTE_SAVED, newFile ? 1 : 0, reinterpret_cast<LPARAM>(savedPath_));
  }
  theNoteApp->signalChange();
  closed();
}

bool NoteFileWindow::chooseSavePath(WCHAR (&path)[MAX_PATH], bool& newFile, DWORD& error) const {
  // An alarmed note whose file could not be set aside still has it: write over it.
  newFile = !(mode_ == OpenNote || (mode_ == AlarmNote && !setAside_));
  if (!newFile) return copyPath(filePath_, path);
  if (FindFreeNoteFileName(theNoteApp->notesFolder(), theNoteApp->noteFileExtension(), path)) {
    return true;
  }
  error = kNoFreeNoteName;
  return false;
}

void NoteFileWindow::keepUnsaved(DWORD error) {
  saveFailed_ = true;
  // Shown again as an existing note, so that the record's content comes back; not as an
  // alarm, so that emptying it and closing discards it.
  open(owner_, true, false);
  ShowSaveFailure(error);
}

void NoteFileWindow::dropAlarmedFile() {
  if (readFailed_) return;
  if (setAside_) {
    if (RemoveNoteFile(alarmSidePath(filePath_).c_str())) setAside_ = false;
  } else {
    RemoveNoteFile(filePath_);
  }
}

void NoteFileWindow::closed() const {
  if (mainWindow_) PostMessageW(mainWindow_, PNM_NOTE_CLOSED, 0, 0);
}
