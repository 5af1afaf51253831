// inkpad on a headless device, driven only through automation as a person would: strokes
// dragged, text typed, its menu bar's buttons and menus, recordings from the microphone, the
// program closed and opened again on the same file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <nlohmann/json.hpp>

#include "gdi/png_io.h"
#include "recording_checks.h"
#include "support/device_fixture.h"
#include "wave_image.h"

namespace handheld::testing {
namespace {

using nlohmann::json;

// inkpad's bar: its two menus and its image buttons.
constexpr int kEdit = 1001, kPage = 1002, kMode = 101, kZoomIn = 102, kZoomOut = 103, kRecord = 104, kStop = 105;

class InkPad : public DeviceFixture {
 protected:
  uint32_t start(const std::u16string& file) {
    const uint32_t pid = run(u"\\Windows\\inkpad.exe", file);
    EXPECT_NE(pid, 0u);
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    return pid;
  }

  // The process's window of a class, from the roots down.
  json node(uint32_t pid, const std::string& className) {
    std::string out;
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    json found;
    std::function<void(const json&)> walk = [&](const json& at) {
      if (found.is_null() && at.value("class", "") == className) found = at;
      for (const auto& child : at["children"]) walk(child);
    };
    for (const auto& root : json::parse(out)) walk(root);
    return found;
  }

  // A button of the menu bar, as its automation state shows it.
  json barButton(uint32_t pid, int command) {
    const json bar = node(pid, "HandheldMenuBar");
    if (bar.is_null()) return nullptr;
    for (const auto& b : bar["state"]["buttons"])
      if (b["command"] == command) return b;
    return nullptr;
  }

  // The ink control's automation state.
  json inkState(uint32_t pid) { return node(pid, "InkX").value("state", json::object()); }

  void tapButton(uint32_t pid, int command) {
    const json button = barButton(pid, command);
    ASSERT_FALSE(button.is_null()) << command;
    const auto& r = button["rect"];
    const int x = r[0].get<int>() + r[2].get<int>() / 2, y = r[1].get<int>() + r[3].get<int>() / 2;
    ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
    // The tap's command is handled when the program has nothing left to do.
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }

  // Opens a menu of the bar and taps one of its items.
  void choose(uint32_t pid, int menuButton, const std::string& item) {
    tapButton(pid, menuButton);
    ASSERT_EQ(ctl("choose '" + item + "'"), 0) << item;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }

  std::shared_ptr<gdi::Surface> screenshot(const std::string& name) {
    const auto file = hostPath(name);
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("screenshot '" + file.string() + "'"), 0);
    return gdi::readPng(file);
  }

