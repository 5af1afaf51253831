// The note file window with the real note window: the window's own answers (PNM_NOTE_REOPEN,
// the close decision, alarm playback) meet finishNote as the store drives them.
#include <gtest/gtest.h>

#include <sstream>

#include "app/app_references.h"
#include "note_folder_fixture.h"

namespace handheld::testing {
namespace {

using Log = std::vector<std::string>;
using Names = std::vector<std::string>;

std::u16string textOf(HWND window) {
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class RealNoteWindow : public NoteFolderTest {
 protected:
  void SetUp() override {
    NoteFolderTest::SetUp();
    app_->setInstance(GetModuleHandleW(nullptr));
    theScreen = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER),
                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  void TearDown() override {
    if (HWND box = FindWindowW(u"#32770", u"VORLA Pinnotes")) {
      PostMessageW(box, WM_CLOSE, 0, 0);
      for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
    }
    NoteFolderTest::TearDown();
  }
  int filePlays() {
    std::string out;
    EXPECT_EQ(ctl("speaker-log", &out), 0);
    int count = 0;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) count += line.find("alarm.wav") != std::string::npos;
    return count;
  }
};

TEST_F(RealNoteWindow, OpeningAFileClosesTheWindowThatShowsIt) {
  writeHost("Pinnote4.stk", NoteBytes(u"Shared", 7, 0, {}));
  TestNoteFileWindow first;
  HWND window = first.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_);
  ASSERT_NE(window, nullptr);
  WCHAR className[64] = {};
  GetClassNameW(window, className, 64);
  EXPECT_EQ(std::u16string(className), u"PinnoteWndClass");
  EXPECT_EQ(textOf(window), u"VORLA Pinnotes");
  mainWindowLog();

  TestNoteFileWindow second;
  ASSERT_NE(second.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_), nullptr);
  EXPECT_EQ(first.window(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(mainWindowLog(),
            (Log{"opening", "saved(0, \\My Documents\\My Pinnotes\\Pinnote4.stk)", "closed"}));
  // Closed as the store closes it: empty and untouched, it is discarded, and its file stays.
  second.requestClose();
  EXPECT_EQ(second.window(), nullptr);
  EXPECT_EQ(hostBytes("Pinnote4.stk"), NoteBytes(u"Shared", 7, 0, {}));
  EXPECT_EQ(mainWindowLog(), (Log{"saved(0, \\My Documents\\My Pinnotes\\Pinnote4.stk)", "closed"}));
}

TEST_F(RealNoteWindow, AnAlarmClosedByTheStoreIsKeptUnderAFreeNameAndItsSoundEnds) {
  writeHost("alarm.wav", PcmWave(200));
  app_->setSound(u"\\My Documents\\My Pinnotes\\alarm.wav");
  app_->setPlaySound(1);
  app_->setSoundCount(1000);
  app_->setPlayRecording(1);
  writeHost("Pinnote3.stk", NoteBytes(u"Due", 7, 0, {}));
  TestNoteFileWindow note;
  ASSERT_NE(note.openNote(nullptr, notePath("Pinnote3.stk").c_str(), AlarmNote, main_), nullptr);
  EXPECT_EQ(folderNames(), (Names{"Pinnote3.stk.alarm", "alarm.wav"}));
  recorder_.pumpPending();  // the title reaches the title box
  Sleep(100);
  note.requestClose();
  EXPECT_EQ(note.window(), nullptr);
  const int plays = filePlays();
  EXPECT_LT(plays, 1000);
  EXPECT_EQ(folderNames(), (Names{"Pinnote0.stk", "alarm.wav"}));
  const Bytes saved = hostBytes("Pinnote0.stk");
  ASSERT_GE(saved.size(), 535u);
  EXPECT_EQ(saved[16], 'D');
  EXPECT_EQ(saved[526], 1);  // still expired
  Sleep(200);
  EXPECT_EQ(filePlays(), plays);
}

TEST_F(RealNoteWindow, AFailedSaveShowsTheNoteAgainWithWhatWasCollected) {
  writeHost("Pinnote4.stk", NoteBytes(u"Before", 7, 0, {}));
  TestNoteFileWindow note;
  HWND window = note.openNote(nullptr, notePath("Pinnote4.stk").c_str(), OpenNote, main_);
  ASSERT_NE(window, nullptr);
  recorder_.pumpPending();
  HWND titleBox = GetDlgItem(window, 102);
  SetWindowTextW(titleBox, u"After");
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(102, 3), reinterpret_cast<LPARAM>(titleBox));  // title box used
  std::filesystem::create_directory(hostNote("Pinnote4.stk.new"));
  note.requestClose();
  ASSERT_NE(note.window(), nullptr);
  EXPECT_TRUE(note.saveFailed());
  recorder_.pumpPending();
  EXPECT_EQ(textOf(GetDlgItem(note.window(), 102)), u"After");
  EXPECT_EQ(hostBytes("Pinnote4.stk"), NoteBytes(u"Before", 7, 0, {}));

  std::filesystem::remove(hostNote("Pinnote4.stk.new"));
  titleBox = GetDlgItem(note.window(), 102);
  SendMessageW(note.window(), WM_COMMAND, MAKEWPARAM(102, 3), reinterpret_cast<LPARAM>(titleBox));
  note.requestClose();
  EXPECT_EQ(note.window(), nullptr);
  const Bytes saved = hostBytes("Pinnote4.stk");
  ASSERT_GE(saved.size(), 535u);
  EXPECT_EQ(saved[16], 'A');
  EXPECT_EQ(folderNames(), (Names{"Pinnote4.stk"}));
}

}  // namespace
}  // namespace handheld::testing
