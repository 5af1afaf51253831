// The control gallery driven as a person would, through automation only: taps, keys and
// text, with every result read back from `handheld-ctl tree`.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using nlohmann::json;

class Gallery : public DeviceFixture {
 protected:
  void start() {
    pid = run(u"\\Windows\\ctlgallery.exe");
    ASSERT_NE(pid, 0u);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }

  // Every window of the gallery's process by control id (the last one of an id wins: the
  // gallery's own ids are unique), and the top-level windows by class.
  void describe() {
    std::string out;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
    ASSERT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    byId.clear();
    topLevel.clear();
    std::function<void(const json&)> walk = [&](const json& node) {
      if (node.value("id", int64_t{0}) > 0) byId[node["id"].get<int64_t>()] = node;
      for (const auto& child : node["children"]) walk(child);
    };
    for (const auto& root : json::parse(out)) {
      topLevel.emplace(root["class"].get<std::string>(), root);
      walk(root);
    }
  }

  json state(int id) {
    describe();
    return byId[id].value("state", json::object());
  }

  // The centre of a control as the tree reports it, moved by (dx, dy) from it.
  void tap(const json& node, int dx = 0, int dy = 0) {
    const auto& r = node["rect"];
    const int x = r[0].get<int>() + r[2].get<int>() / 2 + dx, y = r[1].get<int>() + r[3].get<int>() / 2 + dy;
    ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
  }

  void key(const std::string& name) { ASSERT_EQ(ctl("key press " + name), 0); }

  // Tabs through the dialog until `id` has the focus; the gallery scrolls it into view.
  bool focusByTab(int id) {
    for (int i = 0; i < 40; ++i) {
      describe();
      if (byId[id].value("focused", false)) return true;
      key("VK_TAB");
    }
    return false;
  }

  std::string status() {
    describe();
    return byId[2002]["text"].get<std::string>();
  }

  uint32_t pid = 0;
  std::map<int64_t, json> byId;
  std::multimap<std::string, json> topLevel;
};

TEST_F(Gallery, EveryControlAnswersTapsKeysAndText) {
  start();
  describe();
  for (int id : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015})
    EXPECT_TRUE(byId.contains(id)) << "control " << id;
  EXPECT_EQ(byId[1010]["class"], "SysListView32");
  EXPECT_GE(state(1010)["rows"].size(), 20u);

  // A check box and a radio button by taps.
  tap(byId[1002]);
  EXPECT_EQ(state(1002)["checked"], 1);
  tap(byId[1004]);
  EXPECT_EQ(state(1004)["checked"], 1);
  EXPECT_EQ(state(1003)["checked"], 0);

  // Text typed into the edit.
  tap(byId[1005]);
  ASSERT_EQ(ctl("text hello"), 0);
  EXPECT_EQ(state(1005)["text"], "hello");

  // A combo box item: dropped by a tap, moved by a key, taken by enter.
  tap(byId[1007]);
  EXPECT_EQ(state(1007)["dropped"], true);
  key("VK_DOWN");
  key("VK_RETURN");
  auto combo = state(1007);
  EXPECT_EQ(combo["dropped"], false);
  EXPECT_EQ(combo["selection"], 1);
  EXPECT_EQ(combo["text"], "Banana");

  // List view rows by taps: one, then a range to it with shift (rows 16 pixels under an
  // 18-pixel header at QVGA).
  ASSERT_TRUE(focusByTab(1010));
  describe();
  const auto& list = byId[1010]["rect"];
  const int left = list[0].get<int>() + 20, rows = list[1].get<int>() + 18;
  ASSERT_EQ(ctl("tap " + std::to_string(left) + " " + std::to_string(rows + 16 + 8)), 0);
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  ASSERT_EQ(ctl("key down VK_SHIFT"), 0);
  ASSERT_EQ(ctl("wait-idle 10"), 0);  // the shift is down before the stylus touches
  ASSERT_EQ(ctl("tap " + std::to_string(left) + " " + std::to_string(rows + 3 * 16 + 8)), 0);
  ASSERT_EQ(ctl("key up VK_SHIFT"), 0);
  const auto view = state(1010);
  std::vector<int> selected;
  for (size_t i = 0; i < view["rows"].size(); ++i)
    if (view["rows"][i].value("selected", false)) selected.push_back(static_cast<int>(i));
  EXPECT_EQ(selected, (std::vector<int>{1, 2, 3}));

  // The picker's time moves with the arrow keys.
  ASSERT_TRUE(focusByTab(1011));
  const auto before = state(1011)["value"];
  key("VK_UP");
  EXPECT_NE(state(1011)["value"], before);

  // The up-down steps its buddy's number.
  ASSERT_TRUE(focusByTab(1012));
  const int position = state(1013)["position"].get<int>();
  key("VK_UP");
  EXPECT_EQ(state(1013)["position"], position + 1);

  // A calendar day by keys, then None by a tap at the bottom right.
  ASSERT_TRUE(focusByTab(1014));
  const auto day = state(1014)["selection"];
  key("VK_RIGHT");
  EXPECT_NE(state(1014)["selection"], day);
  describe();
  const auto& calendar = byId[1014]["rect"];
  tap(byId[1014], calendar[2].get<int>() * 3 / 8, calendar[3].get<int>() / 2 - 6);
  EXPECT_EQ(status(), "Calendar: none");

  // Tabs by keys: the page follows.
  ASSERT_TRUE(focusByTab(1015));
  key("VK_RIGHT");
  EXPECT_EQ(state(1015)["selection"], 1);
  EXPECT_EQ(byId[1016]["text"], "Page two");
}

