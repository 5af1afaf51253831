// In place of the note window while these tests run: a bare window of the note window's class
// and title that answers PNM_NOTE_REOPEN as the note window does, plays a recording of its own
// for startPlayback, and logs what the note file window asks of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "note_folder_fixture.h"

namespace handheld::testing {

struct StandInLog {
  std::vector<std::string> calls;  // "open(existing, alarm)", "startPlayback", ...
  HANDLE playbackAfter = nullptr;   // what startPlayback was to wait for
};
StandInLog& standInLog();

// The sound the stand-in's playback plays from memory: 0.05 s of 8-bit mono at 8000 Hz.
const std::vector<BYTE>& standInRecording();

// The notes folder with the stand-in's log emptied.
class StandInTest : public NoteFolderTest {
 protected:
  void SetUp() override {
    NoteFolderTest::SetUp();
    standInLog() = {};
  }
};

}  // namespace handheld::testing