  void close(uint32_t pid) {
    // The program's own window; its menu bar is a top-level window of the process too.
    ASSERT_EQ(ctl("post " + node(pid, "InkPad")["handle"].get<std::string>() + " WM_CLOSE 0 0"), 0);
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
  tapButton(pid, kMode);  // writing to typing
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
  const int top = node(pid, "InkX")["rect"][1];
  ASSERT_EQ(ctl("drag 20 60 220 60"), 0);
  // From 100 % down to 25 % and up to 300 %: the line stays on screen where the zoom puts it.
  for (int command : {kZoomOut, kZoomOut, kZoomOut, kZoomIn, kZoomIn, kZoomIn, kZoomIn, kZoomIn, kZoomIn}) {
    tapButton(pid, command);
    const auto state = inkState(pid);
    const int zoom = state["zoom"].get<int>();
    const auto shot = screenshot("zoom.png");
    ASSERT_TRUE(shot);
    // The stroke ran along y = 60 on the screen at 100 %.
    const int y = top + (60 - top) * zoom / 100;
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
  tapButton(first, kMode);  // typing
  ASSERT_EQ(ctl("text abc"), 0);
  // The first line of text lies 6 to 26 pixels into the page.
  const std::string line = std::to_string(node(first, "InkX")["rect"][1].get<int>() + 16);
  ASSERT_EQ(ctl("drag 1 " + line + " 200 " + line), 0);
  choose(first, kEdit, "Cut");
  EXPECT_EQ(inkState(first)["text"], "");
  const uint32_t second = start(u"\\My Documents\\two.ink");
  choose(second, kEdit, "Paste");
  EXPECT_EQ(inkState(second)["text"], "abc");
  close(second);
  close(first);
}

TEST_F(InkPad, TheMenuBarHoldsTheMenusAndButtonsAndDrivesTheControl) {
  const uint32_t pid = start(u"");
  const json bar = node(pid, "HandheldMenuBar");
  ASSERT_FALSE(bar.is_null());
  std::vector<std::tuple<int, std::string, int, bool>> shown;  // command, text, image, menu
  for (const auto& b : bar["state"]["buttons"])
    shown.emplace_back(b["command"], b["text"], b["image"], b["menu"]);
  EXPECT_EQ(shown, (std::vector<std::tuple<int, std::string, int, bool>>{{kEdit, "Edit", -2, true},
                                                                         {kPage, "Page", -2, true},
                                                                         {kMode, "", 0, false},
                                                                         {kZoomIn, "", 4, false},
                                                                         {kZoomOut, "", 5, false},
                                                                         {kRecord, "", 6, false},
                                                                         {kStop, "", 7, false}}));
  // The control fills the work area, below the navigation bar down to the menu bar.
  EXPECT_EQ(node(pid, "InkX")["rect"], json::parse("[0, 26, 240, 268]"));
  EXPECT_EQ(bar["rect"], json::parse("[0, 294, 240, 26]"));

  // The mode button steps through the four modes and shows the one in force.
  for (int mode : {1, 2, 3, 0}) {
    tapButton(pid, kMode);
    EXPECT_EQ(inkState(pid)["mode"], mode);
    EXPECT_EQ(barButton(pid, kMode)["image"], mode);
  }

  // Page styles with the flags the control takes.
  for (const auto& [item, flags] : std::vector<std::pair<std::string, int>>{
           {"Grid", 4}, {"Ruled lines", 2}, {"Dotted lines", 32}, {"Left margin", 0}, {"Top margin", 1},
           {"Left-top margin", 8}, {"Blank", 16}}) {
    choose(pid, kPage, item);
    EXPECT_EQ(inkState(pid)["pageFlags"], flags) << item;
  }

  // Undo: grayed with nothing to take back, then taking back a stroke.
  tapButton(pid, kEdit);
  std::string menu;
  ASSERT_EQ(ctl("menu", &menu), 0);
  bool undoGrayed = false;
  for (const auto& level : json::parse(menu))
    for (const auto& item : level["items"])
      if (item["text"] == "Undo") undoGrayed = item["grayed"];
  EXPECT_TRUE(undoGrayed);
  ASSERT_EQ(ctl("key press VK_ESCAPE"), 0);
  ASSERT_EQ(ctl("drag 40 100 120 160"), 0);
  EXPECT_EQ(inkState(pid)["strokes"], 1);
  choose(pid, kEdit, "Undo");
  EXPECT_EQ(inkState(pid)["strokes"], 0);
  close(pid);
}

TEST_F(InkPad, RecordsTheMicrophoneIntoTheFileAndPlaysARecordingWhenItsIconIsTapped) {
  const uint32_t pid = start(u"\\My Documents\\voice.ink");
  const auto record = [&](const std::string& pitch, int milliseconds) {
    ASSERT_EQ(ctl("mic tone " + pitch), 0);
    tapButton(pid, kRecord);
    EXPECT_EQ(inkState(pid)["recording"], true);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    tapButton(pid, kStop);
    EXPECT_EQ(inkState(pid)["recording"], false);
  };
  record("440", 500);
  record("1000", 300);
  ASSERT_EQ(ctl("mic silence"), 0);
  EXPECT_EQ(inkState(pid)["recordings"], 2);

  // The first icon stands at the top right of the page (218 to 238 at 100 %).
  const json inner = node(pid, "InkX")["children"][0];
  ASSERT_EQ(ctl("tap " + std::to_string(inner["rect"][0].get<int>() + 222) + " " +
                std::to_string(inner["rect"][1].get<int>() + 12)),
            0);
  std::string log;
  ASSERT_EQ(ctl("speaker-log", &log), 0);
  close(pid);

  std::ifstream in(hostPath("My Documents/voice.ink"), std::ios::binary);
  const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  const auto images = riffImages(bytes);
  ASSERT_EQ(images.size(), 2u);
  std::vector<double> seconds, hertz;
  for (const auto& image : images) {
    const auto format = inkx::checkWaveImage(image);
    ASSERT_TRUE(format);
    const auto samples = inkx::waveSamples(image);
    seconds.push_back(static_cast<double>(samples.size()) / format->sampleRate);
    hertz.push_back(static_cast<double>(zeroCrossings(samples)) / (2 * seconds.back()));
  }
  // At least the time between the taps; each tap and state read is a process of its own, so
  // more may pass, the more the slower the build (the sanitizers add a tenth of a second).
  EXPECT_GE(seconds[0], 0.5);
  EXPECT_LE(seconds[0], 0.9);
  EXPECT_GE(seconds[1], 0.3);
  EXPECT_LE(seconds[1], 0.7);
  EXPECT_NEAR(hertz[0], 440, 440 * 0.03);
  EXPECT_NEAR(hertz[1], 1000, 1000 * 0.03);
  // The tap played the first recording from memory, the whole of it, in its format.
  const std::string played = memoryPlayLine(log, images[0].size());
  ASSERT_FALSE(played.empty()) << log;
  EXPECT_NE(played.find("format=pcm16/mono/"), std::string::npos) << played;
  // The log gives milliseconds.
  EXPECT_NEAR(loggedLength(played), seconds[0], 0.0011) << played;
}

}  // namespace
}  // namespace handheld::testing
