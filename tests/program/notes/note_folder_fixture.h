// A device with the program's application object and a recording main window, the notes
// folder seen from the host, and note files made by hand.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/note_app.h"
#include "notes/note_file_window.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {

using Bytes = std::vector<unsigned char>;

// A note file as the format lays it out, written here without the program's encoder.
Bytes NoteBytes(const std::u16string& title, unsigned hour, unsigned char expired, const Bytes& content);

// A sound file of `samples` 8-bit mono samples at 8000 Hz.
Bytes PcmWave(unsigned samples);

// finishNote made callable, and the record reachable, as the note window would use them.
class TestNoteFileWindow : public NoteFileWindow {
 public:
  using NoteFileWindow::finishNote;
  NoteRecord& record() { return record_; }
  // The window goes first, then finishNote, as on every path of the note window.
  void close(bool keep) {
    destroy();
    finishNote(keep);
  }
};

class NoteFolderTest : public DeviceFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // "\My Documents\My Pinnotes\<name>" on the device and on the host.
  static std::u16string notePath(const std::string& name);
  std::filesystem::path hostNote(const std::string& name) const;
  Bytes hostBytes(const std::string& name) const;
  void writeHost(const std::string& name, const Bytes& bytes) const;
  // The names in the notes folder, sorted.
  std::vector<std::string> folderNames() const;

  // What reached the main window: PNM_NOTE_OPENING (1027), PNM_NOTE_SAVED (1025, with its
  // path if the announced pointer came), PNM_NOTE_CLOSED (1026), after dispatching the queue.
  std::vector<std::string> mainWindowLog();
  bool changeSignalled();

  std::optional<NoteApp> app_;
  MessageRecorder recorder_;
  HWND main_ = nullptr;

 private:
  std::vector<std::string> saved_;
  HANDLE changeEvent_ = nullptr;
};

}  // namespace handheld::testing
