// The note window as the device shows it (class, title, full screen below the navigation bar,
// its children in both screen modes and after the screen turns) and every way it ends: the
// close decision's paths, the reopen message and the commands that drop the note.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/app_references.h"
#include "app/commands.h"
#include "note_window_fixture.h"
#include "notewindow/title_list.h"

namespace handheld::testing {
namespace {

class NoteWindowShape : public NoteWindowFixture {
 protected:
  // Re-reads the screen units after a change of screen mode, as a new start would.
  void screen(const std::string& mode) {
    ASSERT_EQ(ctlPumping("screen " + mode), 0);
    theScreen = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER), GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN)};
  }
  // The window's rectangle on the screen, the children's in the window: all scaled by `u`.
  void expectLayout(HWND window, RECT screen, int u) {
    // The screen's change reaches the window as a notification: it may come a little later.
    pump_.pumpUntil([&] {
      RECT r;
      GetWindowRect(window, &r);
      return r.right == screen.right && r.bottom == screen.bottom;
    });
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, screen.left);
    EXPECT_EQ(outer.top, screen.top);
    EXPECT_EQ(outer.right, screen.right);
    EXPECT_EQ(outer.bottom, screen.bottom);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;

    HWND titleBox = child(window, 102);
    ASSERT_NE(titleBox, nullptr);
    EXPECT_EQ(placeOf(titleBox).left, 5 * u);
    EXPECT_EQ(placeOf(titleBox).top, 4 * u);
    EXPECT_EQ(placeOf(titleBox).right - placeOf(titleBox).left, w - 48 * u);
    // The closed box never covers the canvas below the expiry line.
    EXPECT_LE(placeOf(titleBox).bottom, 26 * u);

    HWND canvas = child(window, 105);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(className(canvas), u"InkX");
    const RECT c = placeOf(canvas);
    EXPECT_EQ(c.left, -1 * u);
    EXPECT_EQ(c.top, 44 * u);
    EXPECT_EQ(c.right - c.left, w + 2 * u);
    EXPECT_EQ(c.bottom - c.top, h - 43 * u);

    // Both buttons at the right end of the expiry line.
    HWND expiry = child(window, 104);
    HWND date = child(window, 110);
    ASSERT_NE(expiry, nullptr);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(className(expiry), u"PopupBtnClass");
    EXPECT_EQ(className(date), u"ClockBtnClass");
    const RECT e = placeOf(expiry), d = placeOf(date);
    EXPECT_EQ(e.left, w - 38 * u);
    EXPECT_EQ(e.top, 6 * u);
    EXPECT_EQ(d.left, w - 19 * u);
    EXPECT_EQ(d.top, 6 * u);
    for (const RECT& r : {e, d}) {
      EXPECT_EQ(r.right - r.left, 16 * u);
      EXPECT_EQ(r.bottom - r.top, 16 * u);
    }
  }
};

TEST_F(NoteWindowShape, QvgaFullScreenBelowTheNavigationBarWithItsChildren) {
  TitleList titles;
  titles.clear();
  titles.append(u"Shopping");
  titles.append(u"Work");
  titles.save();
  RecordingNoteWindow& note = open();
  HWND window = note.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(className(window), u"PinnoteWndClass");
  EXPECT_EQ(text(window), u"VORLA Pinnotes");
  EXPECT_EQ(FindWindowW(u"PinnoteWndClass", u"VORLA Pinnotes"), window);
  EXPECT_EQ(ctl("find PinnoteWndClass 'VORLA Pinnotes'"), 0);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  // Made with a caption, which the navigation bar shows once the shell sized the window: no
  // caption band is left inside it, only its border.
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION), WS_POPUP | WS_BORDER);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 268 - 2);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetForegroundWindow(), window);
  expectLayout(window, {0, 26, 240, 294}, 1);

  HWND titleBox = child(window, 102);
  EXPECT_EQ(className(titleBox), u"COMBOBOX");
  EXPECT_EQ(GetWindowLongW(titleBox, GWL_STYLE) & 0x20A, 0x20A);
  // Filled from the saved titles, the most recent one shown.
  EXPECT_EQ(SendMessageW(titleBox, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(text(titleBox), u"Shopping");
  EXPECT_EQ(std::u16string(note.expiryText()), u"Never expire");
  EXPECT_NE(menuBarOf(window), nullptr);

  // The class goes with the last note window.
  note.destroy();
  EXPECT_FALSE(IsWindow(window));
  WNDCLASSW info;
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), u"PinnoteWndClass", &info));
  EXPECT_TRUE(note.finishes.empty());
}

TEST_F(NoteWindowShape, VgaDoublesEveryPositionAndTheScreenTurning) {
  screen("vga");
  ASSERT_EQ(theScreen.scaleX, 2);
  RecordingNoteWindow& note = open();
  expectLayout(note.window(), {0, 52, 480, 588}, 2);
  EXPECT_EQ(std::u16string(note.expiryText()), u"Never expire");

  ASSERT_EQ(ctlPumping("screen vga-landscape"), 0);
  expectLayout(note.window(), {0, 52, 640, 428}, 2);
}

TEST_F(NoteWindowShape, TurnedScreenKeepsTheWindowFull) {
  RecordingNoteWindow& note = open();
  ASSERT_EQ(ctlPumping("screen qvga-landscape"), 0);
  expectLayout(note.window(), {0, 26, 320, 214}, 1);
  ASSERT_EQ(ctlPumping("screen qvga"), 0);
  expectLayout(note.window(), {0, 26, 240, 294}, 1);
}

