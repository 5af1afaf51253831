// The up-down control: range and position in 16 and 32 bits, the buddy's number and keys,
// steps by the stylus with UDN_DELTAPOS (and its refusal), wrapping, repeating while held,
// accelerators, CreateUpDownControl and the look.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "controls_fixture.h"
#include "notify_log.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

// Up: asked, moved, told; lifted: the end of the scroll.
const NamedSequence kUpTapSeq = {"tap on the up arrow", {
    {WM_LBUTTONDOWN, kSent},
    {WM_NOTIFY, kParent | kWParam, 9},
    {WM_VSCROLL, kParent | kWParam, MAKEWPARAM(4, 6)},  // SB_THUMBPOSITION at 6
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_VSCROLL, kParent | kWParam, MAKEWPARAM(8, 6)},  // SB_ENDSCROLL
}};

// Refused: nothing moves and nothing scrolls until the end.
const NamedSequence kRefusedTapSeq = {"refused step", {
    {WM_LBUTTONDOWN, kSent},
    {WM_NOTIFY, kParent | kWParam, 9},
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_VSCROLL, kParent | kWParam, MAKEWPARAM(8, 5)},
}};

size_t upDownSize(UINT c) { return c == code(-722) ? sizeof(NMUPDOWN) : 0; }

class UpDowns : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE,
                     WM_ACTIVATE, WM_TIMER, WM_CTLCOLORSTATIC, WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH});
  }

  HWND upDown(DWORD style, RECT r = {100, 10, 116, 40}, int id = 9) {
    HWND u = control(u"msctls_updown32", nullptr, style, id, r);
    EXPECT_NE(u, nullptr);
    recorder.watch(u);
    recorder.clear();
    return u;
  }
  HWND buddy(RECT r = {10, 10, 110, 30}, const char16_t* text = u"") { return control(u"STATIC", text, 0, 4, r); }

  static int position(HWND u) { return static_cast<int>(SendMessageW(u, UDM_GETPOS32, 0, 0)); }
  static void range(HWND u, int lower, int upper) { SendMessageW(u, 0x046F, static_cast<WPARAM>(lower), upper); }
  static std::string textOf(HWND w) {
    char16_t buffer[64] = {};
    GetWindowTextW(w, buffer, 64);
    std::string s;
    for (char16_t* c = buffer; *c; ++c) s += static_cast<char>(*c);
    return s;
  }
  void tap(HWND u, int x, int y) {
    SendMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(u, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  int scrolls(UINT message, WORD code) {
    int count = 0;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == message && LOWORD(m.wParam) == code) ++count;
    return count;
  }

  NotifyLog log{recorder, &parent, upDownSize};
};

TEST_F(UpDowns, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(UPDOWN_CLASSW), u"msctls_updown32");
  EXPECT_EQ(UD_MAXVAL, 0x7fff);
  EXPECT_EQ(UD_MINVAL, -0x7fff);
  EXPECT_EQ(UDS_WRAP, 0x1u);
  EXPECT_EQ(UDS_SETBUDDYINT, 0x2u);
  EXPECT_EQ(UDS_ALIGNRIGHT, 0x4u);
  EXPECT_EQ(UDS_ALIGNLEFT, 0x8u);
  EXPECT_EQ(UDS_AUTOBUDDY, 0x10u);
  EXPECT_EQ(UDS_ARROWKEYS, 0x20u);
  EXPECT_EQ(UDS_HORZ, 0x40u);
  EXPECT_EQ(UDS_NOTHOUSANDS, 0x80u);
  EXPECT_EQ(UDM_SETRANGE, 0x0465u);
  EXPECT_EQ(UDM_GETRANGE, 0x0466u);
  EXPECT_EQ(UDM_SETPOS, 0x0467u);
  EXPECT_EQ(UDM_GETPOS, 0x0468u);
  EXPECT_EQ(UDM_SETBUDDY, 0x0469u);
  EXPECT_EQ(UDM_GETBUDDY, 0x046Au);
  EXPECT_EQ(UDM_SETACCEL, 0x046Bu);
  EXPECT_EQ(UDM_GETACCEL, 0x046Cu);
  EXPECT_EQ(UDM_SETRANGE32, 0x046Fu);
  EXPECT_EQ(UDM_GETRANGE32, 0x0470u);
  EXPECT_EQ(UDM_SETPOS32, 0x0471u);
  EXPECT_EQ(UDM_GETPOS32, 0x0472u);
  EXPECT_EQ(UDN_DELTAPOS, code(-722));
  EXPECT_EQ(sizeof(NMUPDOWN), sizeof(NMHDR) + 8);
  EXPECT_EQ(sizeof(UDACCEL), 8u);
}

