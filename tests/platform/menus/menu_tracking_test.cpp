// Pop-up menus tracked in a device program (menu_probe.exe) and driven as a person would,
// through handheld-ctl: tap, key, menu, choose. The probe logs what its window was told.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "strings/utf.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

class MenuTracking : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    pid_ = run(installTestProgram("menu_probe.exe"));
    ASSERT_EQ(ctl("wait-idle 10"), 0);
    ASSERT_EQ(ctl("find MenuProbe", &probe_), 0);
    probe_.pop_back();
  }

  // Shows the menu with TPM_ flags at a point and waits until it is up.
  void show(unsigned flags, int x, int y) {
    ASSERT_EQ(ctl("post " + probe_ + " WM_APP " + std::to_string(flags) + " " + std::to_string(y * 65536 + x)), 0);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  void act(const std::string& command) {
    ASSERT_EQ(ctl(command), 0) << command;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  std::string log() {
    auto list = device().call<ipc::WindowList>({});
    if (list)
      for (const auto& w : list->windows)
        if (w.className == u"MenuProbe") return strings::toUtf8(w.text);
    return "(no probe)";
  }
  // The menu windows on the screen, the first opened first.
  std::vector<Box> menuWindows() {
    std::vector<Box> out;
    auto list = device().call<ipc::WindowList>({});
    if (!list) return out;
    for (auto w = list->windows.rbegin(); w != list->windows.rend(); ++w)
      if (w->className == u"PopupMenu" && w->visible) out.push_back({w->left, w->top, w->right, w->bottom});
    return out;
  }
  // The open menu levels as `handheld-ctl menu` prints them; null when it fails.
  nlohmann::json levels() {
    std::string out;
    if (ctl("menu", &out) != 0) return nullptr;
    return nlohmann::json::parse(out, nullptr, false);
  }
  // One item's JSON object from `handheld-ctl menu`, found by its text; null when none.
  nlohmann::json item(const std::string& text) {
    auto all = levels();
    if (!all.is_array()) return nullptr;
    for (const auto& level : all)
      for (const auto& entry : level["items"])
        if (entry["text"] == text) return entry;
    return nullptr;
  }
  Box itemBox(const std::string& text) {
    auto object = item(text);
    if (object.is_null()) return {};
    const auto& r = object["rect"];
    const int x = r[0], y = r[1], w = r[2], h = r[3];
    return {x, y, x + w, y + h};
  }
  void tapCentre(const Box& b) { act("tap " + std::to_string((b.left + b.right) / 2) + " " + std::to_string((b.top + b.bottom) / 2)); }
  bool highlighted(const std::string& text) { return item(text).value("highlighted", false); }

  uint32_t pid_ = 0;
  std::string probe_;
};

TEST_F(MenuTracking, ATapChoosesAndTheOwnerHearsOfItInOrder) {
  std::string out;
  EXPECT_EQ(ctl("menu", &out), 1);
  show(0, 20, 30);
  auto windows = menuWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].left, 20);
  EXPECT_EQ(windows[0].top, 30);
  EXPECT_EQ(log(), "enter init0");

  auto all = levels();
  ASSERT_TRUE(all.is_array());
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0]["level"], 0);
  EXPECT_EQ(item("&Open")["id"], 10);
  EXPECT_EQ(item("&Save")["checked"], true);
  EXPECT_EQ(item("&Gray")["grayed"], true);
  EXPECT_EQ(item("")["separator"], true);
  EXPECT_TRUE(item("&More")["id"].is_null());
  EXPECT_EQ(item("&More")["popup"], true);
  const Box open = itemBox("&Open");
  EXPECT_EQ(open.left, 21);  // inside the 1-pixel frame
  EXPECT_EQ(open.top, 31);
  EXPECT_EQ(open.right, windows[0].right - 1);
  ASSERT_EQ(ctl("tree --pid " + std::to_string(pid_), &out), 0);
  // The tree shows the menu window with its items.
  auto tree = nlohmann::json::parse(out);
  bool menuWithItems = false;
  for (const auto& window : tree)
    if (window["class"] == "PopupMenu" && window.contains("items")) menuWithItems = window["items"][0]["text"] == "&Open";
  EXPECT_TRUE(menuWithItems) << out;

  act("choose OPEN");
  EXPECT_EQ(log(), "enter init0 exit ret1 cmd10");
  EXPECT_TRUE(menuWindows().empty());
}

