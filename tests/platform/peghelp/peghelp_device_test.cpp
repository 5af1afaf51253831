// The help viewer on a device, driven as a person would through automation: the topic shown
// for a command line, taps on links, Back, the keys, a second start, and help files that are
// broken in every way a file can be, after each of which the viewer is still there.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "ipc/protocol.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

class HelpViewer : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    for (const char* name : {"test.htm", "other.htm"})
      fs::copy_file(fs::path(HELP_TEST_FILES) / name, hostPath("Windows") / name, fs::copy_options::overwrite_existing);
  }

  void write(const std::string& relative, const std::string& bytes) {
    fs::create_directories(hostPath(relative).parent_path());
    std::ofstream(hostPath(relative), std::ios::binary) << bytes;
  }

  uint32_t start(const std::u16string& commandLine) {
    uint32_t pid = run(u"\\Windows\\PegHelp.exe", commandLine);
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    return pid;
  }

  // A second start hands its command line over and ends.
  void startAgain(const std::u16string& commandLine) {
    uint32_t second = run(u"\\Windows\\PegHelp.exe", commandLine);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(waitExit(second), 0u);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }

  // The viewer's window as `tree` shows it.
  json viewer(uint32_t pid) {
    std::string out;
    EXPECT_EQ(ctl("wait-idle 10"), 0);
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
    for (const auto& root : json::parse(out))
      if (root["class"] == "HelpViewer") return root;
    ADD_FAILURE() << "no viewer window in " << out;
    return json::object();
  }
  json state(uint32_t pid) { return viewer(pid).value("state", json::object()); }

  void tapLink(uint32_t pid, const std::string& text) {
    const json shown = state(pid);
    for (const auto& link : shown["links"]) {
      if (link["text"] != text) continue;
      const auto& r = link["rect"];
      const int x = r[0].get<int>() + r[2].get<int>() / 2, y = r[1].get<int>() + r[3].get<int>() / 2;
      ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
      ASSERT_EQ(ctl("wait-idle 10"), 0);
      return;
    }
    FAIL() << "no link " << text << " in view: " << shown.dump();
  }

  bool running(uint32_t pid) { return !waitExit(pid, 50).has_value(); }

  std::string log() {
    std::ifstream in(hostPath(".device/device.log"));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // How many colours the screen shows under the navigation bar.
  size_t coloursShown() {
    auto shot = device().call<ipc::ScreenCapture>({ipc::CaptureSource::Framebuffer});
    EXPECT_TRUE(shot && shot->error == 0);
    std::set<uint32_t> colours;
    for (size_t i = 26 * static_cast<size_t>(shot->width) * 4; i + 4 <= shot->pixels.size(); i += 4) {
      uint32_t pixel;
      std::memcpy(&pixel, shot->pixels.data() + i, 4);
      colours.insert(pixel);
    }
    return colours.size();
  }
};

TEST_F(HelpViewer, ShowsTheTopicOfTheCommandLineBelowTheNavigationBar) {
  const uint32_t pid = start(u"file:test.htm#B");
  ASSERT_NE(pid, 0u);
  const json window = viewer(pid);
  const json s = window["state"];
  EXPECT_EQ(s["file"], "\\Windows\\test.htm");
  EXPECT_EQ(s["anchor"], "B");
  EXPECT_EQ(s["title"], "Viewer test");
  EXPECT_EQ(s["headings"], json::parse(R"(["Topic B"])"));
  EXPECT_EQ(s["message"], nullptr);
  EXPECT_EQ(s["canGoBack"], false);
  EXPECT_EQ(window["text"], "Viewer test");
  // The work area of the 240x320 screen: below the 26-pixel navigation bar, above the 26-pixel
  // menu-bar band (x, y, width, height).
  EXPECT_EQ(window["rect"], json::parse("[0, 26, 240, 268]"));
  EXPECT_GT(coloursShown(), 8u);
  EXPECT_NE(log().find("PegHelp: command line \"file:test.htm#B\""), std::string::npos);
}