TEST_F(UpDowns, RangeAndPositionClamped) {
  HWND u = upDown(0);
  EXPECT_EQ(SendMessageW(u, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));  // 100 down to 0
  EXPECT_EQ(SendMessageW(u, UDM_GETPOS, 0, 0), 0);
  SendMessageW(u, UDM_SETRANGE, 0, MAKELPARAM(10, static_cast<WORD>(-5)));
  EXPECT_EQ(SendMessageW(u, UDM_GETRANGE, 0, 0), static_cast<LRESULT>(MAKELONG(10, static_cast<WORD>(-5))));
  EXPECT_EQ(SendMessageW(u, UDM_SETPOS, 0, 15), 0);  // the previous position
  EXPECT_EQ(SendMessageW(u, UDM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessageW(u, UDM_SETPOS, 0, static_cast<WORD>(-9)), 10);
  EXPECT_EQ(static_cast<short>(LOWORD(SendMessageW(u, UDM_GETPOS, 0, 0))), -5);
  // 32 bits.
  range(u, -100000, 100000);
  EXPECT_EQ(SendMessageW(u, UDM_SETPOS32, 0, 70000), -5);
  EXPECT_EQ(position(u), 70000);
  SendMessageW(u, UDM_SETPOS32, 0, 200000);
  EXPECT_EQ(position(u), 100000);
  int lower = 0, upper = 0;
  SendMessageW(u, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  EXPECT_EQ(lower, -100000);
  EXPECT_EQ(upper, 100000);
  SendMessageW(u, UDM_GETRANGE32, 0, 0);  // no pointers: nothing written
  // A narrower range pulls the position in.
  range(u, 0, 50);
  EXPECT_EQ(position(u), 50);
}

TEST_F(UpDowns, StylusStepsAskAndTell) {
  HWND u = upDown(0);
  range(u, 0, 10);
  SendMessageW(u, UDM_SETPOS32, 0, 5);
  recorder.clear();
  tap(u, 8, 4);
  EXPECT_TRUE(recorder.matches(kUpTapSeq, u));
  ASSERT_NE(log.last(code(-722)), nullptr);
  const auto asked = log.last(code(-722))->as<NMUPDOWN>();
  EXPECT_EQ(asked.iPos, 5);
  EXPECT_EQ(asked.iDelta, 1);
  EXPECT_EQ(asked.hdr.idFrom, 9u);
  EXPECT_EQ(position(u), 6);
  tap(u, 8, 26);
  tap(u, 8, 26);
  EXPECT_EQ(position(u), 4);
  EXPECT_EQ(log.last(code(-722))->as<NMUPDOWN>().iDelta, -1);
  // A reversed range turns the arrows round.
  range(u, 10, 0);
  tap(u, 8, 4);
  EXPECT_EQ(position(u), 3);
}

TEST_F(UpDowns, ANonZeroAnswerRefusesTheStep) {
  HWND u = upDown(0);
  range(u, 0, 10);
  SendMessageW(u, UDM_SETPOS32, 0, 5);
  log.answer = 1;
  recorder.clear();
  tap(u, 8, 4);
  EXPECT_TRUE(recorder.matches(kRefusedTapSeq, u));
  EXPECT_EQ(position(u), 5);
}

TEST_F(UpDowns, EndsStopOrWrap) {
  HWND stop = upDown(0);
  range(stop, 0, 3);
  SendMessageW(stop, UDM_SETPOS32, 0, 3);
  recorder.clear();
  tap(stop, 8, 4);
  EXPECT_EQ(position(stop), 3);
  EXPECT_EQ(scrolls(WM_VSCROLL, SB_THUMBPOSITION), 0);
  HWND wrap = upDown(UDS_WRAP, {120, 10, 136, 40});
  range(wrap, 0, 3);
  SendMessageW(wrap, UDM_SETPOS32, 0, 3);
  tap(wrap, 8, 4);
  EXPECT_EQ(position(wrap), 0);
  tap(wrap, 8, 26);
  EXPECT_EQ(position(wrap), 3);
}

TEST_F(UpDowns, HorizontalUsesHScrollAndTheRightArrowGoesUp) {
  HWND u = upDown(UDS_HORZ, {100, 10, 140, 26});
  range(u, 0, 10);
  tap(u, 35, 8);
  EXPECT_EQ(position(u), 1);
  tap(u, 3, 8);
  tap(u, 3, 8);
  EXPECT_EQ(position(u), 0);
  EXPECT_EQ(scrolls(WM_HSCROLL, SB_THUMBPOSITION), 2);
  EXPECT_EQ(scrolls(WM_VSCROLL, SB_THUMBPOSITION), 0);
}

TEST_F(UpDowns, BuddyShowsAndGivesTheNumber) {
  HWND b = buddy();
  HWND u = upDown(UDS_SETBUDDYINT);
  EXPECT_EQ(SendMessageW(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0), 0);
  EXPECT_EQ(SendMessageW(u, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(b));
  range(u, -100000, 100000);
  SendMessageW(u, UDM_SETPOS32, 0, 1234);
  EXPECT_EQ(textOf(b), "1,234");
  SendMessageW(u, UDM_SETPOS32, 0, -98765);
  EXPECT_EQ(textOf(b), "-98,765");
  SendMessageW(u, UDM_SETPOS32, 0, 999);
  EXPECT_EQ(textOf(b), "999");
  // What the user typed into the buddy is the position.
  SetWindowTextW(b, u"12,000");
  EXPECT_EQ(SendMessageW(u, UDM_GETPOS, 0, 0), MAKELONG(12000, 0));
  tap(u, 8, 4);
  EXPECT_EQ(textOf(b), "12,001");
  // No number, or one outside the range: the error flag and the last good position.
  SetWindowTextW(b, u"twelve");
  EXPECT_NE(HIWORD(SendMessageW(u, UDM_GETPOS, 0, 0)), 0);
  BOOL error = FALSE;
  EXPECT_EQ(SendMessageW(u, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 12001);
  EXPECT_TRUE(error);
  SetWindowTextW(b, u"200000");
  SendMessageW(u, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
  EXPECT_TRUE(error);
  SetWindowTextW(b, u"-7");
  SendMessageW(u, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
  EXPECT_FALSE(error);
  HWND plain = upDown(UDS_SETBUDDYINT | UDS_NOTHOUSANDS, {120, 10, 136, 40});
  SendMessageW(plain, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
  range(plain, 0, 100000);
  SendMessageW(plain, UDM_SETPOS32, 0, 54321);
  EXPECT_EQ(textOf(b), "54321");
}

TEST_F(UpDowns, AutoBuddyAlignsBesideIt) {
  HWND b = buddy({10, 10, 110, 30});
  HWND right = upDown(UDS_AUTOBUDDY | UDS_ALIGNRIGHT, {0, 0, 16, 10});
  EXPECT_EQ(SendMessageW(right, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(b));
  RECT r, rb;
  GetWindowRect(right, &r);
  GetWindowRect(b, &rb);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rb), 2);
  EXPECT_EQ(r.left, 94);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right, 110);
  EXPECT_EQ(r.bottom, 30);
  EXPECT_EQ(rb.left, 10);
  EXPECT_EQ(rb.right, 94);
  HWND c = buddy({10, 50, 110, 70});
  HWND left = upDown(UDS_AUTOBUDDY | UDS_ALIGNLEFT, {0, 0, 16, 10});
  GetWindowRect(left, &r);
  GetWindowRect(c, &rb);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rb), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right, 26);
  EXPECT_EQ(rb.left, 26);
  EXPECT_EQ(rb.right, 110);
}

TEST_F(UpDowns, BuddyArrowKeysAndLifetimes) {
  HWND b = buddy();
  const LONG_PTR original = GetWindowLongPtrW(b, GWLP_WNDPROC);
  HWND u = upDown(UDS_ARROWKEYS | UDS_SETBUDDYINT);
  SendMessageW(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
  range(u, 0, 10);
  EXPECT_NE(SendMessageW(b, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
  SendMessageW(b, WM_KEYDOWN, VK_UP, 1);
  SendMessageW(b, WM_KEYDOWN, VK_UP, 1);
  SendMessageW(b, WM_KEYUP, VK_UP, 1);
  EXPECT_EQ(position(u), 2);
  EXPECT_EQ(textOf(b), "2");
  SendMessageW(u, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(position(u), 1);
  // Another buddy: the first gets its own procedure back.
  HWND other = buddy({10, 50, 110, 70});
  EXPECT_EQ(SendMessageW(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other), 0), reinterpret_cast<LRESULT>(b));
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), original);
  // The buddy going first leaves the up-down without one.
  DestroyWindow(other);
  EXPECT_EQ(SendMessageW(u, UDM_GETBUDDY, 0, 0), 0);
  tap(u, 8, 4);
  EXPECT_EQ(position(u), 2);
  // The up-down going first gives the buddy its procedure back.
  HWND third = buddy({10, 80, 110, 100});
  SendMessageW(u, UDM_SETBUDDY, reinterpret_cast<WPARAM>(third), 0);
  DestroyWindow(u);
  EXPECT_EQ(GetWindowLongPtrW(third, GWLP_WNDPROC), original);
  SendMessageW(third, WM_KEYDOWN, VK_UP, 1);
}

TEST_F(UpDowns, AnEditBuddyTypedIntoAndSteppedByItsKeys) {
  HWND edit = control(u"EDIT", u"", WS_BORDER, 4, {10, 10, 110, 30});
  HWND u = upDown(UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT, {0, 0, 16, 10});
  ASSERT_EQ(SendMessageW(u, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(edit));
  range(u, 0, 100);
  EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS),
            static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTCHARS));
  EXPECT_EQ(textOf(edit), "0");  // the range set the position, which the buddy shows
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, '4', 1);  // the edit still takes its characters
  SendMessageW(edit, WM_CHAR, '2', 1);
  EXPECT_EQ(textOf(edit), "42");
  EXPECT_EQ(SendMessageW(u, UDM_GETPOS, 0, 0), MAKELONG(42, 0));
  SendMessageW(edit, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(textOf(edit), "43");
  SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(textOf(edit), "41");
  EXPECT_EQ(position(u), 41);
  RECT r;
  GetWindowRect(edit, &r);
  EXPECT_EQ(r.right - r.left, 84);
}

TEST_F(UpDowns, AcceleratorsAndRepeatWhileHeld) {
  HWND u = upDown(0);
  UDACCEL accels[2] = {{0, 2}, {1, 10}};
  EXPECT_TRUE(SendMessageW(u, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accels)));
  EXPECT_FALSE(SendMessageW(u, UDM_SETACCEL, 0, reinterpret_cast<LPARAM>(accels)));
  EXPECT_FALSE(SendMessageW(u, UDM_SETACCEL, 2, 0));
  UDACCEL read[3] = {{7, 7}, {7, 7}, {7, 7}};
  EXPECT_EQ(SendMessageW(u, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(read)), 2);
  EXPECT_EQ(read[0].nInc, 2u);
  EXPECT_EQ(read[1].nSec, 7u);  // only as many as asked for
  EXPECT_EQ(SendMessageW(u, UDM_GETACCEL, 3, 0), 2);
  range(u, 0, 1000);
  SendMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 4));
  EXPECT_EQ(position(u), 2);
  // Held: the steps repeat, ten at a time after a second.
  EXPECT_TRUE(recorder.pumpUntil([&] { return position(u) >= 40; }, 5000));
  EXPECT_EQ(position(u) % 2, 0);
  SendMessageW(u, WM_LBUTTONUP, 0, MAKELPARAM(8, 4));
  const int released = position(u);
  recorder.clear();
  recorder.pumpUntil([] { return false; }, 400);
  EXPECT_EQ(position(u), released);  // stopped
  int timers = 0;
  for (const auto& m : recorder.messages())
    if (m.message == WM_TIMER) ++timers;
  EXPECT_EQ(timers, 0);
}

