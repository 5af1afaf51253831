// The start-up routine of a first instance, run on a thread of this test with the recording
// store: what it does with each command line, the skipped second check, and the ways out.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "app/commands.h"
#include "mainwindow/startup.h"
#include "recording_note_store.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using Calls = std::vector<std::string>;

class StartUp : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recording().clear();
    recording().expiryCheckAlarms = false;
  }
  void TearDown() override {
    // A test that stopped early still ends the program before its thread is waited for.
    if (exitCode_.valid()) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      exitCode_.wait();
    }
    DeviceFixture::TearDown();
  }
  static StoreRecording& recording() { return StoreRecording::instance(); }

  // Starts the program with `commandLine` and returns once its main window runs its loop,
  // with every request the start-up posted already queued.
  void start(const std::u16string& commandLine) {
    recording().clear();
    commandLine_ = commandLine;
    exitCode_ = std::async(std::launch::async,
                           [this] { return RunPinnotes(GetModuleHandleW(nullptr), commandLine_.c_str()); });
    ASSERT_TRUE(recording().waitFor("listChanged"));
    window_ = recording().mainWindow;
    // Answered only from the message loop, which runs after the start-up's posts.
    SendMessageW(window_, WM_NULL, 0, 0);
  }
  // Ends the program through WM_CLOSE after what is queued; the calls it made, without the
  // creation's own and without the close of an open note that every end makes last.
  Calls finish() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode_.get(), 0);
    Calls calls = recording().calls();
    calls.erase(calls.begin(), calls.begin() + 2);  // listChanged, ExpiryCheck(0)
    EXPECT_FALSE(calls.empty());
    if (calls.empty()) return calls;
    EXPECT_EQ(calls.back(), "closeNoteWindow");
    calls.pop_back();
    return calls;
  }

  std::u16string commandLine_;
  std::future<int> exitCode_;
  HWND window_ = nullptr;
};

TEST_F(StartUp, FirstInstancePostsTheRequestOfItsCommandLine) {
  const std::pair<std::u16string, Calls> table[] = {
      {u"", {"showAll"}},
      {u"showall", {"showAll"}},
      {u"ShowAll", {"openNoteByPath(ShowAll)"}},
      {u"addnew", {"newNote(0)"}},
      {u"AppRunAtTime", {"ExpiryCheck(1)"}},
      {u"\\My Documents\\My Pinnotes\\Pinnote3.stk", {"openNoteByPath(\\My Documents\\My Pinnotes\\Pinnote3.stk)"}},
  };
  for (const auto& [commandLine, calls] : table) {
    start(commandLine);
    EXPECT_EQ(finish(), calls) << narrow(commandLine);
  }
}

TEST_F(StartUp, RunAtTimeSkipsTheSecondCheckWhenTheFirstAlarmed) {
  recording().expiryCheckAlarms = true;
  start(u"AppRunAtTime");
  EXPECT_EQ(recording().calls(), (Calls{"listChanged", "ExpiryCheck(0)"}));
  EXPECT_EQ(finish(), Calls{});
}

TEST_F(StartUp, CtrlQEndsTheProgramAndPostedSavesAreDropped) {
  start(u"showall");
  // A posted note-saved message carries a pointer from nowhere: never dispatched.
  PostMessageW(window_, PNM_NOTE_SAVED, 1, 0x1234);
  PostMessageW(window_, WM_KEYUP, 'Q', 0);  // without Ctrl: an ordinary key
  PostMessageW(window_, PNM_ADD_NEW, 0, 0);
  ASSERT_TRUE(recording().waitFor("newNote(0)"));
  ASSERT_EQ(ctl("key down VK_CONTROL"), 0);
  PostMessageW(window_, WM_KEYUP, 'Q', 0);
  EXPECT_EQ(exitCode_.get(), 0);
  ctl("key up VK_CONTROL");
  // The note Ctrl+Q finds open is closed, and so saved, before the end.
  EXPECT_EQ(recording().calls(),
            (Calls{"listChanged", "ExpiryCheck(0)", "showAll", "newNote(0)", "closeNoteWindow"}));
}

// The note windows make their canvas of the ink library's class once the start-up has run.
TEST_F(StartUp, StartsTheInkLibrarySoThatItsClassExists) {
  start(u"showall");
  WNDCLASSW found{};
  EXPECT_NE(GetClassInfoW(nullptr, u"InkX", &found), 0);
  HWND canvas = CreateWindowExW(0, u"InkX", u"", 0x503000CC, 0, 0, 100, 100, window_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(canvas, nullptr);
  if (canvas) DestroyWindow(canvas);
  EXPECT_EQ(finish(), Calls{"showAll"});
}

}  // namespace
}  // namespace handheld::testing
