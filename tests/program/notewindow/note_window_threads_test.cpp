// The note window's threads and its lifetime: push-to-talk records while the record button is
// held and stops everywhere; the alarm playback waits for its start, plays the note's own
// recording and stops; destroying or deleting a window while either thread runs, while its
// picker is open, or from inside its own expiry menu leaves nothing touching a dead object.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/commands.h"
#include "note_window_fixture.h"

namespace handheld::testing {
namespace {

constexpr WPARAM kRecordKey = 0xC5;

class NoteThreads : public NoteWindowFixture {
 protected:
  bool recording(RecordingNoteWindow& note) {
    return stateOf(child(note.window(), 105))["recording"].get<bool>();
  }
  // Runs `step` and says whether it returned within `limit`.
  template <typename Step>
  static bool quick(Step step, std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::steady_clock::now() - start < limit;
  }
  // A playback start that never comes on its own.
  HANDLE never_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  void TearDown() override {
    CloseHandle(never_);
    NoteWindowFixture::TearDown();
  }
};

TEST_F(NoteThreads, PushToTalkRecordsWhileTheButtonIsHeld) {
  RecordingNoteWindow& note = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  note.startPushToTalk();
  pump();
  EXPECT_TRUE(recording(note));
  EXPECT_TRUE(pump_.pumpUntil([&] { return false; }, 300) == false);  // held: still recording
  EXPECT_TRUE(recording(note));
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);
  EXPECT_TRUE(pump_.pumpUntil([&] { return !recording(note); }, 3000));
  // Recording alone does not mark the note: an empty new note with nothing recorded is kept
  // only for what the canvas holds.
  EXPECT_TRUE(note.finishes.empty());
}

TEST_F(NoteThreads, RecordKeyUpStopsRecordingOnlyWithTheSettingOn) {
  RecordingNoteWindow& note = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  note.startPushToTalk();
  pump();
  ASSERT_TRUE(recording(note));
  app_->setRecordButton(0);
  SendMessageW(note.window(), WM_KEYUP, kRecordKey, 0);
  EXPECT_TRUE(recording(note));
  app_->setRecordButton(1);
  SendMessageW(note.window(), WM_KEYUP, 'A', 0);
  EXPECT_TRUE(recording(note));
  SendMessageW(note.window(), WM_KEYUP, kRecordKey, 0);
  EXPECT_FALSE(recording(note));
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);
}

TEST_F(NoteThreads, PushToTalkStopsTheOtherNoteWindowFirst) {
  RecordingNoteWindow& first = open();
  RecordingNoteWindow& second = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  first.startPushToTalk();
  pump();
  ASSERT_TRUE(recording(first));
  second.startPushToTalk();
  pump();
  EXPECT_FALSE(recording(first));
  EXPECT_TRUE(recording(second));
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);
  EXPECT_TRUE(pump_.pumpUntil([&] { return !recording(second); }, 3000));
}

TEST_F(NoteThreads, DestroyAndDeleteWhileTheWatchThreadRuns) {
  RecordingNoteWindow& note = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  note.startPushToTalk();
  HWND window = note.window();
  EXPECT_TRUE(quick([&] { note.destroy(); }));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(note.finishes.empty());
  notes_.clear();
  pump();
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);

  // Closed by the user while the button is still held: ends as any close does.
  RecordingNoteWindow& closed = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  closed.startPushToTalk();
  EXPECT_TRUE(quick([&] { SendMessageW(closed.window(), PNM_NOTE_CLOSE, 0, 0); }));
  EXPECT_EQ(closed.finishes.size(), 1u);
  notes_.clear();
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);
}

TEST_F(NoteThreads, DestroyAndDeleteWhilePlaybackWaits) {
  RecordingNoteWindow& note = open();
  note.startPlayback(never_);
  EXPECT_TRUE(quick([&] { note.destroy(); }));
  notes_.clear();

  // Stopping without a window, and twice, is harmless.
  RecordingNoteWindow& other = open();
  other.startPlayback(never_);
  EXPECT_TRUE(quick([&] { other.stopPlayback(); }));
  other.stopPlayback();
  other.startPlayback(never_);
  EXPECT_TRUE(quick([&] { notes_.clear(); }));
}

