// The note window of a note file: opens a note as new, existing, alarm or to mark it expired,
// and writes the note (or drops it) when its window has gone.
#pragma once

#include <windows.h>

#include "notes/alarm_sound.h"
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
  // Whether the last openNote could not read its file (or make the alarm's window): then
  // nothing was deleted, set aside or written, and the store keeps the note's entry as it is.
  bool readFailed() const { return readFailed_; }
  // Whether the last save could not be written. The note file then holds what it held
  // before; a note whose edits were to be kept is shown again (finishNote).
  bool saveFailed() const { return saveFailed_; }

 protected:
  void finishNote(bool keep) override;

 private:
  bool readNote();
  HWND raiseAlarm(HWND owner);
  void markExpired();
  // Where the note goes on a save: its own file, or a free name; false with `error` set
  // when there is none.
  bool chooseSavePath(WCHAR (&path)[MAX_PATH], bool& newFile, DWORD& error) const;
  // The note could not be written: tell the user and show it again.
  void keepUnsaved(DWORD error);
  void dropAlarmedFile();
  void closed() const;

  int mode_ = 0;
  HWND owner_ = nullptr;
  HWND mainWindow_ = nullptr;
  bool readFailed_ = false;
  bool saveFailed_ = false;
  // The alarmed note's file was renamed to its side name (else it stayed where it was).
  bool setAside_ = false;
  AlarmSound alarmSound_;
  // The path handed to the main window with PNM_NOTE_SAVED.
  WCHAR savedPath_[MAX_PATH] = {};
};
