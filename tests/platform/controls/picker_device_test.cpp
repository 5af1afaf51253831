// The picker, the month calendar and the up-down of another device program driven through
// automation as a person would: taps on the screen, keys and typed text.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class PickerDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"PickerTest");
    // Hidden: taps land on the probe's windows.
    reporter = CreateWindowExW(0, u"PickerTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    probe = installTestProgram("picker_probe.exe");
  }

  void start() {
    process = run(probe, u"");
    ASSERT_TRUE(recorder.pumpUntil([&] { return corners.size() == 3; }, 10000));
  }

  void tap(int id, int x, int y) {
    const POINT c = corners.at(id);
    ASSERT_EQ(ctl("tap " + std::to_string(c.x + x) + " " + std::to_string(c.y + y)), 0);
  }

  // The first report of `message` with `wParam` that was not taken yet.
  std::optional<RecordedMessage> waitFor(UINT message, WPARAM wParam) {
    std::optional<RecordedMessage> found;
    recorder.pumpUntil([&] {
      const auto all = recorder.messages();
      for (size_t i = 0; i < all.size(); ++i)
        if (all[i].message == message && all[i].wParam == wParam && !taken.count(i)) {
          taken.insert(i);
          found = all[i];
          return true;
        }
      return false;
    });
    return found;
  }
  bool notified(int id, int code) {
    for (;;) {
      auto m = waitFor(WM_APP + 2, static_cast<WPARAM>(id));
      if (!m) return false;
      if (static_cast<int>(m->lParam) == code) return true;
    }
  }

  MessageRecorder recorder;
  HWND reporter = nullptr;
  std::u16string probe;
  uint32_t process = 0;
  std::map<int, POINT> corners;
  std::set<size_t> taken;
};

TEST_F(PickerDevice, TapsKeysAndTextDriveTheControls) {
  recorder.react(WM_APP + 1, [&](HWND, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    corners[static_cast<int>(wParam)] = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return 0;
  });
  start();
  // The picker's up arrow: the focus, then the hour one up.
  tap(1003, 152, 4);
  EXPECT_TRUE(notified(1003, -7));
  EXPECT_TRUE(waitFor(WM_APP + 3, MAKEWPARAM(15, 5)).has_value());
  ASSERT_EQ(ctl("key press VK_DOWN"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 3, MAKEWPARAM(14, 5)).has_value());
  ASSERT_EQ(ctl("text 0930"), 0);
  EXPECT_TRUE(waitFor(WM_APP + 3, MAKEWPARAM(9, 30)).has_value());
  // The up-down's up arrow moves its position.
  tap(1007, 8, 4);
  EXPECT_TRUE(waitFor(WM_APP + 5, 1).has_value());
  // A day of the calendar: the picker loses the focus, the day is chosen.
  tap(1005, 80, 140);
  EXPECT_TRUE(notified(1003, -8));
  EXPECT_TRUE(notified(1005, -746));
  // "None" ends the probe.
  tap(1005, 150, 160);
  EXPECT_TRUE(notified(1005, -745));
  EXPECT_EQ(waitExit(process), 45u);
}

}  // namespace
}  // namespace handheld::testing
