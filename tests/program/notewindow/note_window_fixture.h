// Note windows in a headless device: a derivative that records how the window ended, the
// program's objects the window reads (NoteApp, the screen units, the ink library), and ways to
// look at what the window shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/note_app.h"
#include "notewindow/note_window.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {

// Records every finishNote with the record as it then was.
class RecordingNoteWindow : public NoteWindow {
 public:
  std::vector<bool> finishes;
  NoteRecord finished;

  NoteRecord& record() { return record_; }
  void setPath(LPCWSTR path) { lstrcpynW(filePath_, path, MAX_PATH); }

 protected:
  void finishNote(bool keep) override {
    finishes.push_back(keep);
    finished = record_;
  }
};

class NoteWindowFixture : public DeviceFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the program's objects as the start-up does; the screen units are read now.
  void startProgram();
  // A note window opened on `record` (read from a file when `existing`).
  RecordingNoteWindow& open(bool existing = false, bool alarm = false, const NoteRecord& record = {});
  void pump() { pump_.pumpPending(); }
  // Types into the note window once the device has settled its focus.
  int type(const std::string& text);
  // Runs a handheld-ctl command while this thread dispatches what it causes; its exit code.
  int ctlPumping(const std::string& arguments, std::string* out = nullptr);

  static HWND child(HWND window, int id) { return GetDlgItem(window, id); }
  static std::u16string className(HWND window);
  static std::u16string text(HWND window);
  // The rectangle of `window` in its parent's client coordinates.
  static RECT placeOf(HWND window);
  // The menu bar the note window owns, or null.
  static HWND menuBarOf(HWND note);
  // What a control shows, as it answers the automation request.
  static nlohmann::json stateOf(HWND control);

  // Whether the ink library is started, so that note windows have a canvas.
  bool loadInk_ = true;
  std::optional<NoteApp> app_;
  std::vector<std::unique_ptr<RecordingNoteWindow>> notes_;
  MessageRecorder pump_;
};

}  // namespace handheld::testing
