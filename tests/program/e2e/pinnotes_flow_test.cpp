// The program as the user meets it, on a headless device with the shell, driven only through
// the automation commands: a new note written and typed, the list with reopening, sorting,
// expiring and deleting, alarms with their sound, a hundred notes due at once, and notes
// that stay whole when the program is killed while it saves.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using Json = nlohmann::json;
using Bytes = std::vector<unsigned char>;

const std::u16string kProgram = u"\\Program Files\\Pinnotes\\Pinnotes.exe";
const std::string kFolder = "My Documents/My Pinnotes/";
const std::string kSettings = "'HKLM\\SOFTWARE\\VORLA\\Pinnotes' ";
constexpr int kFixedPart = 535;

struct Time {
  int year, month, day, hour, minute;
};

class Pinnotes : public DeviceFixture {
 protected:
  Pinnotes() { startupPrograms = true; }
  void SetUp() override {
    DeviceFixture::SetUp();
    // The shell's windows first, so that they never come up over the program's.
    waitFor("ShellNavigationBar");
    waitFor("ShellDesktop");
  }

  std::string out(const std::string& arguments) {
    std::string text;
    EXPECT_EQ(ctl(arguments, &text), 0) << arguments << ": " << text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }
  void idle() { ASSERT_EQ(ctl("wait-idle 20"), 0); }
  // Waits up to 10 s for `condition`: under a full test run the close an "ok" starts was seen
  // to finish after the first idle report.
  static bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 200; ++i) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
  }
  Json windows() { return Json::parse(out("windows --json")); }
  std::optional<Json> window(const std::string& className) {
    for (const Json& w : windows()) {
      if (w["class"] == className && w["visible"]) return w;
    }
    return std::nullopt;
  }
  static std::string handleOf(const Json& w) {
    if (w["handle"].is_string()) return w["handle"];
    char text[32];
    std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(w["handle"].get<std::uint64_t>()));
    return text;
  }
  Json tree(const std::string& handle) { return Json::parse(out("tree " + handle)); }
  static const Json* child(const Json& node, const std::string& className, int id = -1) {
    if (!node.contains("children")) return nullptr;
    for (const Json& c : node["children"]) {
      if (c["class"] == className && (id == -1 || c["id"] == id)) return &c;
      if (const Json* deeper = child(c, className, id)) return deeper;
    }
    return nullptr;
  }
  void tapCenter(const Json& rect) {
    const int x = rect[0].get<int>() + rect[2].get<int>() / 2;
    const int y = rect[1].get<int>() + rect[3].get<int>() / 2;
    ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
    idle();
  }
  std::string pixel(int x, int y) { return out("pixel " + std::to_string(x) + " " + std::to_string(y)); }

  Bytes fileBytes(const std::string& name) {
    std::ifstream in(hostPath(kFolder + name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static std::uint32_t u32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
  }
  static std::string title(const Bytes& bytes) {
    std::string text;
    for (std::size_t at = 16; at + 1 < 526 && (bytes[at] || bytes[at + 1]); at += 2) text.push_back(static_cast<char>(bytes[at]));
    return text;
  }
  // A note is whole when its content is as long as its header says.
  static bool whole(const Bytes& bytes) {
    return bytes.size() >= static_cast<std::size_t>(kFixedPart) && bytes.size() == kFixedPart + u32(bytes, 531);
  }
  std::vector<std::string> files(const std::string& ending = ".stk") {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(hostPath(kFolder))) {
      const std::string name = entry.path().filename().string();
      if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
        names.push_back(name);
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A note file made on the host, as the program writes them.
  void writeNote(int number, const std::string& noteTitle, std::optional<Time> expiry, int expired = 0) {
    std::filesystem::create_directories(hostPath(kFolder));
    Bytes bytes(kFixedPart, 0);
    const auto put16 = [&](std::size_t at, int value) {
      bytes[at] = static_cast<unsigned char>(value & 0xFF);
      bytes[at + 1] = static_cast<unsigned char>(value >> 8);
    };
    if (expiry) {
      put16(0, expiry->year);
      put16(2, expiry->month);
      put16(6, expiry->day);
      put16(8, expiry->hour);
      put16(10, expiry->minute);
    } else {
      put16(8, 25);
    }
    for (std::size_t i = 0; i < noteTitle.size(); ++i) put16(16 + 2 * i, noteTitle[i]);
    bytes[526] = static_cast<unsigned char>(expired);
    put16(527, 100);
    std::ofstream(hostPath(kFolder + "Pinnote" + std::to_string(number) + ".stk"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // A program just started may not have made its windows when the device first looks idle.
  void waitFor(const std::string& className) {
    for (int i = 0; i < 200 && ctl("find " + className) != 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    idle();
  }
  std::string mainWindow() {
    waitFor("PINNOTES");
    return out("find PINNOTES 'VORLA Pinnotes'");
  }
  void endProgram(uint32_t pid) {
    idle();
    ASSERT_EQ(ctl("post " + mainWindow() + " WM_CLOSE 0 0"), 0);
    EXPECT_EQ(waitExit(pid, 30000), 0u);
  }
  // "ok" at the right of the navigation bar.
  void tapOk() {
    const auto bar = window("ShellNavigationBar");
    ASSERT_TRUE(bar);
    const Json& r = (*bar)["rect"];
    ASSERT_EQ(ctl("tap " + std::to_string(r[0].get<int>() + r[2].get<int>() - 15) + " " +
                  std::to_string(r[1].get<int>() + r[3].get<int>() / 2)),
              0);
    idle();
  }
  // Types `text` into the open note in typing mode.
  void typeIntoNote(const std::string& text) {
    // The note's menu bar is the front one that has the pen/typing mode button.
    bool tapped = false;
    for (const Json& w : windows()) {
      if (tapped || w["class"] != "HandheldMenuBar" || !w["visible"]) continue;
      const Json bar = tree(handleOf(w));
      if (!bar.contains("state") || !bar["state"].contains("buttons")) continue;
      for (const Json& button : bar["state"]["buttons"]) {
        if (button["command"] == 110) {
          tapCenter(button["rect"]);
          tapped = true;
        }
      }
    }
    ASSERT_TRUE(tapped);
    const auto note = window("PinnoteWndClass");
    ASSERT_TRUE(note);
    const Json parts = tree(handleOf(*note));
    const Json* canvas = child(parts, "InkX");
    ASSERT_NE(canvas, nullptr);
    tapCenter((*canvas)["rect"]);
    ASSERT_EQ(ctl("text '" + text + "'"), 0);
    idle();
  }
  Json listState() {
    const auto list = window("AllPinnotesWnd");
    EXPECT_TRUE(list);
    if (!list) return Json::object();
    const Json parts = tree(handleOf(*list));
    const Json* control = child(parts, "SysListView32", 1);
    return control ? (*control)["state"] : Json::object();
  }
  std::vector<std::string> listTitles() {
    std::vector<std::string> titles;
    const Json state = listState();
    for (const Json& row : state["rows"]) titles.push_back(row["texts"][1]);
    return titles;
  }
  // The centre of row `row` of the list.
  std::pair<int, int> rowPoint(int row) {
    const auto list = window("AllPinnotesWnd");
    const Json parts = tree(handleOf(*list));
    const Json* control = child(parts, "SysListView32", 1);
    const Json* header = control ? child(*control, "SysHeader32") : nullptr;
    if (!header) return {0, 0};
    const int top = (*header)["rect"][1].get<int>() + (*header)["rect"][3].get<int>();
    const int rowHeight = listRowHeight();
    return {60, top + row * rowHeight + rowHeight / 2};
  }
  int listRowHeight() { return 16; }
  void writeWave(const std::string& name, int samples) {
    Bytes wave;
    const auto text = [&](const char* s) { wave.insert(wave.end(), s, s + 4); };
    const auto num = [&](std::uint32_t v, int size) {
      for (int i = 0; i < size; ++i) wave.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    text("RIFF");
    num(36 + samples * 2, 4);
    text("WAVE");
    text("fmt ");
    num(16, 4);
    num(1, 2);
    num(1, 2);
    num(8000, 4);
    num(16000, 4);
    num(2, 2);
    num(16, 2);
    text("data");
    num(samples * 2, 4);
    for (int i = 0; i < samples; ++i) num(static_cast<std::uint32_t>((i % 16) * 1000), 2);
    std::filesystem::create_directories(hostPath(kFolder));
    std::ofstream(hostPath(kFolder + name), std::ios::binary)
        .write(reinterpret_cast<const char*>(wave.data()), static_cast<std::streamsize>(wave.size()));
  }
};

// ---- a new note ----

TEST_F(Pinnotes, NewNoteCoversTheScreenTakesInkAndTypingAndIsSaved) {
  const uint32_t pid = run(kProgram, u"addnew");
  waitFor("PinnoteWndClass");
  int notes = 0;
  Json note;
  for (const Json& w : windows()) {
    if (w["class"] == "PinnoteWndClass" && w["visible"]) {
      ++notes;
      note = w;
    }
  }
  ASSERT_EQ(notes, 1);
  EXPECT_EQ(note["title"], "VORLA Pinnotes");
  const Json bar = *window("ShellNavigationBar");
  const Json& r = note["rect"];
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[1].get<int>(), bar["rect"][1].get<int>() + bar["rect"][3].get<int>());
  EXPECT_EQ(r[2], 240);
  EXPECT_GE(r[1].get<int>() + r[3].get<int>(), 294);  // down to the menu bar

  const Json parts = tree(handleOf(note));
  const Json* combo = child(parts, "COMBOBOX", 102);
  const Json* canvas = child(parts, "InkX");
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(canvas, nullptr);
  // The expiry-choices and date buttons sit at the right end of the expiry line.
  const Json* choices = nullptr;
  const Json* date = nullptr;
  for (const Json& c : parts["children"]) {
    if (c["id"] == 104) choices = &c;
    if (c["id"] == 110) date = &c;
  }
  ASSERT_NE(choices, nullptr);
  ASSERT_NE(date, nullptr);
  const int comboRight = (*combo)["rect"][0].get<int>() + (*combo)["rect"][2].get<int>();
  EXPECT_GE((*choices)["rect"][0].get<int>(), comboRight);
  EXPECT_GT((*date)["rect"][0].get<int>(), (*choices)["rect"][0].get<int>());
  EXPECT_LE((*date)["rect"][0].get<int>() + (*date)["rect"][2].get<int>(), 240);

  // Mostly the note colour, RGB(255, 255, 0).
  int yellow = 0;
  int samples = 0;
  for (int y = r[1].get<int>() + 4; y < r[1].get<int>() + r[3].get<int>(); y += 24) {
    for (int x = 4; x < 240; x += 24) {
      ++samples;
      if (pixel(x, y) == "#FFFF00") ++yellow;
    }
  }
  EXPECT_GT(yellow * 2, samples) << yellow << " of " << samples;

  // A stroke changes the canvas.
  const Json& c = (*canvas)["rect"];
  const int y0 = c[1].get<int>() + 40;
  std::vector<std::string> before;
  for (int x = 40; x <= 160; x += 10) before.push_back(pixel(x, y0));
  ASSERT_EQ(ctl("drag 30 " + std::to_string(y0) + " 170 " + std::to_string(y0)), 0);
  idle();
  int changed = 0;
  for (int x = 40, i = 0; x <= 160; x += 10, ++i) changed += pixel(x, y0) != before[static_cast<std::size_t>(i)];
  EXPECT_GT(changed, 0);

  typeIntoNote("hello pinnote");
  tapOk();
  EXPECT_TRUE(eventually([&] { return !files().empty(); })) << out("windows");
  const Bytes bytes = fileBytes("Pinnote0.stk");
  ASSERT_GE(bytes.size(), 536u);
  EXPECT_EQ(title(bytes), "---no title---");
  EXPECT_EQ(bytes[526], 0);                 // not expired
  EXPECT_EQ(u32(bytes, 527), 100u);         // zoom step 3: 100 percent
  EXPECT_EQ(u32(bytes, 531), bytes.size() - 535);
  endProgram(pid);
}

// ---- the list ----

TEST_F(Pinnotes, ListReopensSortsExpiresAndDeletes) {
  const uint32_t first = run(kProgram, u"addnew");
  waitFor("PinnoteWndClass");
  typeIntoNote("the same words");
  tapOk();

  const uint32_t second = run(kProgram, u"showall");
  EXPECT_EQ(waitExit(second), 0u);
  idle();
  ASSERT_TRUE(window("AllPinnotesWnd"));
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"---no title---"}));

  // Reopened from the list, the note shows what was typed.
  const auto [x, y] = rowPoint(0);
  ASSERT_EQ(ctl("tap " + std::to_string(x) + " " + std::to_string(y)), 0);
  idle();
  const auto note = window("PinnoteWndClass");
  ASSERT_TRUE(note);
  const Json noteParts = tree(handleOf(*note));
  const Json* canvas = child(noteParts, "InkX");
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ((*canvas)["state"]["text"], "the same words");
  tapOk();
  endProgram(first);

  // Three more notes, read at the next start.
  writeNote(1, "beta", Time{2027, 1, 2, 9, 0});
  writeNote(2, "alpha", Time{2027, 1, 1, 9, 0});
  writeNote(3, "gamma", std::nullopt);
  const uint32_t pid = run(kProgram, u"showall");
  waitFor("AllPinnotesWnd");
  // Time ascending: timed notes first, then the never-expiring ones, the newest file first.
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"alpha", "beta", "gamma", "---no title---"}));

  // Each column sorts; the same column again reverses.
  const auto list = window("AllPinnotesWnd");
  const Json listParts = tree(handleOf(*list));
  const Json* header = child(listParts, "SysHeader32");
  ASSERT_NE(header, nullptr);
  const Json& h = (*header)["rect"];
  const int headerY = h[1].get<int>() + h[3].get<int>() / 2;
  const auto tapHeader = [&](int x0) {
    ASSERT_EQ(ctl("tap " + std::to_string(x0) + " " + std::to_string(headerY)), 0);
    idle();
  };
  tapHeader(150);  // "Title"
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"---no title---", "alpha", "beta", "gamma"}));
  tapHeader(150);
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"gamma", "beta", "alpha", "---no title---"}));
  tapHeader(50);  // "Time"
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"alpha", "beta", "gamma", "---no title---"}));
  tapHeader(50);  // the never-expiring ones lead, the oldest file first
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"---no title---", "gamma", "beta", "alpha"}));
  tapHeader(50);

  // Set as expired from the context menu of "alpha".
  const auto [ax, ay] = rowPoint(0);
  ASSERT_EQ(ctl("hold " + std::to_string(ax) + " " + std::to_string(ay) + " 1200"), 0);
  idle();
  ASSERT_EQ(ctl("choose 'Set as expired'"), 0);
  idle();
  EXPECT_EQ(fileBytes("Pinnote2.stk")[526], 1);
  EXPECT_EQ(listState()["rows"][0]["image"], 1);  // the red disc

  // Three selected with the stylus, then deleted after the question.
  const auto [x0, y0] = rowPoint(0);
  const auto [x2, y2] = rowPoint(2);
  ASSERT_EQ(ctl("tap " + std::to_string(x0) + " " + std::to_string(y0)), 0);
  idle();
  if (window("PinnoteWndClass")) tapOk();  // the tap also opened the note
  ASSERT_EQ(ctl("drag " + std::to_string(x0) + " " + std::to_string(y0) + " " + std::to_string(x2) + " " +
                std::to_string(y2)),
            0);
  idle();
  if (window("PinnoteWndClass")) tapOk();
  int selected = 0;
  const Json rows = listState()["rows"];
  for (const Json& row : rows) selected += row["selected"].get<bool>();
  ASSERT_EQ(selected, 3);
  ASSERT_EQ(ctl("hold " + std::to_string(x0) + " " + std::to_string(y0) + " 1200"), 0);
  idle();
  ASSERT_EQ(ctl("choose Delete"), 0);
  idle();
  const auto box = window("#32770");
  ASSERT_TRUE(box);
  EXPECT_EQ((*box)["title"], "Warning!");
  const Json question = tree(handleOf(*box));
  EXPECT_EQ(question["state"]["text"], "Do you really want to delete selected pinnotes?");
  for (const Json& c : question["children"]) {
    if (c["text"] == "&Yes") tapCenter(c["rect"]);
  }
  EXPECT_EQ(listTitles(), (std::vector<std::string>{"---no title---"}));
  EXPECT_EQ(files(), (std::vector<std::string>{"Pinnote0.stk"}));
  endProgram(pid);
}

