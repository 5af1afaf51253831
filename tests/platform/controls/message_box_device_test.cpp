// A message box of another device program answered as a person would: taps and keys through
// automation, in both screen modes, and what `tree` shows of it.
#include <gtest/gtest.h>

#include <map>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class MessageBoxDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"MessageBoxTest");
    // Hidden: taps land on the probe's windows.
    reporter = CreateWindowExW(0, u"MessageBoxTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    probe = installTestProgram("message_box_probe.exe");
  }
  void TearDown() override {
    DestroyWindow(reporter);
    DeviceFixture::TearDown();
  }

  // Starts the probe with a box of `type` and waits until it reported the box.
  void start(UINT type) {
    process = run(probe, std::u16string(u"") + static_cast<char16_t>(u'0' + type / 10 % 10) +
                             static_cast<char16_t>(u'0' + type % 10));
    ASSERT_TRUE(recorder.pumpUntil([&] {
      for (const auto& m : recorder.messages())
        if (m.message == WM_APP + 2) return true;
      return false;
    }, 10000));
    for (const auto& m : recorder.messages()) {
      if (m.message == WM_APP + 1) centres[static_cast<int>(m.wParam)] = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      if (m.message == WM_APP + 2) ownerEnabled = m.wParam;
    }
  }

  void tapOn(int id) {
    ASSERT_TRUE(centres.count(id));
    POINT at = centres.at(id);
    ASSERT_EQ(ctl("tap " + std::to_string(at.x) + " " + std::to_string(at.y)), 0);
  }

  MessageRecorder recorder;
  HWND reporter = nullptr;
  std::u16string probe;
  uint32_t process = 0;
  WPARAM ownerEnabled = 1;
  std::map<int, POINT> centres;
};

TEST_F(MessageBoxDevice, ATapOnNoAnswersNo) {
  start(4);  // MB_YESNO
  EXPECT_EQ(ownerEnabled, 0u);
  EXPECT_EQ(centres.size(), 2u);
  // The buttons sit side by side in one row.
  EXPECT_EQ(centres[6].y, centres[7].y);
  EXPECT_LT(centres[6].x, centres[7].x);
  std::string tree;
  ASSERT_EQ(ctl("tree --pid " + std::to_string(process), &tree), 0);
  EXPECT_NE(tree.find("\"Warning!\""), std::string::npos);
  EXPECT_NE(tree.find("#32770"), std::string::npos);
  EXPECT_NE(tree.find("&Yes"), std::string::npos);
  EXPECT_NE(tree.find("&No"), std::string::npos);
  tapOn(7);
  EXPECT_EQ(waitExit(process), 7u);
}

TEST_F(MessageBoxDevice, KeysAnswerInVga) {
  ASSERT_EQ(ctl("screen vga"), 0);
  start(3 + 0);  // MB_YESNOCANCEL
  // The screen's width: the row is centred on 480 pixels.
  EXPECT_NEAR((centres[6].x + centres[2].x) / 2, 240, 2);
  ASSERT_EQ(ctl("key press VK_RIGHT"), 0);
  ASSERT_EQ(ctl("key press VK_RETURN"), 0);
  EXPECT_EQ(waitExit(process), 7u);
}

TEST_F(MessageBoxDevice, EscapeCancelsAndALetterAnswers) {
  start(1);  // MB_OKCANCEL
  ASSERT_EQ(ctl("key press VK_ESCAPE"), 0);
  EXPECT_EQ(waitExit(process), 2u);
  recorder.clear();
  centres.clear();
  start(2);  // MB_ABORTRETRYIGNORE: escape does nothing, "i" is Ignore
  ASSERT_EQ(ctl("key press VK_ESCAPE"), 0);
  ASSERT_EQ(ctl("key press I"), 0);
  EXPECT_EQ(waitExit(process), 5u);
}

}  // namespace
}  // namespace handheld::testing
