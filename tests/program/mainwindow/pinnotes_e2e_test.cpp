// The program itself on a headless device: its first start, a second start forwarding each
// command line to the running instance (here a window of this test that takes its place),
// the record button, and its ends.
#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "pinnotes/crossing_names.h"
#include "pinnotes/registry_names.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

const std::u16string kProgram = u"\\Program Files\\Pinnotes\\Pinnotes.exe";

class Pinnotes : public DeviceFixture {
 protected:
  std::string output(const std::string& arguments) {
    std::string out;
    EXPECT_EQ(ctl(arguments, &out), 0) << arguments << ": " << out;
    return out;
  }
  int programWindows() {
    const std::string list = output("windows");
    int count = 0;
    for (std::size_t at = list.find("PINNOTES"); at != std::string::npos; at = list.find("PINNOTES", at + 1)) ++count;
    return count;
  }
  std::string mainWindow() {
    std::string handle = output("find PINNOTES 'VORLA Pinnotes'");
    if (!handle.empty() && handle.back() == '\n') handle.pop_back();
    return handle;
  }
};

TEST_F(Pinnotes, FirstStartRegistersAndWaitsHiddenThenEndsOnClose) {
  const uint32_t first = run(kProgram);
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(programWindows(), 1);
  EXPECT_NE(output("windows").find(" no "), std::string::npos);  // not visible
  EXPECT_TRUE(std::filesystem::is_directory(hostPath("My Documents/My Pinnotes")));

  const std::string settings = "'HKLM\\SOFTWARE\\VORLA\\Pinnotes' ";
  EXPECT_EQ(output("reg get " + settings + "Pinnotes"), "\\My Documents\\My Pinnotes\n");
  EXPECT_EQ(output("reg get " + settings + "Path"), "\\Program Files\\Pinnotes\\Pinnotes.exe\n");
  EXPECT_EQ(output("reg get " + settings + "Snd"), "\\My Documents\\My Pinnotes\\notify.wav\n");
  EXPECT_EQ(output("reg get " + settings + "PosX"), "147\n");
  EXPECT_EQ(output("reg get 'HKLM\\SOFTWARE\\Microsoft\\Today\\Items\\VORLA Pinnotes' DLL"),
            "\\Program Files\\Pinnotes\\VPinnotes.dll\n");

  const uint32_t second = run(kProgram, u"addnew");
  EXPECT_EQ(waitExit(second), 0u);
  EXPECT_EQ(programWindows(), 1);

  ASSERT_EQ(ctl("post " + mainWindow() + " WM_CLOSE 0 0"), 0);
  EXPECT_EQ(waitExit(first), 0u);
  EXPECT_EQ(programWindows(), 0);

  const uint32_t again = run(kProgram, u"showall");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  ASSERT_EQ(ctl("post " + mainWindow() + " WM_COMMAND " + std::to_string(IDM_EXIT) + " 0"), 0);
  EXPECT_EQ(waitExit(again), 0u);
}

// Without the ink library the program starts and ends as ever; only the canvas is missing.
TEST_F(Pinnotes, RunsWithoutTheInkLibrary) {
  ASSERT_TRUE(std::filesystem::remove(hostPath("Windows/InkX.dll")));
  const uint32_t pid = run(kProgram);
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(programWindows(), 1);
  ASSERT_EQ(ctl("post " + mainWindow() + " WM_CLOSE 0 0"), 0);
  EXPECT_EQ(waitExit(pid), 0u);
}

class SecondStart : public Pinnotes {
 protected:
  void SetUp() override {
    Pinnotes::SetUp();
    running_.registerClass(CrossingNames::kMainWindowClass);
    window_ = CreateWindowExW(0, CrossingNames::kMainWindowClass, CrossingNames::kWindowTitle, 0, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    Pinnotes::TearDown();
  }
  // Starts the program with `commandLine`; it must hand one message to this test's window
  // and end with 0.
  RecordedMessage forwarded(const std::u16string& commandLine) {
    running_.clear();
    const uint32_t pid = run(kProgram, commandLine);
    EXPECT_TRUE(running_.pumpUntil([&] { return !running_.messages().empty(); }, 10000));
    EXPECT_EQ(waitExit(pid), 0u);
    running_.pumpPending();
    const auto messages = running_.messages();
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? RecordedMessage{} : messages.front();
  }

  MessageRecorder running_;
  HWND window_ = nullptr;
};

TEST_F(SecondStart, ForwardsEveryCommandLineAsItsMessage) {
  const std::pair<std::u16string, UINT> table[] = {
      {u"", PNM_SHOW_ALL},
      {u"showall", PNM_SHOW_ALL},
      {u"addnew", PNM_SHOW_ALL},
      {u"\\My Documents\\My Pinnotes\\Pinnote0.stk", PNM_SHOW_ALL},
      {u"AppRunAtTime", PNM_NOTE_DUE},
  };
  for (const auto& [commandLine, message] : table) {
    const RecordedMessage got = forwarded(commandLine);
    EXPECT_EQ(got.message, message) << std::string(commandLine.begin(), commandLine.end());
    EXPECT_TRUE(got.posted);
    EXPECT_EQ(got.wParam, 0u);
    EXPECT_EQ(got.lParam, 0);
  }
  // The second start ran the first-run steps too.
  EXPECT_TRUE(std::filesystem::is_directory(hostPath("My Documents/My Pinnotes")));
}

TEST_F(SecondStart, HeldRecordButtonWithRecBtnOnPostsTheHotKey) {
  ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\VORLA\\Pinnotes' RecBtn dword 1"), 0);
  ASSERT_EQ(ctl("button down 0xC5"), 0);
  RecordedMessage got = forwarded(u"addnew");
  EXPECT_EQ(got.message, static_cast<UINT>(WM_HOTKEY));
  EXPECT_EQ(got.wParam, 0u);
  EXPECT_EQ(got.lParam, 0xC5 << 16);
  // AppRunAtTime keeps its meaning whatever the button does.
  EXPECT_EQ(forwarded(u"AppRunAtTime").message, PNM_NOTE_DUE);

  ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\VORLA\\Pinnotes' RecBtn dword 0"), 0);
  EXPECT_EQ(forwarded(u"addnew").message, PNM_SHOW_ALL);
  ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\VORLA\\Pinnotes' RecBtn dword 1"), 0);
  ASSERT_EQ(ctl("button up 0xC5"), 0);
  EXPECT_EQ(forwarded(u"").message, PNM_SHOW_ALL);
}

}  // namespace
}  // namespace handheld::testing