TEST_F(NoteThreads, PlaybackPlaysTheOwnRecordingAfterItsStartAndStops) {
  // A note with a recording of a tone, made by push-to-talk.
  ASSERT_EQ(ctlPumping("mic tone 440"), 0);
  RecordingNoteWindow& note = open();
  ASSERT_EQ(ctlPumping("button down 0xC5"), 0);
  note.startPushToTalk();
  pump_.pumpUntil([] { return false; }, 400);
  ASSERT_EQ(ctlPumping("button up 0xC5"), 0);
  ASSERT_TRUE(pump_.pumpUntil([&] { return !recording(note); }, 3000));
  ASSERT_GE(stateOf(child(note.window(), 105))["recordings"].get<int>(), 1);

  std::string log;
  ctl("speaker-log", &log);
  const size_t before = std::count(log.begin(), log.end(), '\n');
  HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  note.startPlayback(start);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ctl("speaker-log", &log);
  EXPECT_EQ(static_cast<size_t>(std::count(log.begin(), log.end(), '\n')), before) << log;  // waits for `start`
  SetEvent(start);
  bool played = false;
  for (int i = 0; i < 60 && !played; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    log.clear();
    ctl("speaker-log", &log);
    played = static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) > before;
  }
  EXPECT_TRUE(played) << log;
  EXPECT_TRUE(quick([&] { note.stopPlayback(); }));
  CloseHandle(start);
}

TEST_F(NoteThreads, PickerOpenAtDestructionIsClosedFirst) {
  RecordingNoteWindow& note = open();
  SendMessageW(note.window(), PNM_NOTE_OPEN_PICKER, 0, 0);
  HWND popup = FindWindowW(u"DateTimePicker", nullptr);
  ASSERT_NE(popup, nullptr);
  note.destroy();
  pump();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_TRUE(note.finishes.empty());

  // Closed by the note's "ok" while the picker is open: the picker goes, the note ends once.
  RecordingNoteWindow& closing = open();
  SendMessageW(closing.window(), PNM_NOTE_OPEN_PICKER, 0, 0);
  popup = FindWindowW(u"DateTimePicker", nullptr);
  ASSERT_NE(popup, nullptr);
  SendMessageW(closing.window(), PNM_NOTE_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(closing.finishes.size(), 1u);
}

TEST_F(NoteThreads, ClosedAndDeletedFromInsideItsOwnExpiryMenu) {
  notes_.push_back(std::make_unique<RecordingNoteWindow>());
  RecordingNoteWindow* note = notes_.back().release();
  notes_.pop_back();
  ASSERT_NE(note->open(nullptr, false, false), nullptr);
  HWND window = note->window();
  bool ended = false;
  // While the menu is open, the store closes the note and deletes it.
  MessageRecorder store;
  store.registerClass(u"Store");
  HWND storeWindow = CreateWindowExW(0, u"Store", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  store.react(WM_APP, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    note->requestClose();
    ended = note->finishes.size() == 1;
    delete note;
    return 0;
  });
  PostMessageW(storeWindow, WM_APP, 0, 0);
  SendMessageW(window, PNM_NOTE_EXPIRY_MENU, 0, 0);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(IsWindow(window));
  pump();
  DestroyWindow(storeWindow);
}

TEST_F(NoteThreads, ExpiryMenuOpensAtTheRightAndItsChoiceArrives) {
  RecordingNoteWindow& note = open();
  std::string menu;
  int chosen = -1;
  // The menu runs inside the send below; this worker looks at it and chooses while it is open.
  std::thread worker([&] {
    for (int i = 0; i < 100 && ctl("menu", &menu) != 0; ++i) {
      menu.clear();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    chosen = ctl("choose '1 hour'");
  });
  SendMessageW(note.window(), PNM_NOTE_EXPIRY_MENU, 0, 0);
  worker.join();
  pump();
  EXPECT_EQ(chosen, 0);
  const nlohmann::json level = nlohmann::json::parse(menu)[0];
  EXPECT_EQ(level["items"][0]["text"], "Never expire");
  // Right-aligned at the client area's width (240), its top at 48: inside the menu's frame.
  const auto& rect = level["items"][0]["rect"];
  const int right = rect[0].get<int>() + rect[2].get<int>();
  EXPECT_LE(right, 240);
  EXPECT_GE(right, 236);
  EXPECT_GE(rect[1].get<int>(), 48);
  EXPECT_LE(rect[1].get<int>(), 52);
  EXPECT_NE(std::u16string(note.expiryText()), u"Never expire");
  EXPECT_TRUE(note.finishes.empty());
}

}  // namespace
}  // namespace handheld::testing