// ---- alarms ----

class Alarms : public Pinnotes {
 protected:
  // A note due one minute after the frozen clock, the program started, then the clock set
  // two minutes on and the due message posted, as the Today item does.
  uint32_t raise(bool autoDelete = false) {
    EXPECT_EQ(ctl("clock freeze '2026-12-07 10:00:00'"), 0);
    // The first start writes the settings; they are changed after it.
    endProgram(run(kProgram));
    writeWave("notify.wav", 800);
    EXPECT_EQ(ctl("reg set " + kSettings + "PlaySnd dword 1"), 0);
    EXPECT_EQ(ctl("reg set " + kSettings + "SndCount dword 3"), 0);
    if (autoDelete) {
      EXPECT_EQ(ctl("reg set " + kSettings + "AutoDel dword 1"), 0);
    }
    writeNote(0, "due", Time{2026, 12, 7, 10, 1});
    const uint32_t pid = run(kProgram);
    waitFor("AllPinnotesWnd");
    EXPECT_FALSE(window("PinnoteWndClass"));
    EXPECT_EQ(ctl("clock set '2026-12-07 10:02:00'"), 0);
    EXPECT_EQ(ctl("post " + mainWindow() + " 1327 0 0"), 0);
    idle();
    return pid;
  }
  int soundPlays() {
    int plays = 0;
    const std::string log = out("speaker-log");
    for (std::size_t at = log.find("notify.wav"); at != std::string::npos; at = log.find("notify.wav", at + 1)) ++plays;
    return plays;
  }
};