TEST_F(HelpViewer, OpensEachAnchorOfTheProgramsHelpFileByNameAndByFullPath) {
  write("Windows/Pinnotes.htm",
        "<title>Notes help</title>"
        "<h2><a name=\"Edit\"></a>Writing a note</h2><p>e</p>"
        "<h2><a name=\"Titles\"></a>Titles</h2><p>t</p>"
        "<h2><a name=\"AllPnts\"></a>All notes</h2><p>a</p>"
        "<h2><a name=\"PGeneral\"></a>Options</h2><p>o</p>"
        "<h2><a name=\"PToday\"></a>The Today screen</h2><p>p</p>");
  const uint32_t pid = start(u"file:Pinnotes.htm#Edit");
  EXPECT_EQ(state(pid)["headings"], json::parse(R"(["Writing a note"])"));
  const std::pair<const char16_t*, const char*> topics[] = {{u"file:Pinnotes.htm#Titles", "Titles"},
                                                           {u"file:Pinnotes.htm#AllPnts", "All notes"},
                                                           {u"file:Pinnotes.htm#PGeneral", "Options"},
                                                           {u"file:\\Windows\\Pinnotes.htm#PToday", "The Today screen"}};
  for (const auto& [commandLine, heading] : topics) {
    startAgain(commandLine);
    const json s = state(pid);
    EXPECT_EQ(s["file"], "\\Windows\\Pinnotes.htm");
    EXPECT_EQ(s["headings"], json::array({heading}));
    EXPECT_EQ(s["message"], nullptr);
  }
  EXPECT_EQ(state(pid)["anchor"], "PToday");
  EXPECT_NE(log().find("PegHelp: command line \"file:\\Windows\\Pinnotes.htm#PToday\" from another start"),
            std::string::npos);
  // The whole file without an anchor.
  startAgain(u"file:Pinnotes.htm");
  EXPECT_EQ(state(pid)["anchor"], nullptr);
  EXPECT_EQ(state(pid)["headings"].size(), 5u);
}

TEST_F(HelpViewer, FollowsLinksAndGoesBack) {
  write("My Documents/Help/guide.htm",
        "<h2><a name=G>Guide</a></h2><p><a href='other.htm#Far'>elsewhere</a> <a href='next.htm'>next</a></p>");
  write("My Documents/Help/next.htm", "<h2>Next door</h2>");
  const uint32_t pid = start(u"file:\\My Documents\\Help\\guide.htm#G");
  EXPECT_EQ(state(pid)["file"], "\\My Documents\\Help\\guide.htm");

  // Not in the guide's folder: found in \Windows.
  tapLink(pid, "elsewhere");
  json s = state(pid);
  EXPECT_EQ(s["file"], "\\Windows\\other.htm");
  EXPECT_EQ(s["anchor"], "Far");
  EXPECT_EQ(s["headings"], json::parse(R"(["Far away"])"));
  EXPECT_EQ(s["canGoBack"], true);
  // A link within the file, then Backspace twice and the Back button once.
  tapLink(pid, "Back to topic C");
  EXPECT_EQ(state(pid)["file"], "\\Windows\\test.htm");
  EXPECT_EQ(state(pid)["headings"], json::parse(R"(["Topic C"])"));
  ASSERT_EQ(ctl("key press VK_BACK"), 0);
  EXPECT_EQ(state(pid)["anchor"], "Far");
  ASSERT_EQ(ctl("key press VK_BACK"), 0);
  EXPECT_EQ(state(pid)["file"], "\\My Documents\\Help\\guide.htm");
  EXPECT_EQ(state(pid)["canGoBack"], false);
  // In the guide's own folder first.
  tapLink(pid, "next");
  EXPECT_EQ(state(pid)["file"], "\\My Documents\\Help\\next.htm");
  json back;
  const json window = viewer(pid);
  for (const auto& child : window["children"])
    if (child["class"] == "BUTTON") back = child;
  ASSERT_EQ(back["text"], "Back");
  const auto& r = back["rect"];
  ASSERT_EQ(ctl("tap " + std::to_string(r[0].get<int>() + r[2].get<int>() / 2) + " " +
                std::to_string(r[1].get<int>() + r[3].get<int>() / 2)),
            0);
  EXPECT_EQ(state(pid)["anchor"], "G");
}