TEST_F(UpDowns, CreateUpDownControlAndAutomation) {
  HWND b = buddy();
  HWND u = CreateUpDownControl(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, 120, 10, 16, 30, parent, 11, nullptr, b, 50, -50, 7);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(GetDlgCtrlID(u), 11);
  EXPECT_EQ(position(u), 7);
  EXPECT_EQ(textOf(b), "7");
  nlohmann::json state = nlohmann::json::object();
  SendMessageW(u, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(state["position"], 7);
  EXPECT_EQ(state["range"], nlohmann::json::array({-50, 50}));
  EXPECT_EQ(state["buddy"], reinterpret_cast<uintptr_t>(b));
  HWND alone = upDown(0);
  state = nlohmann::json::object();
  SendMessageW(alone, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_TRUE(state["buddy"].is_null());
  EXPECT_EQ(state["range"], nlohmann::json::array({100, 0}));
  EXPECT_EQ(CreateUpDownControl(0, 0, 0, 1, 1, reinterpret_cast<HWND>(0x7777), 1, nullptr, nullptr, 1, 0, 0), nullptr);
}

TEST_F(UpDowns, AParentMayDestroyItWhileAsked) {
  HWND u = upDown(0);
  range(u, 0, 10);
  log.onCode = [&](const Notification& n) { DestroyWindow(n.from); };
  tap(u, 8, 4);
  EXPECT_FALSE(IsWindow(u));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UpDowns, LookByPixels) {
  HWND u = upDown(0);
  range(u, 0, 10);
  EXPECT_EQ(pixel(u, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(pixel(u, 2, 2), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixel(u, 8, 7), GetSysColor(COLOR_WINDOWTEXT));  // the up arrow
  SendMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 4));
  EXPECT_EQ(pixel(u, 2, 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pixel(u, 2, 27), GetSysColor(COLOR_WINDOW));
  SendMessageW(u, WM_LBUTTONUP, 0, MAKELPARAM(8, 4));
  EXPECT_EQ(pixel(u, 2, 2), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace handheld::testing
