// The program's one collection of notes: one entry per note file of the notes folder, and
// every operation that creates, opens, saves or raises a note. The main window turns each of
// its messages into one call here.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "notelist/all_notes_window.h"
#include "notes/note_sort.h"

class NoteApp;
class NoteFileWindow;

class NoteStore : public AllNotesWindow {
 public:
  // Scans the notes folder of `app` and reads the header of every note file.
  explicit NoteStore(NoteApp& app);
  // Destroys an open note window without saving it.
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
  // Closes the open note window as the user's "ok" would, so that its note is saved. False
  // when the save failed and the note is shown again: it is still open then.
  bool closeNoteWindow();
  // Raises every due note as an alarm; with `fallback`, when none is due, the note that
  // falls due first within a minute. Whether a note was raised.
  bool ExpiryCheck(bool fallback);

 private:
  // Defined with the store, so that users of this header need not know the note window.
  struct NoteWindowDeleter {
    void operator()(NoteFileWindow* window) const;
  };
  using NoteWindowPointer = std::unique_ptr<NoteFileWindow, NoteWindowDeleter>;

  void scanFolder();
  bool addNote(LPCWSTR path);
  // Index of the removed entry, or -1.
  int removeByPath(const std::u16string& path);
  NoteEntry* findEntry(const std::u16string& path);
  // The paths of the selected rows, in row order.
  std::vector<std::u16string> selectedPaths();
  // Opens `path` in `mode` in a new note window, closing the open one first. False when the
  // object could not be made or the file could not be read (then nothing was changed).
  bool openNoteWindow(const std::u16string& path, int mode);
  // Raises `path` if it is still listed and due by `limit`; whether it was raised.
  bool alarmNote(const std::u16string& path, ULONGLONG limit);

  NoteApp& app_;
  HWND todayWindow_ = nullptr;
  SortState sort_;
  NoteWindowPointer current_;
  bool noteWindowOpen_ = false;
};
