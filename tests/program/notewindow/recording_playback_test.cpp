// Playing a note's recording for an alarm, on a device: the first image that fits is played
// whole from memory, nothing is played without one, and stopping the sound ends a play that
// runs on another thread.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "mainwindow/ink_library.h"
#include "notewindow/ink_canvas.h"
#include "notewindow/sound_image.h"
#include "sound_images.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

using Bytes = std::vector<BYTE>;

class Playback : public DeviceFixture {
 protected:
  std::string speakerLog() {
    std::string log;
    EXPECT_EQ(ctl("speaker-log", &log), 0);
    return log;
  }
  static std::string memory(size_t bytes) { return "memory(" + std::to_string(bytes) + " bytes)"; }
};

TEST_F(Playback, PlaysTheFirstRecordingThatFitsOnly) {
  const Bytes first = WaveImage(80);
  const Bytes second = WaveImage(160);
  Bytes content = {'I', 'N', 'K', 'X', 1, 0, 0, 0, 2, 0, 0, 0};
  // A signature whose size runs past the end is passed over.
  Bytes lying = {'R', 'I', 'F', 'F', 0x00, 0x10, 0, 0, 'W', 'A', 'V', 'E'};
  content.insert(content.end(), lying.begin(), lying.end());
  content.insert(content.end(), first.begin(), first.end());
  content.insert(content.end(), second.begin(), second.end());

  InkCanvas::playRecording(content);
  const std::string log = speakerLog();
  EXPECT_NE(log.find(memory(first.size())), std::string::npos) << log;
  EXPECT_NE(log.find("result=ended"), std::string::npos) << "the call returns when the sound has ended\n" << log;
  EXPECT_EQ(log.find(memory(second.size())), std::string::npos) << log;

  InkCanvas::playRecording({});
  InkCanvas::playRecording(lying);
  EXPECT_EQ(speakerLog(), log) << "nothing to play";
}

TEST_F(Playback, StoppingTheSoundEndsAPlayOnAnotherThread) {
  const Bytes long_ = WaveImage(8000 * 5);  // five seconds
  const auto start = std::chrono::steady_clock::now();
  std::thread player([&] { InkCanvas::playRecording(long_); });
  // Wait until the speaker has it; the log is the only witness from outside.
  std::string log;
  for (int i = 0; i < 100 && log.find("result=playing") == std::string::npos; ++i) {
    log = speakerLog();
    if (log.find("result=playing") == std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  InkCanvas::stopSound();
  player.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  EXPECT_NE(speakerLog().find("result=stopped"), std::string::npos);
}

// What the control recorded streams out on the caller's thread and plays from that copy.
TEST_F(Playback, ARecordingMadeInTheCanvasPlaysFromItsStreamedContent) {
  StartInkLibrary();
  MessageRecorder recorder;
  recorder.registerClass(u"NoteParent");
  HWND parent = CreateWindowExW(0, u"NoteParent", u"note", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(ctl("mic tone 440"), 0);
  InkCanvas canvas;
  canvas.create(parent, 105, 0, 0, 240, 270, true);
  canvas.toggleRecording();
  canvas.recordNow();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  canvas.stop();
  EXPECT_FALSE(canvas.isEmpty());
  Bytes content;
  ASSERT_TRUE(canvas.streamOut(content));
  const std::span<const BYTE> image = FindSoundImage(content);
  ASSERT_FALSE(image.empty());
  InkCanvas::playRecording(content);
  EXPECT_NE(speakerLog().find(memory(image.size())), std::string::npos);
  canvas.destroy();
  DestroyWindow(parent);
}

}  // namespace
}  // namespace handheld::testing