TEST_F(MenuTracking, ReturnCmdReturnsTheChoiceAndPostsNoCommand) {
  show(0x100, 20, 30);
  act("choose exit");  // "E&xit"
  EXPECT_EQ(log(), "enter init0 exit ret13");
  // TPM_NONOTIFY: nothing reaches the owner but the result.
  act("post " + probe_ + " WM_APP+1 0 0");
  show(0x180, 20, 30);
  act("choose save");
  EXPECT_EQ(log(), "ret11");
}

TEST_F(MenuTracking, ATapOutsideClosesWithNothingChosen) {
  show(0x100, 20, 30);
  act("tap 200 300");
  EXPECT_EQ(log(), "enter init0 exit ret0");
  EXPECT_TRUE(menuWindows().empty());
  std::string out;
  EXPECT_EQ(ctl("menu", &out), 1);
}

TEST_F(MenuTracking, GrayedItemsAndSeparatorsDoNothing) {
  show(0x100, 20, 30);
  tapCentre(itemBox("&Gray"));
  tapCentre(itemBox(""));
  EXPECT_EQ(menuWindows().size(), 1u);
  EXPECT_EQ(log(), "enter init0");
  std::string out;
  EXPECT_EQ(ctl("choose gray", &out), 1);
  EXPECT_EQ(ctl("choose nothing-like-this", &out), 1);
  act("key press VK_ESCAPE");
  EXPECT_EQ(log(), "enter init0 exit ret0");
  EXPECT_EQ(ctl("choose open", &out), 1);  // no menu any more
}

TEST_F(MenuTracking, ASubMenuOpensBesideItsItemOrFlipsWhenThereIsNoRoom) {
  show(0x100, 20, 30);
  const Box more = itemBox("&More");
  tapCentre(more);
  auto windows = menuWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[1].left, windows[0].right);
  EXPECT_EQ(windows[1].top, more.top - 1);
  EXPECT_EQ(log(), "enter init0 init4");
  EXPECT_TRUE(highlighted("&More"));
  auto all = levels();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1]["level"], 1);
  EXPECT_EQ(item("Sub &B")["checked"], true);
  act("choose sub a");
  EXPECT_EQ(log(), "enter init0 init4 exit ret20");

  // At the right edge the sub-menu opens to the left.
  act("post " + probe_ + " WM_APP+1 0 0");
  show(0x100 | 0x8, 239, 30);
  tapCentre(itemBox("&More"));
  windows = menuWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].right, 239);
  EXPECT_EQ(windows[1].right, windows[0].left);
  act("key press VK_ESCAPE");  // one level
  EXPECT_EQ(menuWindows().size(), 1u);
  act("key press VK_ESCAPE");
  EXPECT_EQ(log(), "enter init0 init4 exit ret0");
}

TEST_F(MenuTracking, AlignmentFlagsPlaceTheMenuAndKeepItOnTheScreen) {
  struct Case {
    unsigned flags;
    int x, y;
  };
  show(0x100, 20, 30);
  const Box plain = menuWindows().at(0);
  act("key press VK_ESCAPE");
  const int w = plain.width(), h = plain.height();
  ASSERT_GT(w, 40);
  ASSERT_GT(h, 60);
  // flags: TPM_RIGHTALIGN 0x8, TPM_BOTTOMALIGN 0x20, TPM_CENTERALIGN 0x4, TPM_VCENTERALIGN 0x10
  const std::vector<std::pair<Case, Box>> cases = {
      {{0x28, 200, 250}, {200 - w, 250 - h, 200, 250}},
      {{0x14, 120, 160}, {120 - w / 2, 160 - h / 2, 120 - w / 2 + w, 160 - h / 2 + h}},
      {{0x00, 230, 30}, {230 - w, 30, 230, 30 + h}},      // no room on the right: opens leftwards
      {{0x00, 20, 315}, {20, 315 - h, 20 + w, 315}},      // no room below: opens upwards
      {{0x08, 5, 30}, {5, 30, 5 + w, 30 + h}},            // right-aligned with no room on the left
      {{0x14, 2, 318}, {0, 320 - h, w, 320}},             // pushed into the screen
  };
  for (const auto& [c, expected] : cases) {
    show(0x100 | c.flags, c.x, c.y);
    auto windows = menuWindows();
    ASSERT_EQ(windows.size(), 1u) << c.flags;
    EXPECT_EQ(windows[0].left, expected.left) << c.flags << " at " << c.x << "," << c.y;
    EXPECT_EQ(windows[0].top, expected.top) << c.flags << " at " << c.x << "," << c.y;
    EXPECT_EQ(windows[0].right, expected.right) << c.flags << " at " << c.x << "," << c.y;
    EXPECT_EQ(windows[0].bottom, expected.bottom) << c.flags << " at " << c.x << "," << c.y;
    act("key press VK_ESCAPE");
  }
  EXPECT_TRUE(menuWindows().empty());
}

