// The all-notes window against a recording double of the note store: the double is the
// store's place in the class (a derivative of AllNotesWindow) and records each slot call as
// text, so that a test states what a message, command or stylus action must call.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/note_app.h"
#include "notelist/all_notes_window.h"
#include "support/device_fixture.h"

namespace handheld::testing {

using Calls = std::vector<std::string>;

class RecordingNotes : public AllNotesWindow {
 public:
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

  void addNote(const std::u16string& title, const SYSTEMTIME& expiry, BYTE expired = 0);
  void reorder(const std::function<bool(const NoteEntry&, const NoteEntry&)>& less) { notes_.sort(less); }
  void removeFirst() { notes_.pop_front(); }
  CriticalSection& noteLock() { return noteLock_; }
  Calls takeCalls();

  // Run by sortNotes after it was recorded, as the store would reorder its notes.
  std::function<void(int column)> onSort;
  // Run by applyOptions after it was recorded.
  std::function<void()> onApplyOptions;

 private:
  Calls calls_;
};

class NotesWindowTest : public DeviceFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Reads the screen metrics as the start-up does (after a change of the screen mode too).
  static void readScreen();
  // Shows the window with `count` pending notes titled "Note 0", "Note 1", ...; the calls of
  // the creation are taken.
  void showWithNotes(int count);
  HWND list() const { return GetDlgItem(notes_->window(), 1); }

  // Row states.
  std::vector<int> selectedRows() const;
  int focusedRow() const;
  int mark() const;
  // A point in the list's client area: the middle of a row, or below the last row.
  LPARAM rowPoint(int row) const;
  LPARAM belowRows() const;
  // Dispatches what is queued for this thread.
  void pump();
  // Holds a key down (VK_CONTROL, VK_SHIFT) through the device, as the keyboard would.
  void pressKey(const std::string& key);
  void releaseKey(const std::string& key);

  std::optional<NoteApp> app_;
  std::optional<RecordingNotes> notes_;
};

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute);
// The hour that marks a note that never expires.
SYSTEMTIME NeverTime();

}  // namespace handheld::testing