TEST_F(Gallery, MenuMessageBoxAndPropertySheet) {
  start();
  describe();
  // The menu's sub-menu: an option checked by choosing it.
  tap(byId[2001]);
  ASSERT_EQ(ctl("choose Options"), 0);
  ASSERT_EQ(ctl("choose Option A"), 0);
  EXPECT_EQ(status(), "Option A on");

  // The message box, answered with a tap on "No".
  tap(byId[2001]);
  ASSERT_EQ(ctl("choose Message box..."), 0);
  describe();
  const json* no = nullptr;
  for (const auto& [id, node] : byId)
    if (node["class"] == "BUTTON" && node["text"] == "&No") no = &node;
  ASSERT_NE(no, nullptr);
  tap(*no);
  EXPECT_EQ(status(), "Message box: no");

  // The property sheet: its second page by a tap on its tab, then OK.
  tap(byId[2001]);
  ASSERT_EQ(ctl("choose Property sheet..."), 0);
  describe();
  ASSERT_TRUE(byId.contains(0x3020));
  EXPECT_EQ(byId[0x3020]["state"]["items"], json::parse(R"(["Buttons", "Lists", "Dates"])"));
  tap(byId[0x3020]);
  key("VK_RETURN");
  EXPECT_EQ(status(), "Property sheet: OK");
}

// The screenshots of the gallery in docs/ come from these two runs.
TEST_F(Gallery, FitsBothScreens) {
  for (const char* mode : {"qvga", "vga"}) {
    ASSERT_EQ(ctl(std::string("screen ") + mode), 0);
    start();
    describe();
    auto main = topLevel.find("CtlGallery");
    ASSERT_NE(main, topLevel.end());
    const auto& rect = main->second["rect"];
    std::string size;
    ASSERT_EQ(ctl("screen", &size), 0);
    EXPECT_EQ(rect[2].get<int>(), std::string(mode) == "qvga" ? 240 : 480) << size;
    // Every control lies within the screen's width.
    for (const auto& [id, node] : byId)
      if (id >= 1000 && id < 1100) EXPECT_LE(node["rect"][0].get<int>() + node["rect"][2].get<int>(), rect[2].get<int>()) << id;
    const char* shot = std::getenv("HANDHELD_GALLERY_SHOTS");
    if (shot) ASSERT_EQ(ctl("screenshot " + std::string(shot) + "/ctlgallery-" + mode + ".png"), 0);
    ASSERT_EQ(ctl("post " + main->second["handle"].get<std::string>() + " WM_CLOSE 0 0"), 0);
    EXPECT_EQ(waitExit(pid), 0u);
  }
}

}  // namespace
}  // namespace handheld::testing