// TPMPARAMS' rectangle (0, 0)-(100, 100) is kept clear: beside it, or below with TPM_VERTICAL.
TEST_F(MenuTracking, TheExcludedRectangleStaysUncovered) {
  for (unsigned vertical : {0u, 0x40u}) {
    ASSERT_EQ(ctl("post " + probe_ + " WM_APP+2 " + std::to_string(0x100 | vertical) + " " +
                  std::to_string(30 * 65536 + 20)),
              0);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
    auto windows = menuWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].left, vertical ? 20 : 100);
    EXPECT_EQ(windows[0].top, vertical ? 100 : 30);
    act("key press VK_ESCAPE");
  }
}

TEST_F(MenuTracking, KeysMoveOverWhatCannotBeChosenOpenAndChoose) {
  show(0x100, 20, 30);
  act("key press VK_DOWN");
  EXPECT_TRUE(highlighted("&Open"));
  act("key press VK_DOWN");
  EXPECT_TRUE(highlighted("&Save"));
  act("key press VK_DOWN");  // over the separator and the grayed item
  EXPECT_TRUE(highlighted("&More"));
  act("key press VK_RIGHT");
  EXPECT_EQ(menuWindows().size(), 2u);
  EXPECT_TRUE(highlighted("Sub &A"));
  act("key press VK_LEFT");
  EXPECT_EQ(menuWindows().size(), 1u);
  act("key press VK_UP");
  act("key press VK_UP");
  act("key press VK_UP");  // round to the last
  EXPECT_TRUE(highlighted("E&xit"));
  act("key press VK_RETURN");
  EXPECT_EQ(log(), "enter init0 init4 exit ret13");

  act("post " + probe_ + " WM_APP+1 0 0");
  show(0x100, 20, 30);
  act("key press M");  // opens "&More"
  act("key press B");  // chooses "Sub &B"
  EXPECT_EQ(log(), "enter init0 init4 exit ret21");
  act("post " + probe_ + " WM_APP+1 0 0");
  show(0x100, 20, 30);
  act("key press G");  // grayed: nothing
  EXPECT_EQ(menuWindows().size(), 1u);
  act("key press X");
  EXPECT_EQ(log(), "enter init0 exit ret13");
}

TEST_F(MenuTracking, DestroyingTheOwnerEndsTheMenuCleanly) {
  show(0x100, 20, 30);
  act("post " + probe_ + " WM_CLOSE 0 0");
  EXPECT_EQ(waitExit(pid_), 0u);
  EXPECT_TRUE(menuWindows().empty());
}

TEST_F(MenuTracking, DrawnWhiteWithABlackFrameAndTheHighlight) {
  show(0x100, 20, 30);
  act("key press VK_DOWN");
  act("screenshot " + (root() / "menu.png").string());
  const Box open = itemBox("&Open");
  const Box exit = itemBox("E&xit");
  auto pixel = [&](int x, int y) {
    std::string out;
    EXPECT_EQ(ctl("pixel " + std::to_string(x) + " " + std::to_string(y), &out), 0);
    return out;
  };
  const Box menu = menuWindows().at(0);
  EXPECT_EQ(pixel(menu.left, menu.top + 5), "#000000\n");
  EXPECT_EQ(pixel(menu.right - 1, menu.bottom - 3), "#000000\n");
  EXPECT_EQ(pixel(exit.right - 3, exit.top + 2), "#FFFFFF\n");
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  char expected[16];
  std::snprintf(expected, sizeof expected, "#%02X%02X%02X\n", static_cast<unsigned>(highlight & 0xFF),
                static_cast<unsigned>((highlight >> 8) & 0xFF), static_cast<unsigned>((highlight >> 16) & 0xFF));
  EXPECT_EQ(pixel(open.right - 3, open.top + 2), expected);
  EXPECT_NE(std::string(expected), "#FFFFFF\n");
}

TEST_F(MenuTracking, RefusesAnOwnerThatIsNoWindow) {
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 1, u"One"));
  SetLastError(0);
  EXPECT_FALSE(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, reinterpret_cast<HWND>(0x7ff00001), nullptr));
  EXPECT_EQ(GetLastError(), 1400u);  // ERROR_INVALID_WINDOW_HANDLE
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, nullptr, nullptr));
  EXPECT_TRUE(DestroyMenu(menu));
}

}  // namespace
}  // namespace handheld::testing
