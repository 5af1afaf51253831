#include "shell/note_app.h"

#include <shlobj.h>

#include "pinnotes/crossing_names.h"

namespace {

constexpr WCHAR kNotesFolderName[] = u"\\My Pinnotes";

}  // namespace

NoteApp::NoteApp() {
  // Opens the Today item's event when it runs already.
  changeEvent_ = CreateEventW(nullptr, TRUE, FALSE, CrossingNames::kChangeEvent);
  createNotesFolder();
  initialiseSettingsOnFirstRun();
}

NoteApp::~NoteApp() {
  if (changeEvent_) CloseHandle(changeEvent_);
}

void NoteApp::signalChange() const {
  if (changeEvent_) SetEvent(changeEvent_);
}

void NoteApp::createNotesFolder() {
  WCHAR documents[MAX_PATH] = {};
  SHGetSpecialFolderPath(nullptr, documents, CSIDL_PERSONAL, FALSE);
  // Either folder may exist already; a folder that cannot be made shows later as no notes.
  CreateDirectoryW(documents, nullptr);
  if (lstrlenW(documents) + lstrlenW(kNotesFolderName) >= MAX_PATH) return;
  lstrcpyW(notesFolder_, documents);
  lstrcatW(notesFolder_, kNotesFolderName);
  CreateDirectoryW(notesFolder_, nullptr);
}
