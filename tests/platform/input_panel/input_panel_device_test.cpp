// The input panel end to end: a device program with the shell's on-screen keyboard and a
// focused edit, driven only through handheld-ctl as a person would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using nlohmann::json;

class InputPanelDevice : public DeviceFixture {
 protected:
  void start() {
    pid = run(installTestProgram("input_panel_probe.exe"));
    ASSERT_NE(pid, 0u);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }

  // The top-level window of a class, as `windows --json` lists it.
  json topLevel(const std::string& className) {
    std::string out;
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("windows --json", &out), 0);
    for (const auto& w : json::parse(out))
      if (w["class"] == className) return w;
    ADD_FAILURE() << "no window of class " << className;
    return json::object();
  }

  json panelState() {
    std::string out;
    EXPECT_EQ(ctl("sip state", &out), 0);
    return json::parse(out);
  }

  // The probe's edit (id 100) as `tree` shows it.
  json edit() {
    std::string out;
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    for (const auto& root : json::parse(out))
      for (const auto& child : root["children"])
        if (child.value("id", int64_t{0}) == 100) return child;
    ADD_FAILURE() << "no edit in " << out;
    return json::object();
  }

  // A tap on the key at a grid cell (row, column) of the panel on the screen.
  void tapKey(int row, int column) {
    const auto r = topLevel("InputPanel")["rect"];
    const int x = r[0].get<int>() + (2 * column + 1) * r[2].get<int>() / 26;
    const int y = r[1].get<int>() + (2 * row + 1) * r[3].get<int>() / 10;
    ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
  }

  void shoot(const std::string& name) {
    if (const char* dir = std::getenv("HANDHELD_GALLERY_SHOTS"))
      ASSERT_EQ(ctl("screenshot " + std::string(dir) + "/" + name), 0);
  }

  uint32_t pid = 0;
};

TEST_F(InputPanelDevice, UpAndDownChangeTheVisibleDesktopAndTellTheWindows) {
  start();
  EXPECT_EQ(topLevel("PanelProbe")["title"], "changes 0 bottom 0");
  EXPECT_EQ(topLevel("InputPanel")["visible"], false);
  auto state = panelState();
  EXPECT_EQ(state["up"], false);
  EXPECT_EQ(state["visibleDesktop"], json::parse("[0, 26, 240, 320]"));
  EXPECT_EQ(state["panel"], json::parse("[0, 214, 240, 294]"));

  ASSERT_EQ(ctl("sip up"), 0);
  state = panelState();
  EXPECT_EQ(state["up"], true);
  EXPECT_EQ(state["flags"], 3);
  EXPECT_EQ(state["visibleDesktop"], json::parse("[0, 26, 240, 214]"));
  auto probe = topLevel("PanelProbe");
  EXPECT_EQ(probe["title"], "changes 1 bottom 214");
  EXPECT_EQ(probe["rect"], json::parse("[0, 26, 240, 188]"));  // fitted above the panel
  auto panel = topLevel("InputPanel");
  EXPECT_EQ(panel["visible"], true);
  EXPECT_EQ(panel["rect"], json::parse("[0, 214, 240, 80]"));

  ASSERT_EQ(ctl("sip down"), 0);
  probe = topLevel("PanelProbe");
  EXPECT_EQ(probe["title"], "changes 2 bottom 320");
  EXPECT_EQ(probe["rect"], json::parse("[0, 26, 240, 268]"));
  EXPECT_EQ(topLevel("InputPanel")["visible"], false);
  EXPECT_EQ(panelState()["visibleDesktop"], json::parse("[0, 26, 240, 320]"));

  std::string out;
  EXPECT_EQ(ctl("sip sideways", &out), 2);
}

TEST_F(InputPanelDevice, KeysReachTheFocusedEditAndTheFocusStays) {
  start();
  ASSERT_EQ(ctl("sip up"), 0);
  tapKey(3, 0);  // shift
  tapKey(2, 5);  // h, shifted
  tapKey(1, 7);  // i
  tapKey(3, 0);
  tapKey(0, 0);  // 1, shifted: !
  tapKey(0, 3);  // 4
  tapKey(0, 12);  // backspace
  tapKey(4, 6);  // space
  tapKey(2, 9);  // ;
  auto field = edit();
  EXPECT_EQ(field["state"]["text"], "Hi! ;");
  EXPECT_EQ(field["focused"], true);
  EXPECT_EQ(panelState()["up"], true);
  shoot("input-panel-qvga.png");

  // Enter reaches the edit as a key too: a single-line edit keeps its text.
  tapKey(2, 11);
  EXPECT_EQ(edit()["state"]["text"], "Hi! ;");

  // At VGA the panel doubles and its keys still land.
  ASSERT_EQ(ctl("screen vga"), 0);
  auto panel = topLevel("InputPanel");
  EXPECT_EQ(panel["rect"], json::parse("[0, 428, 480, 160]"));
  EXPECT_EQ(topLevel("PanelProbe")["rect"], json::parse("[0, 52, 480, 376]"));
  tapKey(1, 0);  // q
  EXPECT_EQ(edit()["state"]["text"], "Hi! ;q");
  shoot("input-panel-vga.png");
}

}  // namespace
}  // namespace handheld::testing
