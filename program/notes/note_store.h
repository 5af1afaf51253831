// The program's one collection of notes: one entry per note file of the notes folder, and
// every operation that creates, opens, saves or raises a note. The main window turns each of
// its messages into one call here.
#pragma once

#include <windows.h>

#include "notelist/all_notes_window.h"

class NoteApp;

class NoteStore : public AllNotesWindow {
 public:
  // Scans the notes folder of `app` and reads the header of every note file.
  explicit NoteStore(NoteApp& app);
  ~NoteStore() override;

  HWND newNote(BOOL startRecording) override;
  void deleteSelectedNotes() override;
  void openNoteAt(int index) override;
  void setSelectedNotesExpired() override;
  void sortNotes(int column) override;
  void applyOptions() override;
  void openOptions(HWND owner) override;
  void about() override;
  void closeAndExit() override;
  void activated() override;

  // The Today item's window, found once when the main window is made; null when absent.
  void setTodayWindow(HWND todayWindow) { todayWindow_ = todayWindow; }
  // Tells the Today item's window that the list changed.
  void listChanged() const;
  // Opens the note whose path equals `path` exactly; nothing when none does.
  void openNoteByPath(LPCWSTR path);
  // A note window wrote `path`, a new file or its own one again.
  void noteSaved(bool newFile, LPCWSTR path);
  // The note window the store opened has closed.
  void noteWindowClosed();
  // Raises every due note as an alarm; with `fallback`, when none is due, the note that
  // expires first. Whether a note was raised.
  bool ExpiryCheck(bool fallback);

 private:
  void scanFolder();
  void addNote(LPCWSTR path);
  // Index of the removed entry, or -1.
  int removeByPath(LPCWSTR path);

  NoteApp& app_;
  HWND todayWindow_ = nullptr;
  bool noteWindowOpen_ = false;
};