TEST_F(HelpViewer, ScrollsByKeysStylusAndBar) {
  const uint32_t pid = start(u"file:test.htm#B");
  json s = state(pid);
  ASSERT_GT(s["pageHeight"].get<int>(), 294);
  EXPECT_EQ(s["scroll"], 0);
  ASSERT_EQ(ctl("key press VK_DOWN"), 0);
  EXPECT_EQ(state(pid)["scroll"], 16);
  ASSERT_EQ(ctl("key press VK_NEXT"), 0);
  EXPECT_GT(state(pid)["scroll"].get<int>(), 16);
  ASSERT_EQ(ctl("key press VK_END"), 0);
  s = state(pid);
  const int bottom = s["scroll"].get<int>();
  EXPECT_GT(bottom, 0);
  EXPECT_EQ(s["headings"], json::array());  // "Topic B" went up out of view
  ASSERT_EQ(ctl("key press VK_HOME"), 0);
  EXPECT_EQ(state(pid)["scroll"], 0);
  // The stylus drags the page up by as much as it moves; a drag follows no link.
  ASSERT_EQ(ctl("drag 120 250 120 150 200"), 0);
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  s = state(pid);
  EXPECT_EQ(s["scroll"], 100);
  EXPECT_EQ(s["anchor"], "B");
  // A tap on the bar's lower arrow, at the page's bottom right.
  json page;
  const json window = viewer(pid);
  for (const auto& child : window["children"])
    if (child["class"] == "HelpViewerPage") page = child;
  const auto& r = page["rect"];
  ASSERT_EQ(ctl("tap " + std::to_string(r[0].get<int>() + r[2].get<int>() - 4) + " " +
                std::to_string(r[1].get<int>() + r[3].get<int>() - 4)),
            0);
  EXPECT_EQ(state(pid)["scroll"], 116);
}

TEST_F(HelpViewer, SaysWhatIsWrongWithABrokenFileAndStaysUp) {
  std::string binary(600, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37);
  write("Windows/binary.htm", binary);
  write("Windows/unfinished.htm", "<title>Half</title><h2><a name=U>Unfinished</h2><p>one<ul><li>two <b>three <a href='#U");
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<div>";
  write("Windows/deep.htm", deep);
  write("Windows/huge.htm", std::string(1024 * 1024 + 1, 'x'));

  // The first start may be broken as well.
  const uint32_t pid = start(u"file:binary.htm#A");
  ASSERT_NE(pid, 0u);
  const std::pair<const char16_t*, std::string> cases[] = {
      {u"file:binary.htm#A", "The help file \\Windows\\binary.htm cannot be shown: the file holds binary data, not text."},
      {u"file:test.htm#Nowhere", "The help file \\Windows\\test.htm has no topic \"Nowhere\"."},
      {u"file:deep.htm", "The help file \\Windows\\deep.htm cannot be shown: the file's markup nests more than 1000 levels deep."},
      {u"file:huge.htm", "The help file \\Windows\\huge.htm cannot be shown: it is larger than 1024 KiB."},
      {u"file:", "No help file was named: the viewer takes \"file:NAME#TOPIC\"."},
  };
  for (const auto& [commandLine, message] : cases) {
    if (commandLine != cases[0].first) startAgain(commandLine);
    const json s = state(pid);
    EXPECT_EQ(s["message"], message);
    EXPECT_EQ(s["headings"], json::parse(R"(["Help is not available"])"));
    EXPECT_NE(log().find("PegHelp: " + message), std::string::npos);
    EXPECT_TRUE(running(pid));
  }
  startAgain(u"file:missing.htm#A");
  EXPECT_EQ(state(pid)["message"].get<std::string>().rfind(
                "The help file \\Windows\\missing.htm cannot be shown: it cannot be opened: ", 0),
            0u);

  // Unterminated tags: shown as far as they go.
  startAgain(u"file:unfinished.htm#U");
  json s = state(pid);
  EXPECT_EQ(s["message"], nullptr);
  EXPECT_EQ(s["title"], "Half");
  EXPECT_EQ(s["headings"], json::parse(R"(["Unfinished"])"));
  EXPECT_GT(coloursShown(), 4u);

  // Links to a missing topic and a missing file say so in the page; a web link leaves it.
  startAgain(u"file:test.htm#B");
  tapLink(pid, "a missing topic");
  EXPECT_EQ(state(pid)["message"], "The help file \\Windows\\test.htm has no topic \"Nowhere\".");
  ASSERT_EQ(ctl("key press VK_BACK"), 0);
  tapLink(pid, "A missing file");
  EXPECT_EQ(state(pid)["file"], "\\Windows\\missing.htm");
  EXPECT_NE(state(pid)["message"], nullptr);
  ASSERT_EQ(ctl("key press VK_BACK"), 0);
  tapLink(pid, "the web");
  EXPECT_EQ(state(pid)["anchor"], "B");
  EXPECT_NE(log().find("PegHelp: link http://example.com/help"), std::string::npos);
  EXPECT_TRUE(running(pid));
}

}  // namespace
}  // namespace handheld::testing
