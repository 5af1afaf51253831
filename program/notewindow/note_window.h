// The window of one note: full screen, yellow, class "PinnoteWndClass", title "VORLA Pinnotes",
// with its title box, expiry line and buttons, canvas and menu bar. It never touches files: it
// fills and reads its record, and reports the end of its life once through finishNote, which
// the note-handling side supplies.
#pragma once

#include <windows.h>

#include "notes/note_record.h"

class NoteWindow {
 public:
  NoteWindow();
  virtual ~NoteWindow();
  NoteWindow(const NoteWindow&) = delete;
  NoteWindow& operator=(const NoteWindow&) = delete;

  // Creates the window for `record` (read from its file first when `existing`); null when it
  // cannot be made.
  HWND open(HWND owner, bool existing, bool alarmOpened);
  // Tears the window down; safe when there is none.
  void destroy();
  // Sends PNM_NOTE_CLOSE to the window if it exists: it ends as on the user's "ok".
  void requestClose();
  // Plays the note's own recording "SndCount" times on a thread of its own, after `after`
  // (a thread handle the caller keeps open until stopPlayback has returned, or null) ended.
  void startPlayback(HANDLE after = nullptr);
  // Stops the playback and joins its thread.
  void stopPlayback();
  // Records while the hardware record button is held.
  void startPushToTalk();

  HWND window() const { return window_; }

 protected:
  // Called exactly once, after the window is gone; `keep`: the edits were collected into
  // `record_`.
  virtual void finishNote(bool keep) = 0;

  NoteRecord record_;
  // The note's file; empty for a new note. Set by the derived class before open.
  WCHAR filePath_[MAX_PATH] = {};

 private:
  HWND window_ = nullptr;
};
