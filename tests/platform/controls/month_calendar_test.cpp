// The month calendar: selection, range, today, keys and arrows across month ends and leap
// years, taps with their notifications (the None choice among them), and its look.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "controls_fixture.h"
#include "notify_log.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

// A tap on a day: the focus, the selection on the way down, the choice on the way up.
const NamedSequence kDayTapSeq = {"tap on a day", {
    {WM_LBUTTONDOWN, kSent},
    {WM_NOTIFY, kParent | kWParam, 5},  // NM_SETFOCUS
    {WM_NOTIFY, kParent | kWParam, 5},  // MCN_SELCHANGE
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_NOTIFY, kParent | kWParam, 5},  // MCN_SELECT
}};

size_t calendarSize(UINT c) { return (c == code(-749) || c == code(-746) || c == code(-745)) ? sizeof(NMSELCHANGE) : 0; }

class Calendars : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE,
                     WM_ACTIVATE, WM_TIMER});
  }

  HWND calendar(DWORD style = 0, RECT r = {0, 0, 168, 170}) {
    HWND c = control(u"SysMonthCal32", u"", style, 5, r);
    EXPECT_NE(c, nullptr);
    recorder.watch(c);
    recorder.clear();
    return c;
  }

  static SYSTEMTIME selection(HWND c) {
    SYSTEMTIME t{};
    EXPECT_TRUE(SendMessageW(c, 0x1001, 0, reinterpret_cast<LPARAM>(&t)));
    return t;
  }
  static bool select(HWND c, SYSTEMTIME t) { return SendMessageW(c, 0x1002, 0, reinterpret_cast<LPARAM>(&t)) != 0; }
  static nlohmann::json automation(HWND c) {
    nlohmann::json state = nlohmann::json::object();
    SendMessageW(c, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
    return state;
  }
  void tap(HWND c, int x, int y) {
    SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void key(HWND c, WPARAM k) { SendMessageW(c, WM_KEYDOWN, k, 1); }

  // The selected day's cell, found by its colour.
  RECT selectedCell(HWND c) {
    RECT client;
    GetClientRect(c, &client);
    recorder.pumpPending();
    HDC hdc = GetDC(c);
    RECT box{client.right, client.bottom, -1, -1};
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        if (GetPixel(hdc, x, y) == highlight) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    ReleaseDC(c, hdc);
    return box;
  }

  NotifyLog log{recorder, &parent, calendarSize};
};

TEST_F(Calendars, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(MONTHCAL_CLASSW), u"SysMonthCal32");
  EXPECT_EQ(MCS_DAYSTATE, 0x1u);
  EXPECT_EQ(MCS_MULTISELECT, 0x2u);
  EXPECT_EQ(MCS_WEEKNUMBERS, 0x4u);
  EXPECT_EQ(MCS_NOTODAYCIRCLE, 0x8u);
  EXPECT_EQ(MCS_NOTODAY, 0x10u);
  EXPECT_EQ(MCS_SHOWNONE, 0x80u);
  EXPECT_EQ(MCM_GETCURSEL, 0x1001u);
  EXPECT_EQ(MCM_SETCURSEL, 0x1002u);
  EXPECT_EQ(MCM_GETMINREQRECT, 0x1009u);
  EXPECT_EQ(MCM_SETCOLOR, 0x100Au);
  EXPECT_EQ(MCM_GETCOLOR, 0x100Bu);
  EXPECT_EQ(MCM_SETTODAY, 0x100Cu);
  EXPECT_EQ(MCM_GETTODAY, 0x100Du);
  EXPECT_EQ(MCM_SETFIRSTDAYOFWEEK, 0x100Fu);
  EXPECT_EQ(MCM_GETFIRSTDAYOFWEEK, 0x1010u);
  EXPECT_EQ(MCM_GETRANGE, 0x1011u);
  EXPECT_EQ(MCM_SETRANGE, 0x1012u);
  EXPECT_EQ(MCSC_BACKGROUND, 0);
  EXPECT_EQ(MCSC_MONTHBK, 4);
  EXPECT_EQ(MCSC_TRAILINGTEXT, 5);
  EXPECT_EQ(MCN_SELCHANGE, code(-749));
  EXPECT_EQ(MCN_SELECT, code(-746));
  EXPECT_EQ(MCN_SELECTNONE, code(-745));
  EXPECT_EQ(GDT_ERROR, -1);
  EXPECT_EQ(GDT_VALID, 0);
  EXPECT_EQ(GDT_NONE, 1);
  EXPECT_EQ(GDTR_MIN, 1u);
  EXPECT_EQ(GDTR_MAX, 2u);
  EXPECT_EQ(sizeof(NMSELCHANGE), sizeof(NMHDR) + 32);
}

