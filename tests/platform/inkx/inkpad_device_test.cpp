// inkpad on a headless device, driven only through automation as a person would: strokes
// dragged, text typed, the program closed and opened again on the same file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "gdi/png_io.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using nlohmann::json;

class InkPad : public DeviceFixture {
 protected:
  uint32_t start(const std::u16string& file) {
    const uint32_t pid = run(u"\\Windows\\inkpad.exe", file);
    EXPECT_NE(pid, 0u);
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    return pid;
  }

  // The ink control's automation state in the process's tree.
  json inkState(uint32_t pid) {
    std::string out;
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    json found;
    std::function<void(const json&)> walk = [&](const json& node) {
      if (node.value("class", "") == "InkX") found = node.value("state", json::object());
      for (const auto& child : node["children"]) walk(child);
    };
    for (const auto& root : json::parse(out)) walk(root);
    return found;
  }

  std::string inkHandle(uint32_t pid) {
    std::string out;
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    std::string handle;
    std::function<void(const json&)> walk = [&](const json& node) {
      if (node.value("class", "") == "InkX") handle = node["handle"].get<std::string>();
      for (const auto& child : node["children"]) walk(child);
    };
    for (const auto& root : json::parse(out)) walk(root);
    return handle;
  }

  std::string topLevelHandle(uint32_t pid) {
    std::string out;
    EXPECT_EQ(ctl("windows", &out), 0);
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string handle, owner;
      fields >> handle >> owner;
      if (owner == std::to_string(pid)) return handle;
    }
    return {};
  }

  std::shared_ptr<gdi::Surface> screenshot(const std::string& name) {
    const auto file = hostPath(name);
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("screenshot '" + file.string() + "'"), 0);
    return gdi::readPng(file);
  }

  void close(uint32_t pid) {
    ASSERT_EQ(ctl("post " + topLevelHandle(pid) + " WM_CLOSE 0 0"), 0);
    ASSERT_TRUE(waitExit(pid).has_value());
  }
};

bool samePixels(const gdi::Surface& a, const gdi::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
  return true;
}

TEST_F(InkPad, WrittenAndTypedContentComesBackOnTheSameScreen) {
  ASSERT_EQ(ctl("clock freeze '2026-03-01 09:00:00'"), 0);
  uint32_t pid = start(u"\\My Documents\\a.ink");
  ASSERT_EQ(ctl("drag 40 100 120 160"), 0);
  ASSERT_EQ(ctl("drag 60 200 180 120"), 0);
  ASSERT_EQ(ctl("drag 30 250 200 260"), 0);
  EXPECT_EQ(inkState(pid)["strokes"], 3);
  ASSERT_EQ(ctl("tap 17 12"), 0);  // the mode button: typing
  ASSERT_EQ(ctl("text 'Typed here'"), 0);
  auto state = inkState(pid);
  EXPECT_EQ(state["mode"], 1);
  EXPECT_EQ(state["text"], "Typed here");
  const auto before = screenshot("before.png");
  ASSERT_TRUE(before);
  close(pid);
  const auto file = hostPath("My Documents/a.ink");
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_GT(std::filesystem::file_size(file), 0u);

  pid = start(u"\\My Documents\\a.ink");
  state = inkState(pid);
  EXPECT_EQ(state["strokes"], 3);
  EXPECT_EQ(state["text"], "Typed here");
  const auto again = screenshot("again.png");
  ASSERT_TRUE(again);
  EXPECT_TRUE(samePixels(*before, *again));
  close(pid);

  pid = start(u"\\My Documents\\empty.ink");
  const auto empty = screenshot("empty.png");
  ASSERT_TRUE(empty);
  EXPECT_FALSE(samePixels(*before, *empty));
  EXPECT_EQ(inkState(pid)["strokes"], 0);
  close(pid);
  // Nothing written: an empty page is an empty file.
  EXPECT_EQ(std::filesystem::file_size(hostPath("My Documents/empty.ink")), 0u);
}

TEST_F(InkPad, StrokesShowAtEveryZoomStep) {
  const uint32_t pid = start(u"");
  ASSERT_EQ(ctl("drag 20 60 220 60"), 0);
  // From 100 % down to 25 % and up to 300 %: the line stays on screen where the zoom puts it.
  for (const char* button : {"-", "-", "-", "+", "+", "+", "+", "+", "+"}) {
    const int x = std::string(button) == "+" ? 51 : 85;
    ASSERT_EQ(ctl("tap " + std::to_string(x) + " 12"), 0);
    const auto state = inkState(pid);
    const int zoom = state["zoom"].get<int>();
    const auto shot = screenshot("zoom.png");
    ASSERT_TRUE(shot);
    // The stroke ran along y = 60 - 24 (the button row) in the control at 100 %.
    const int y = 24 + (60 - 24) * zoom / 100;
    bool inked = false;
    for (int dy = -2; dy <= 2 && !inked; ++dy)
      for (int x2 = 0; x2 < 220 && !inked; ++x2) {
        const uint32_t c = shot->pixel(x2, y + dy);
        inked = (c & 0xFF) < 160 && ((c >> 8) & 0xFF) < 160 && ((c >> 16) & 0xFF) < 160;
      }
    EXPECT_TRUE(inked) << zoom;
    EXPECT_EQ(state["strokes"], 1);
  }
  EXPECT_EQ(inkState(pid)["zoom"], 300);
}

TEST_F(InkPad, AFileOfALaterVersionIsNeverWrittenOver) {
  const auto file = hostPath("My Documents/later.ink");
  const std::string later("INKX\x02\x00\x00\x00\x00\x00\x00\x00", 12);
  { std::ofstream(file, std::ios::binary) << later; }
  const uint32_t pid = start(u"\\My Documents\\later.ink");
  ASSERT_EQ(ctl("drag 40 100 120 160"), 0);
  close(pid);
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), later);
}

TEST_F(InkPad, TextCutInOneProgramIsPastedInAnother) {
  const uint32_t first = start(u"\\My Documents\\one.ink");
  ASSERT_EQ(ctl("tap 17 12"), 0);  // typing
  ASSERT_EQ(ctl("text abc"), 0);
  // The first line of text lies 6 to 26 pixels into the page, which starts below the buttons.
  ASSERT_EQ(ctl("drag 1 40 200 40"), 0);
  ASSERT_EQ(ctl("send " + inkHandle(first) + " 768 0 0"), 0);  // WM_CUT
  EXPECT_EQ(inkState(first)["text"], "");
  const uint32_t second = start(u"\\My Documents\\two.ink");
  ASSERT_EQ(ctl("send " + inkHandle(second) + " 770 0 0"), 0);  // WM_PASTE
  EXPECT_EQ(inkState(second)["text"], "abc");
  close(second);
  close(first);
}

}  // namespace
}  // namespace handheld::testing
