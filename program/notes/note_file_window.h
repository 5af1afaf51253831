// The note window of a note file: opens a note as new, existing, alarm or to mark it expired,
// and writes the note (or drops it) when its window has gone.
#pragma once

#include <windows.h>

#include "notewindow/note_window.h"

// How a note is opened: one of the first four, `StartRecording` only with `NewNote`.
enum NoteOpenMode : int {
  NewNote = 1,
  OpenNote = 2,
  AlarmNote = 3,
  MarkExpired = 4,
  StartRecording = 8,
};

class NoteFileWindow : public NoteWindow {
 public:
  NoteFileWindow();
  ~NoteFileWindow() override;

  // Opens `path` (null for a new note) in `mode`. The note window's handle, or null for
  // MarkExpired and when it could not be made.
  HWND openNote(HWND owner, LPCWSTR path, int mode, HWND mainWindow);
  // Whether the last openNote could not read its file: then nothing was deleted, set aside or
  // written, and the store keeps the note's entry as it is.
  bool readFailed() const { return readFailed_; }

 protected:
  void finishNote(bool keep) override;

 private:
  bool readFailed_ = false;
};
