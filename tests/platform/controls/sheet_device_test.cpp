// A property sheet of another device program driven by the stylus through automation: a tap
// on a tab makes and shows its page, a tap on the caption's "ok" applies every page made.
#include <gtest/gtest.h>

#include <map>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class SheetDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"SheetTest");
    // Hidden: taps land on the probe's windows.
    reporter = CreateWindowExW(0, u"SheetTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    probe = installTestProgram("sheet_probe.exe");
  }

  void start() {
    process = run(probe, u"");
    ASSERT_TRUE(recorder.pumpUntil([&] { return tabCentres().size() == 3; }, 10000));
    // Keys and taps go to the sheet only once it has settled in front: wait until every
    // process is idle (this one pumping meanwhile, as it has windows too).
    int idle = -1;
    recorder.pumpWhile([&] { idle = ctl("wait-idle 10"); });
    ASSERT_EQ(idle, 0);
  }

  std::map<int, POINT> tabCentres() {
    std::map<int, POINT> centres;
    for (const auto& m : recorder.messages())
      if (m.message == WM_APP + 1) centres[static_cast<int>(m.wParam)] = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    return centres;
  }

  // The notifications the pages reported, as "code page" pairs (code 0 SETACTIVE, 1
  // KILLACTIVE, 2 APPLY, 3 RESET, 9 QUERYCANCEL).
  std::vector<std::pair<int, int>> notifications() {
    std::vector<std::pair<int, int>> out;
    for (const auto& m : recorder.messages())
      if (m.message == WM_APP + 2) out.emplace_back(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
    return out;
  }

  bool reported(std::pair<int, int> wanted) {
    return recorder.pumpUntil([&] {
      const auto seen = notifications();
      return std::find(seen.begin(), seen.end(), wanted) != seen.end();
    });
  }

  int tap(POINT at) { return ctl("tap " + std::to_string(at.x) + " " + std::to_string(at.y)); }

  MessageRecorder recorder;
  HWND reporter = nullptr;
  std::u16string probe;
  uint32_t process = 0;
};

TEST_F(SheetDevice, TapsOnATabAndOnOk) {
  start();
  // The tabs stand along the bottom of the screen.
  const auto centres = tabCentres();
  EXPECT_GT(centres.at(0).y, GetSystemMetrics(SM_CYSCREEN) - 40);
  ASSERT_TRUE(reported({0, 0}));
  ASSERT_EQ(tap(centres.at(2)), 0);
  ASSERT_TRUE(reported({0, 2}));
  ASSERT_EQ(tap({GetSystemMetrics(SM_CXSCREEN) - 8, GetSystemMetrics(SM_CYCAPTION) / 2}), 0);
  EXPECT_EQ(waitExit(process), 1u);
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {0, 2}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
  // The probe's last reports may still be on their way when it has ended.
  recorder.pumpUntil([&] { return notifications().size() >= expected.size(); }, 2000);
  EXPECT_EQ(notifications(), expected);
}

TEST_F(SheetDevice, EscapeCancelsAndResetsThePagesMade) {
  start();
  ASSERT_TRUE(reported({0, 0}));
  ASSERT_EQ(ctl("key press VK_ESCAPE"), 0);
  EXPECT_EQ(waitExit(process), 0u);
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {9, 0}, {3, 0}, {3, 1}};
  recorder.pumpUntil([&] { return notifications().size() >= expected.size(); }, 2000);
  EXPECT_EQ(notifications(), expected);
}

}  // namespace
}  // namespace handheld::testing
