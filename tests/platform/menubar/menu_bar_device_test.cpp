// A note window's menu bar in another device program, driven as a person would: a tap on
// "Edit" opens its menu above the bar and a choice reaches the window as WM_COMMAND; a tap on
// an image button is the window's command, and the states the program sets show in the tree.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "strings/utf.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using json = nlohmann::json;

class MenuBarDevice : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    pid = run(installTestProgram("menubar_probe.exe"));
    ASSERT_NE(pid, 0u);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
    std::istringstream words(log());
    for (std::string word; words >> word;) {
      int command = 0, x = 0, y = 0;
      if (std::sscanf(word.c_str(), "b%d@%d,%d", &command, &x, &y) == 3) centres[command] = {x, y};
    }
  }

  std::string log() {
    auto list = device().call<ipc::WindowList>({});
    if (list)
      for (const auto& w : list->windows)
        if (w.className == u"MenuBarProbe") return strings::toUtf8(w.text);
    return "(no probe)";
  }
  void act(const std::string& command) {
    ASSERT_EQ(ctl(command), 0) << command;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  void tap(POINT at) { act("tap " + std::to_string(at.x) + " " + std::to_string(at.y)); }
  // The bar's window in the probe's tree.
  json bar() {
    std::string out;
    if (ctl("tree --pid " + std::to_string(pid), &out) != 0) return nullptr;
    for (const auto& root : json::parse(out))
      if (root["class"] == "HandheldMenuBar") return root;
    return nullptr;
  }
  int stateOf(const json& barNode, int command) {
    for (const auto& b : barNode["state"]["buttons"])
      if (b["command"] == command) return b["state"];
    return -1;
  }
  json menuItem(const std::string& text) {
    std::string out;
    if (ctl("menu", &out) != 0) return nullptr;
    for (const auto& level : json::parse(out))
      for (const auto& item : level["items"])
        if (item["text"] == text) return item;
    return nullptr;
  }

  uint32_t pid = 0;
  std::map<int, POINT> centres;
};

TEST_F(MenuBarDevice, EditMenuOpensAboveTheBarAndAChoiceReachesTheWindow) {
  ASSERT_EQ(centres.size(), 7u) << log();
  const json node = bar();
  ASSERT_FALSE(node.is_null());
  const int barTop = node["rect"][1];
  EXPECT_EQ(barTop, 320 - 26);
  EXPECT_EQ(node["state"]["buttons"][0]["text"], "Edit");

  tap(centres.at(1121));
  const json copy = menuItem("Copy");
  ASSERT_FALSE(copy.is_null()) << "the menu did not open";
  // Above the bar, starting at the button.
  const json clear = menuItem("Clear all");
  const int menuBottom = clear["rect"][1].get<int>() + clear["rect"][3].get<int>();
  EXPECT_LE(menuBottom, barTop);
  EXPECT_GT(menuBottom, barTop - 6);
  const int x = copy["rect"][0].get<int>() + copy["rect"][2].get<int>() / 2;
  const int y = copy["rect"][1].get<int>() + copy["rect"][3].get<int>() / 2;
  tap({x, y});
  EXPECT_EQ(log().substr(log().find("cmd")), "cmd57634:menu");
  EXPECT_TRUE(menuItem("Copy").is_null());  // closed
}

TEST_F(MenuBarDevice, ImageButtonsAreCommandsAndFollowTheProgramsStates) {
  ASSERT_EQ(centres.size(), 7u) << log();
  EXPECT_EQ(stateOf(bar(), 1131), 4);  // enabled
  EXPECT_EQ(stateOf(bar(), 110), 4);  // enabled
  tap(centres.at(1131));
  EXPECT_EQ(log().substr(log().find("cmd")), "cmd1131:bar");
  // The program disabled zoom in and pressed pen mode.
  const json node = bar();
  EXPECT_EQ(stateOf(node, 1131), 0);
  EXPECT_EQ(stateOf(node, 110), 6);
  // A disabled button sends nothing; zoom out still does.
  tap(centres.at(1131));
  tap(centres.at(1132));
  EXPECT_EQ(log().substr(log().find("cmd")), "cmd1131:bar cmd1132:bar");
}

}  // namespace
}  // namespace handheld::testing