TEST_F(Calendars, SelectionRoundTripAndRefusals) {
  HWND c = calendar();
  SYSTEMTIME leap = date(2004, 2, 29, 13, 30);
  leap.wDayOfWeek = 3;  // wrong on purpose: the calendar works it out
  EXPECT_TRUE(select(c, leap));
  SYSTEMTIME got = selection(c);
  EXPECT_EQ(got.wYear, 2004);
  EXPECT_EQ(got.wMonth, 2);
  EXPECT_EQ(got.wDay, 29);
  EXPECT_EQ(got.wDayOfWeek, 0);  // a Sunday
  EXPECT_EQ(automation(c)["month"], "2004-02");
  // No 29 February in 2005, no hour 25 (a note that never expires), no pointer.
  EXPECT_FALSE(select(c, date(2005, 2, 29)));
  EXPECT_FALSE(select(c, date(2004, 3, 1, 25)));
  EXPECT_FALSE(select(c, date(2004, 13, 1)));
  EXPECT_FALSE(SendMessageW(c, 0x1002, 0, 0));
  EXPECT_FALSE(SendMessageW(c, 0x1001, 0, 0));
  EXPECT_EQ(selection(c).wDay, 29);
  EXPECT_TRUE(log.entries.empty());  // set by the program: no notification
}

TEST_F(Calendars, StartsOnTodayAndTodayCanBeSet) {
  HWND c = calendar();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  SYSTEMTIME today{};
  EXPECT_TRUE(SendMessageW(c, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&today)));
  EXPECT_EQ(today.wYear, now.wYear);
  EXPECT_EQ(today.wMonth, now.wMonth);
  EXPECT_EQ(selection(c).wDay, today.wDay);
  SYSTEMTIME fixed = date(2004, 2, 29);
  SendMessageW(c, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&fixed));
  EXPECT_TRUE(SendMessageW(c, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&today)));
  EXPECT_EQ(today.wYear, 2004);
  EXPECT_EQ(today.wDay, 29);
  EXPECT_EQ(automation(c)["today"], "2004-02-29");
  SendMessageW(c, MCM_SETTODAY, 0, 0);  // back to the clock
  EXPECT_TRUE(SendMessageW(c, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&today)));
  EXPECT_EQ(today.wYear, now.wYear);
  EXPECT_FALSE(SendMessageW(c, MCM_GETTODAY, 0, 0));
}

TEST_F(Calendars, RangeClampsTheSelectionAndRefusesDaysOutside) {
  HWND c = calendar();
  ASSERT_TRUE(select(c, date(2004, 6, 15)));
  SYSTEMTIME limits[2] = {date(2004, 1, 10), date(2004, 3, 5)};
  EXPECT_TRUE(SendMessageW(c, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(limits)));
  EXPECT_EQ(selection(c).wMonth, 3);
  EXPECT_EQ(selection(c).wDay, 5);
  EXPECT_FALSE(select(c, date(2004, 3, 6)));
  EXPECT_FALSE(select(c, date(2004, 1, 9)));
  EXPECT_TRUE(select(c, date(2004, 1, 10)));
  SYSTEMTIME read[2] = {};
  EXPECT_EQ(SendMessageW(c, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(read)), 3);
  EXPECT_EQ(read[0].wDay, 10);
  EXPECT_EQ(read[1].wMonth, 3);
  // Keys stop at the ends.
  key(c, VK_LEFT);
  EXPECT_EQ(selection(c).wDay, 10);
  // A minimum after the maximum, a bad date or no array is refused and changes nothing.
  SYSTEMTIME reversed[2] = {date(2004, 5, 1), date(2004, 4, 1)};
  EXPECT_FALSE(SendMessageW(c, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(reversed)));
  SYSTEMTIME bad[2] = {date(2004, 2, 30), date(2004, 4, 1)};
  EXPECT_FALSE(SendMessageW(c, MCM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(bad)));
  EXPECT_FALSE(SendMessageW(c, MCM_SETRANGE, GDTR_MIN, 0));
  EXPECT_EQ(SendMessageW(c, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(read)), 3);
  EXPECT_EQ(read[0].wDay, 10);
  // Clearing both ends.
  EXPECT_TRUE(SendMessageW(c, MCM_SETRANGE, 0, 0));
  EXPECT_EQ(SendMessageW(c, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(read)), 0);
  EXPECT_TRUE(select(c, date(2010, 1, 1)));
}