TEST_F(NoteWindowShape, OwnerIsTheGivenWindow) {
  MessageRecorder owners;
  owners.registerClass(u"Owner");
  HWND owner = CreateWindowExW(0, u"Owner", u"", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  RecordingNoteWindow note;
  HWND window = note.open(owner, false, false);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
  // Opening twice makes no second window.
  EXPECT_EQ(note.open(owner, false, false), nullptr);
  note.destroy();
  DestroyWindow(owner);
}

TEST_F(NoteWindowShape, HelpOpensTheEditTopic) {
  RecordingNoteWindow& note = open();
  SendMessageW(note.window(), WM_HELP, 0, 0);
  std::string processes;
  bool found = false;
  for (int attempt = 0; attempt < 100 && !found; ++attempt) {
    processes.clear();
    ctl("ps", &processes);
    found = processes.find(" PegHelp.exe file:Pinnotes.htm#Edit\n") != std::string::npos;
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(found) << processes;
}

TEST_F(NoteWindowShape, TapOnTheExpiryLineBordersIncludedOpensThePicker) {
  RecordingNoteWindow& note = open();
  const auto tap = [&](int x, int y) {
    SendMessageW(note.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    pump();
    HWND popup = FindWindowW(u"DateTimePicker", nullptr);
    if (popup) DestroyWindow(popup);
    pump();
    return popup != nullptr;
  };
  EXPECT_FALSE(tap(5, 30));
  EXPECT_FALSE(tap(100, 42));
  EXPECT_TRUE(tap(234, 41));
  EXPECT_TRUE(tap(6, 26));
  EXPECT_TRUE(tap(120, 33));
}

class InputPanel : public NoteWindowFixture {
 protected:
  bool panelUp() {
    std::string out;
    ctlPumping("sip state", &out);
    return nlohmann::json::parse(out)["up"].get<bool>();
  }
  int state(HWND note, int command) {
    return static_cast<int>(SendMessageW(menuBarOf(note), TB_GETSTATE, static_cast<WPARAM>(command), 0));
  }
  // The canvas's bottom edge on the screen.
  int canvasBottom(HWND note) {
    RECT r;
    GetWindowRect(child(note, 105), &r);
    return r.bottom;
  }
};

TEST_F(InputPanel, RaisedByHandInWritingModeSwitchesToTyping) {
  RecordingNoteWindow& note = open();
  HWND w = note.window();
  EXPECT_FALSE(panelUp());
  ASSERT_EQ(state(w, 110), 6);
  ASSERT_EQ(ctlPumping("sip up"), 0);
  pump_.pumpUntil([&] { return state(w, 110) == 4; });
  EXPECT_EQ(state(w, 110), 4);
  EXPECT_EQ(stateOf(child(w, 105))["mode"], 1);
  // The canvas ends at the panel's top (214), its border one unit beyond.
  pump_.pumpUntil([&] { return canvasBottom(w) == 215; });
  EXPECT_EQ(canvasBottom(w), 215);
  EXPECT_TRUE(panelUp());

  // Lowered by hand in typing mode it comes back once, then stays down.
  ASSERT_EQ(ctlPumping("sip down"), 0);
  pump_.pumpUntil([&] { return panelUp(); }, 2000);
  ASSERT_EQ(ctlPumping("sip down"), 0);
  pump_.pumpUntil([] { return false; }, 300);
  EXPECT_FALSE(panelUp());
  // Down again: to the client area's bottom, its border one unit beyond, never below it.
  RECT client;
  GetClientRect(w, &client);
  POINT corner = {0, client.bottom};
  ClientToScreen(w, &corner);
  pump_.pumpUntil([&] { return canvasBottom(w) == corner.y + 1; });
  EXPECT_EQ(canvasBottom(w), corner.y + 1);
  EXPECT_TRUE(note.finishes.empty());
}

TEST_F(InputPanel, TypingModeRaisesItForTheCanvasAndPenModeLowersIt) {
  app_->setMode(1);
  RecordingNoteWindow& note = open();
  HWND w = note.window();
  pump_.pumpUntil([&] { return panelUp(); }, 2000);
  EXPECT_TRUE(panelUp());
  EXPECT_EQ(state(w, 110), 4);
  SendMessageW(w, WM_COMMAND, 110, 0);
  pump_.pumpUntil([&] { return !panelUp(); }, 2000);
  EXPECT_FALSE(panelUp());
  // Lowered on purpose, it stays down and the note stays in writing mode.
  pump_.pumpUntil([] { return false; }, 300);
  EXPECT_FALSE(panelUp());
  EXPECT_EQ(state(w, 110), 6);
  EXPECT_EQ(stateOf(child(w, 105))["mode"], 0);
}

TEST_F(InputPanel, TitleBoxRaisesItAndLowersItAgain) {
  RecordingNoteWindow& note = open();
  SetFocus(child(note.window(), 102));
  pump();
  EXPECT_TRUE(panelUp());
  SetFocus(note.window());
  pump();
  EXPECT_FALSE(panelUp());
  // Typing the title is not writing by hand: the note stays in writing mode.
  EXPECT_EQ(state(note.window(), 110), 6);
}

}  // namespace
}  // namespace handheld::testing
