// Edits in a dialog of another device program, driven as a person would: a tap into a
// field, text typed through the device's keyboard, tab to the next field, enter.
#include <gtest/gtest.h>

#include <map>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class EditDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"EditTest");
    // Hidden: taps land on the probe's windows.
    reporter = CreateWindowExW(0, u"EditTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    probe = installTestProgram("edit_probe.exe");
  }
  void TearDown() override {
    DestroyWindow(reporter);
    DeviceFixture::TearDown();
  }

  // The first report of `message` for `id` that satisfies `wanted`.
  std::optional<RecordedMessage> waitFor(UINT message, WPARAM id, LPARAM wanted = -1) {
    std::optional<RecordedMessage> found;
    recorder.pumpUntil([&] {
      for (const auto& m : recorder.messages())
        if (m.message == message && m.wParam == id && (wanted == -1 || m.lParam == wanted)) found = m;
      return found.has_value();
    });
    return found;
  }
  void tapOn(int id) {
    auto centre = waitFor(WM_APP + 1, static_cast<WPARAM>(id));
    ASSERT_TRUE(centre);
    ASSERT_EQ(ctl("tap " + std::to_string(GET_X_LPARAM(centre->lParam)) + " " + std::to_string(GET_Y_LPARAM(centre->lParam))), 0);
  }

  MessageRecorder recorder;
  HWND reporter = nullptr;
  std::u16string probe;
};

TEST_F(EditDevice, TypedTextReachesTheFieldsOfADialog) {
  const uint32_t process = run(probe, u"");
  ASSERT_TRUE(waitFor(WM_APP + 3, 301));  // the first field has the focus
  tapOn(301);
  ASSERT_EQ(ctl("text Hi there"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 2, 301, MAKELPARAM(8, u'e')));
  // Tab moves to the multi-line field, where enter makes a line.
  ASSERT_EQ(ctl("key press VK_TAB"), 0);
  ASSERT_TRUE(waitFor(WM_APP + 3, 302));
  ASSERT_EQ(ctl("text ab"), 0);
  ASSERT_EQ(ctl("key press VK_RETURN"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 2, 302, MAKELPARAM(4, u'\n')));
  ASSERT_EQ(ctl("text c"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 2, 302, MAKELPARAM(5, u'c')));
  // Back in the single line, backspace takes one character and enter presses OK.
  tapOn(301);
  ASSERT_EQ(ctl("key press VK_BACK"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 2, 301));
  ASSERT_EQ(ctl("key press VK_RETURN"), 0);
  EXPECT_EQ(waitExit(process), 7u + 200u);
}

}  // namespace
}  // namespace handheld::testing