TEST_F(Calendars, KeysCrossMonthEndsAndLeapYears) {
  HWND c = calendar();
  ASSERT_TRUE(select(c, date(2004, 2, 28)));
  key(c, VK_RIGHT);
  EXPECT_EQ(automation(c)["selection"], "2004-02-29");
  key(c, VK_RIGHT);
  EXPECT_EQ(automation(c)["selection"], "2004-03-01");
  EXPECT_EQ(automation(c)["month"], "2004-03");
  key(c, VK_UP);
  EXPECT_EQ(automation(c)["selection"], "2004-02-23");
  key(c, VK_DOWN);
  EXPECT_EQ(automation(c)["selection"], "2004-03-01");
  ASSERT_TRUE(select(c, date(2004, 3, 31)));
  key(c, VK_PRIOR);
  EXPECT_EQ(automation(c)["selection"], "2004-02-29");
  ASSERT_TRUE(select(c, date(2100, 3, 31)));  // 2100 is no leap year
  key(c, VK_PRIOR);
  EXPECT_EQ(automation(c)["selection"], "2100-02-28");
  ASSERT_TRUE(select(c, date(2004, 12, 31)));
  key(c, VK_RIGHT);
  EXPECT_EQ(automation(c)["selection"], "2005-01-01");
  key(c, VK_NEXT);
  EXPECT_EQ(automation(c)["selection"], "2005-02-01");
  key(c, VK_END);
  EXPECT_EQ(automation(c)["selection"], "2005-02-28");
  key(c, VK_HOME);
  EXPECT_EQ(automation(c)["selection"], "2005-02-01");
  // Each move told the parent, with the new day in the structure.
  ASSERT_NE(log.last(code(-749)), nullptr);
  const auto change = log.last(code(-749))->as<NMSELCHANGE>();
  EXPECT_EQ(change.stSelStart.wDay, 1);
  EXPECT_EQ(change.stSelEnd.wMonth, 2);
  EXPECT_EQ(change.nmhdr.idFrom, 5u);
}

TEST_F(Calendars, TapOnADaySelectsItInOrder) {
  HWND c = calendar();
  ASSERT_TRUE(select(c, date(2004, 2, 18)));  // a Wednesday, mid-grid
  const RECT cell = selectedCell(c);
  ASSERT_GT(cell.right, cell.left);
  const int width = cell.right - cell.left, height = cell.bottom - cell.top;
  recorder.clear();
  tap(c, (cell.left + cell.right) / 2 + width, (cell.top + cell.bottom) / 2);
  EXPECT_TRUE(recorder.matches(kDayTapSeq, c));
  EXPECT_EQ(log.codes(), (std::vector<UINT>{code(-7), code(-749), code(-746)}));
  EXPECT_EQ(automation(c)["selection"], "2004-02-19");
  EXPECT_EQ(log.last(code(-746))->as<NMSELCHANGE>().stSelStart.wDay, 19);
  // A row down is a week later; the last row runs into March.
  tap(c, (cell.left + cell.right) / 2 + width, (cell.top + cell.bottom) / 2 + height);
  EXPECT_EQ(automation(c)["selection"], "2004-02-26");
  tap(c, (cell.left + cell.right) / 2 + width, (cell.top + cell.bottom) / 2 + 2 * height);
  EXPECT_EQ(automation(c)["selection"], "2004-03-04");
  EXPECT_EQ(automation(c)["month"], "2004-03");
}

TEST_F(Calendars, ArrowButtonsChangeTheMonth) {
  HWND c = calendar();
  ASSERT_TRUE(select(c, date(2004, 3, 31)));
  tap(c, 4, 4);
  EXPECT_EQ(automation(c)["month"], "2004-02");
  EXPECT_EQ(automation(c)["selection"], "2004-02-29");
  tap(c, 163, 4);
  tap(c, 163, 4);
  EXPECT_EQ(automation(c)["month"], "2004-04");
  EXPECT_EQ(automation(c)["selection"], "2004-04-29");
  EXPECT_EQ(log.codes(), (std::vector<UINT>{code(-7), code(-749), code(-749), code(-749)}));
}

TEST_F(Calendars, NoneSendsItsNotificationAndKeepsTheSelection) {
  HWND c = calendar(MCS_SHOWNONE);
  EXPECT_EQ(automation(c)["none"], true);
  ASSERT_TRUE(select(c, date(2004, 2, 18)));
  tap(c, 160, 165);
  ASSERT_NE(log.last(code(-745)), nullptr);
  const auto none = log.last(code(-745))->as<NMSELCHANGE>();
  EXPECT_EQ(none.nmhdr.hwndFrom, c);
  EXPECT_EQ(none.nmhdr.idFrom, 5u);
  EXPECT_EQ(none.nmhdr.code, code(-745));
  EXPECT_EQ(automation(c)["selection"], "2004-02-18");
  EXPECT_EQ(log.last(code(-746)), nullptr);
  // The stylus lifted elsewhere chooses nothing.
  log.entries.clear();
  SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 165));
  SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(160, 5));
  EXPECT_EQ(log.last(code(-745)), nullptr);
}