TEST_F(Alarms, ADueNoteComesToTheFrontSoundsAndIsWrittenBackExpired) {
  const uint32_t pid = raise();
  // In front: the first visible window of the program's in the front-to-back list.
  for (const Json& w : windows()) {
    if (w["visible"] && w["class"] != "ShellNavigationBar" && w["class"] != "HandheldMenuBar") {
      EXPECT_EQ(w["class"], "PinnoteWndClass");
      break;
    }
  }
  // Set aside while the alarm shows.
  EXPECT_TRUE(files().empty());
  EXPECT_EQ(files(".alarm").size(), 1u);
  for (int i = 0; i < 100 && soundPlays() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(soundPlays(), 3);
  tapOk();
  EXPECT_TRUE(eventually([&] { return files(".alarm").empty(); })) << out("windows");
  ASSERT_EQ(files(), (std::vector<std::string>{"Pinnote0.stk"}));
  const Bytes bytes = fileBytes("Pinnote0.stk");
  EXPECT_EQ(title(bytes), "due");
  EXPECT_EQ(bytes[526], 1);
  endProgram(pid);
}

TEST_F(Alarms, WithAutoDelTheAlarmedNoteIsGoneOnClose) {
  const uint32_t pid = raise(true);
  ASSERT_TRUE(window("PinnoteWndClass"));
  tapOk();
  EXPECT_TRUE(eventually([&] { return files(".alarm").empty(); })) << out("windows");
  EXPECT_TRUE(files().empty());
  endProgram(pid);
}

TEST_F(Alarms, AHundredDueAtOnceAreRaisedOneAfterAnother) {
  ASSERT_EQ(ctl("clock freeze '2026-12-07 10:00:00'"), 0);
  for (int i = 0; i < 100; ++i) writeNote(i, "note " + std::to_string(i), Time{2026, 12, 7, 9, i % 60});
  const uint32_t pid = run(kProgram, u"AppRunAtTime");
  waitFor("PINNOTES");
  ASSERT_EQ(ctl("wait-idle 120"), 0);
  int open = 0;
  for (const Json& w : windows()) open += w["class"] == "PinnoteWndClass" && w["visible"];
  EXPECT_EQ(open, 1);
  EXPECT_EQ(files().size(), 99u);
  endProgram(pid);  // the last one is saved first
  const auto names = files();
  ASSERT_EQ(names.size(), 100u);
  std::vector<std::string> titles;
  for (const std::string& name : names) {
    const Bytes bytes = fileBytes(name);
    EXPECT_EQ(bytes[526], 1) << name;
    titles.push_back(title(bytes));
  }
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(std::unique(titles.begin(), titles.end()), titles.end());
  EXPECT_TRUE(files(".alarm").empty());
}

// ---- the program killed while it saves ----

TEST_F(Pinnotes, KilledWhileSavingEveryNoteStaysWhole) {
  writeNote(0, "kept", Time{2027, 1, 1, 9, 0});
  const std::u16string notePath = u"\\My Documents\\My Pinnotes\\Pinnote0.stk";
  for (int round = 0; round < 12; ++round) {
    const uint32_t pid = run(kProgram, notePath);
    waitFor("PinnoteWndClass");
    const auto note = window("PinnoteWndClass");
    ASSERT_TRUE(note) << round;
    if (round % 2 == 0) typeIntoNote("round " + std::to_string(round));
    ASSERT_EQ(ctl("post " + handleOf(*note) + " 1124 0 0"), 0);  // its "ok"
    std::this_thread::sleep_for(std::chrono::milliseconds(round * 3));
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    waitExit(pid, 10000);
    for (const std::string& name : files()) {
      const Bytes bytes = fileBytes(name);
      EXPECT_TRUE(whole(bytes)) << round << " " << name << " " << bytes.size();
      EXPECT_EQ(title(bytes), "kept") << round;
    }
  }
  // The next start puts the folder right: one note, whole.
  const uint32_t pid = run(kProgram);
  waitFor("AllPinnotesWnd");
  EXPECT_EQ(files(), (std::vector<std::string>{"Pinnote0.stk"}));
  EXPECT_TRUE(whole(fileBytes("Pinnote0.stk")));
  endProgram(pid);
}

}  // namespace
}  // namespace handheld::testing
