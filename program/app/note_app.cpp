#include "app/note_app.h"

#include <shlobj.h>

#include "pinnotes/crossing_names.h"

namespace {

constexpr WCHAR kNotesFolderName[] = u"\\My Pinnotes";

}  // namespace

NoteApp::NoteApp() {
  // Opens the Today item's event when it runs already.
  changeEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, CrossingNames::kChangeEvent));
  createNotesFolder();
  initialiseSettingsOnFirstRun();
}

void NoteApp::signalChange() const {
  if (changeEvent_.isOpen()) SetEvent(changeEvent_.get());
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