TEST_F(Calendars, WithoutNoneTheBottomIsToday) {
  HWND c = calendar();
  EXPECT_EQ(automation(c)["none"], false);
  SYSTEMTIME fixed = date(2004, 2, 29);
  SendMessageW(c, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&fixed));
  ASSERT_TRUE(select(c, date(2004, 5, 1)));
  tap(c, 160, 165);
  EXPECT_EQ(log.last(code(-745)), nullptr);
  EXPECT_EQ(automation(c)["selection"], "2004-02-29");
  EXPECT_NE(log.last(code(-746)), nullptr);
}

TEST_F(Calendars, AParentMayDestroyItInANotification) {
  HWND c = calendar(MCS_SHOWNONE);
  log.onCode = [&](const Notification& n) {
    if (n.code == code(-745) || n.code == code(-749)) DestroyWindow(n.from);
  };
  tap(c, 160, 165);
  EXPECT_FALSE(IsWindow(c));
  HWND d = calendar();
  tap(d, 4, 4);
  EXPECT_FALSE(IsWindow(d));
  HWND e = calendar();
  key(e, VK_RIGHT);
  EXPECT_FALSE(IsWindow(e));
}

TEST_F(Calendars, MinimumSizeFirstDayAndColours) {
  HWND c = calendar();
  RECT full{}, noToday{};
  EXPECT_TRUE(SendMessageW(c, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&full)));
  EXPECT_FALSE(SendMessageW(c, MCM_GETMINREQRECT, 0, 0));
  EXPECT_GT(full.right, 7 * 8);
  HWND plain = calendar(MCS_NOTODAY, {0, 0, 168, 170});
  EXPECT_TRUE(SendMessageW(plain, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&noToday)));
  EXPECT_LT(noToday.bottom, full.bottom);

  EXPECT_EQ(SendMessageW(c, MCM_GETFIRSTDAYOFWEEK, 0, 0), 6);  // Sunday
  EXPECT_EQ(SendMessageW(c, MCM_SETFIRSTDAYOFWEEK, 0, 0), 6);
  EXPECT_EQ(SendMessageW(c, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELONG(0, 1));
  // Monday first: 1 March 2004 (a Monday) opens the first row.
  ASSERT_TRUE(select(c, date(2004, 3, 1)));
  const RECT cell = selectedCell(c);
  ASSERT_TRUE(select(c, date(2004, 3, 7)));
  const RECT sunday = selectedCell(c);
  EXPECT_EQ(sunday.top, cell.top);
  EXPECT_GT(sunday.left, cell.left + 5 * (cell.right - cell.left));

  EXPECT_EQ(SendMessageW(c, MCM_SETCOLOR, 6, RGB(1, 2, 3)), -1);
  EXPECT_EQ(SendMessageW(c, MCM_SETCOLOR, MCSC_BACKGROUND, RGB(255, 0, 0)), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(SendMessageW(c, MCM_GETCOLOR, MCSC_BACKGROUND, 0), static_cast<LRESULT>(RGB(255, 0, 0)));
}

TEST_F(Calendars, LookByPixels) {
  HWND c = calendar();
  SYSTEMTIME fixed = date(2004, 2, 10);
  SendMessageW(c, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&fixed));
  ASSERT_TRUE(select(c, date(2004, 2, 18)));
  const RECT cell = selectedCell(c);
  const int width = cell.right - cell.left, height = cell.bottom - cell.top;
  EXPECT_GE(width, 20);
  EXPECT_GE(height, 10);
  EXPECT_LE(width, 24);
  // Today (the 10th, a Tuesday: a row up and a column left) is framed in black.
  EXPECT_EQ(pixel(c, cell.left - width, cell.top - height + height / 2), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(pixel(c, cell.left - width + 1, cell.top - height + height / 2), GetSysColor(COLOR_WINDOW));
  // The heads' rule runs above the first row, the title above it is white.
  EXPECT_EQ(pixel(c, 84, 2), GetSysColor(COLOR_WINDOW));
  SendMessageW(c, MCM_SETCOLOR, MCSC_MONTHBK, RGB(0, 255, 0));
  InvalidateRect(c, nullptr, FALSE);
  EXPECT_EQ(pixel(c, cell.left + width + 1, cell.bottom - 1), RGB(0, 255, 0));
}

}  // namespace
}  // namespace handheld::testing
