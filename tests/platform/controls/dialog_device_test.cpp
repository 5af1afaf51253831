// A dialog of another device program driven through automation as a person would: taps on
// the screen and keys, in both screen modes.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <nlohmann/json.hpp>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class DialogDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"DialogTest");
    // Hidden: taps land on the probe's windows.
    reporter = CreateWindowExW(0, u"DialogTest", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    probe = installTestProgram("dialog_probe.exe");
  }

  // Starts the probe and waits for its dialog's report.
  void start() {
    process = run(probe, u"");
    ASSERT_TRUE(recorder.pumpUntil([&] { return units != 0; }, 10000));
    for (const auto& m : recorder.messages())
      if (m.message == WM_APP + 1) centres[static_cast<int>(m.wParam)] = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  }

  void tapOn(int id) {
    POINT at = centres.at(id);
    ASSERT_EQ(ctl("tap " + std::to_string(at.x) + " " + std::to_string(at.y)), 0);
  }

  // The last report of `message` once it came.
  std::optional<RecordedMessage> waitFor(UINT message, WPARAM wParam) {
    std::optional<RecordedMessage> found;
    recorder.pumpUntil([&] {
      for (const auto& m : recorder.messages())
        if (m.message == message && m.wParam == wParam) found = m;
      return found.has_value();
    });
    return found;
  }

  // The probe's controls as `tree` describes them, by control id.
  std::map<int64_t, nlohmann::json> controlsInTree() {
    std::string out;
    EXPECT_EQ(ctl("tree --pid " + std::to_string(process), &out), 0);
    std::map<int64_t, nlohmann::json> byId;
    std::function<void(const nlohmann::json&)> walk = [&](const nlohmann::json& node) {
      if (node.value("id", int64_t{0}) != 0) byId[node["id"].get<int64_t>()] = node;
      for (const auto& child : node.value("children", nlohmann::json::array())) walk(child);
    };
    for (const auto& root : nlohmann::json::parse(out)) walk(root);
    return byId;
  }

  bool focusReported(int id) { return waitFor(WM_APP + 3, static_cast<WPARAM>(id)).has_value(); }

  MessageRecorder recorder;
  HWND reporter = nullptr;
  std::u16string probe;
  uint32_t process = 0;
  LPARAM units = 0;
  WPARAM ownerEnabledAtInit = 1;
  std::map<int, POINT> centres;
};

TEST_F(DialogDevice, TapsAndKeysDriveTheModalDialog) {
  recorder.react(WM_APP + 2, [&](HWND, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    ownerEnabledAtInit = wParam;
    units = lParam;
    return 0;
  });
  start();
  EXPECT_EQ(ownerEnabledAtInit, 0u);  // the owner is disabled while the dialog runs
  EXPECT_EQ(units, MAKELPARAM(7, 14));
  ASSERT_TRUE(focusReported(202));  // the first tab stop has the focus

  // Tab order: the check box, then the radio buttons (each a tab stop while none is checked).
  ASSERT_EQ(ctl("key press VK_TAB"), 0);
  EXPECT_TRUE(focusReported(203));
  ASSERT_EQ(ctl("key press VK_TAB"), 0);
  EXPECT_TRUE(focusReported(204));

  // A tap on the check box checks it and tells the dialog.
  tapOn(202);
  auto clicked = waitFor(WM_APP + 4, 202);
  ASSERT_TRUE(clicked);
  EXPECT_EQ(clicked->lParam, BST_CHECKED);

  // Radio buttons: a tap checks one, the arrow moves the check within the group.
  tapOn(204);
  auto two = waitFor(WM_APP + 4, 204);
  ASSERT_TRUE(two);
  EXPECT_EQ(two->lParam, BST_CHECKED);
  ASSERT_EQ(ctl("key press VK_DOWN"), 0);
  auto three = waitFor(WM_APP + 4, 205);
  ASSERT_TRUE(three);
  EXPECT_EQ(three->lParam, BST_CHECKED);

  // Automation sees the same: check states, and where the focus is.
  auto controls = controlsInTree();
  EXPECT_EQ(controls[202]["state"]["checked"], 1) << controls[202];
  EXPECT_EQ(controls[204]["state"]["checked"], 0);
  EXPECT_EQ(controls[205]["state"]["checked"], 1);
  EXPECT_EQ(controls[205]["focused"], true);
  EXPECT_EQ(controls[202]["focused"], false);
  EXPECT_EQ(controls[206]["state"]["pushed"], false);
  EXPECT_FALSE(controls[206]["state"].contains("checked"));  // a push button has no check

  // Enter presses the default button, which ends the dialog with IDOK.
  ASSERT_EQ(ctl("key press VK_RETURN"), 0);
  EXPECT_EQ(waitExit(process), 1u);
  EXPECT_TRUE(waitFor(WM_APP + 5, 1).has_value());  // the owner is enabled again
}

TEST_F(DialogDevice, EscapeCancelsInVga) {
  ASSERT_EQ(ctl("screen vga"), 0);
  recorder.react(WM_APP + 2, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    units = lParam;
    return 0;
  });
  start();
  EXPECT_EQ(units, MAKELPARAM(13, 25));  // the dialog font at 192 dpi
  // Controls are laid out in those units: the push button's centre at (10 + 4 + 20, 10 + 66 + 7)
  // units from the screen's corner, the dialog placed 10, 10 units into its owner.
  ASSERT_TRUE(centres.count(206));
  EXPECT_NEAR(centres[206].x, 34 * 13 / 4, 4);
  ASSERT_TRUE(focusReported(202));
  ASSERT_EQ(ctl("key press VK_ESCAPE"), 0);
  EXPECT_EQ(waitExit(process), 2u);
}

}  // namespace
}  // namespace handheld::testing
