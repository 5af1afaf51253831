// The date and time picker: the value and "no date" through the messages, the text the
// locale's formats and pictures give, fields changed by stylus, keys, digits and spin arrows
// with their notifications, the dropped-down calendar, range clamping and bad input.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "controls_fixture.h"
#include "notify_log.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

// Up on the spin arrows: the focus, then one change of the first field.
const NamedSequence kSpinTapSeq = {"tap on the up arrow", {
    {WM_LBUTTONDOWN, kSent},
    {WM_NOTIFY, kParent | kWParam, 3},  // NM_SETFOCUS
    {WM_NOTIFY, kParent | kWParam, 3},  // DTN_DATETIMECHANGE
    {WM_LBUTTONUP, kSent},
}};

size_t pickerSize(UINT c) { return c == code(-759) ? sizeof(NMDATETIMECHANGE) : 0; }

class Pickers : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE,
                     WM_ACTIVATE, WM_TIMER});
  }

  HWND picker(DWORD style, RECT r = {0, 0, 160, 20}) {
    HWND p = control(u"SysDateTimePick32", u"", style, 3, r);
    EXPECT_NE(p, nullptr);
    recorder.watch(p);
    recorder.clear();
    return p;
  }
  static bool set(HWND p, SYSTEMTIME t) { return SendMessageW(p, 0x1002, 0, reinterpret_cast<LPARAM>(&t)) != 0; }
  static SYSTEMTIME get(HWND p) {
    SYSTEMTIME t{};
    EXPECT_EQ(SendMessageW(p, 0x1001, 0, reinterpret_cast<LPARAM>(&t)), 0);
    return t;
  }
  static nlohmann::json automation(HWND p) {
    nlohmann::json state = nlohmann::json::object();
    SendMessageW(p, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
    return state;
  }
  static std::string text(HWND p) { return automation(p)["text"]; }
  static std::string value(HWND p) {
    auto v = automation(p)["value"];
    return v.is_null() ? "null" : v.get<std::string>();
  }
  void key(HWND p, WPARAM k) { SendMessageW(p, WM_KEYDOWN, k, 1); }
  void type(HWND p, const char* digits) {
    for (const char* c = digits; *c; ++c) SendMessageW(p, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }
  void tap(HWND p, int x, int y) {
    SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(p, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  NotifyLog log{recorder, &parent, pickerSize};
};

TEST_F(Pickers, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(DATETIMEPICK_CLASSW), u"SysDateTimePick32");
  EXPECT_EQ(DTS_SHORTDATEFORMAT, 0x0u);
  EXPECT_EQ(DTS_UPDOWN, 0x1u);
  EXPECT_EQ(DTS_SHOWNONE, 0x2u);
  EXPECT_EQ(DTS_LONGDATEFORMAT, 0x4u);
  EXPECT_EQ(DTS_TIMEFORMAT, 0x9u);
  EXPECT_EQ(DTM_GETSYSTEMTIME, 0x1001u);
  EXPECT_EQ(DTM_SETSYSTEMTIME, 0x1002u);
  EXPECT_EQ(DTM_GETRANGE, 0x1003u);
  EXPECT_EQ(DTM_SETRANGE, 0x1004u);
  EXPECT_EQ(DTM_GETMONTHCAL, 0x1008u);
  EXPECT_EQ(DTM_SETFORMATW, 0x1032u);
  EXPECT_EQ(DTN_DATETIMECHANGE, code(-759));
  EXPECT_EQ(DTN_DROPDOWN, code(-754));
  EXPECT_EQ(DTN_CLOSEUP, code(-753));
  EXPECT_EQ(NM_SETFOCUS, code(-7));
  EXPECT_EQ(NM_KILLFOCUS, code(-8));
  EXPECT_EQ(sizeof(NMDATETIMECHANGE), sizeof(NMHDR) + 4 + 16 + 4);  // the structure's padding at the end
}

TEST_F(Pickers, ValueRoundTripAndRefusals) {
  HWND p = picker(DTS_TIMEFORMAT);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(get(p).wYear, now.wYear);  // starts at the current time
  ASSERT_TRUE(set(p, date(2004, 2, 29, 14, 5, 9)));
  const SYSTEMTIME got = get(p);
  EXPECT_EQ(got.wDay, 29);
  EXPECT_EQ(got.wHour, 14);
  EXPECT_EQ(got.wSecond, 9);
  EXPECT_EQ(got.wDayOfWeek, 0);
  EXPECT_EQ(value(p), "2004-02-29 14:05:09");
  // A never-expiring note's hour 25, a day that does not exist, a bad flag, no pointer.
  SYSTEMTIME never = date(0, 0, 0, 25);
  EXPECT_FALSE(set(p, never));
  EXPECT_FALSE(set(p, date(2004, 3, 1, 25)));
  EXPECT_FALSE(set(p, date(2004, 3, 1, 12, 60)));
  EXPECT_FALSE(set(p, date(2005, 2, 29)));
  SYSTEMTIME t = date(2004, 1, 1);
  EXPECT_FALSE(SendMessageW(p, 0x1002, 7, reinterpret_cast<LPARAM>(&t)));
  EXPECT_FALSE(SendMessageW(p, 0x1002, GDT_VALID, 0));
  EXPECT_EQ(SendMessageW(p, 0x1001, 0, 0), -1);  // GDT_ERROR
  // No date is refused without the check box.
  EXPECT_FALSE(SendMessageW(p, 0x1002, 1, 0));
  EXPECT_EQ(value(p), "2004-02-29 14:05:09");
  EXPECT_TRUE(log.entries.empty());
}

TEST_F(Pickers, NoDateRoundTripWithTheCheckBox) {
  HWND p = picker(DTS_SHOWNONE);
  ASSERT_TRUE(set(p, date(2004, 2, 29, 14, 5)));
  EXPECT_TRUE(SendMessageW(p, DTM_SETSYSTEMTIME, 1, 0));  // GDT_NONE
  SYSTEMTIME out = date(1999, 1, 1);
  EXPECT_EQ(SendMessageW(p, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&out)), 1);
  EXPECT_EQ(out.wYear, 1999);  // untouched
  EXPECT_EQ(value(p), "null");
  ASSERT_TRUE(set(p, date(2004, 3, 1)));
  EXPECT_EQ(value(p), "2004-03-01 00:00:00");
  // The check box under the stylus clears and sets it, telling the parent each time.
  tap(p, 6, 10);
  EXPECT_EQ(value(p), "null");
  ASSERT_NE(log.last(code(-759)), nullptr);
  EXPECT_EQ(log.last(code(-759))->as<NMDATETIMECHANGE>().dwFlags, 1u);
  tap(p, 6, 10);
  EXPECT_EQ(value(p), "2004-03-01 00:00:00");
  EXPECT_EQ(log.last(code(-759))->as<NMDATETIMECHANGE>().dwFlags, 0u);
  EXPECT_EQ(log.last(code(-759))->as<NMDATETIMECHANGE>().st.wMonth, 3);
  // A key that changes a field gives a date again.
  tap(p, 6, 10);
  key(p, VK_UP);
  EXPECT_NE(value(p), "null");
}

TEST_F(Pickers, TextFromTheLocaleAndPictures) {
  HWND time = picker(DTS_TIMEFORMAT);
  ASSERT_TRUE(set(time, date(2004, 2, 29, 14, 5, 9)));
  EXPECT_EQ(text(time), "14:05");  // the device's 24-hour clock
  HWND shortDate = picker(DTS_SHORTDATEFORMAT, {0, 30, 160, 50});
  ASSERT_TRUE(set(shortDate, date(2004, 2, 9)));
  EXPECT_EQ(text(shortDate), "09.02.2004");  // day, month, year
  HWND longDate = picker(DTS_LONGDATEFORMAT, {0, 60, 160, 80});
  ASSERT_TRUE(set(longDate, date(2004, 2, 29)));
  EXPECT_EQ(text(longDate), "Sunday, 29 February 2004");
  const char16_t* picture = u"yyyy'-'MM'-'dd ddd MMM h:mm:ss tt";
  EXPECT_TRUE(SendMessageW(time, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(picture)));
  EXPECT_EQ(text(time), "2004-02-29 Sun Feb 2:05:09 PM");
  SYSTEMTIME midnight = date(2004, 2, 29, 0, 7);
  set(time, midnight);
  EXPECT_EQ(text(time), "2004-02-29 Sun Feb 12:07:00 AM");
  EXPECT_TRUE(SendMessageW(time, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(u"yy/M/d 'at' HH 'o''clock")));
  EXPECT_EQ(text(time), "04/2/29 at 00 oclock");
  EXPECT_TRUE(SendMessageW(time, DTM_SETFORMATW, 0, 0));
  EXPECT_EQ(text(time), "00:07");
}

TEST_F(Pickers, ArrowKeysChangeTheSelectedFieldWrapping) {
  HWND p = picker(DTS_TIMEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 12, 31, 23, 59)));
  SetFocus(p);  // the first field, the hour, is selected
  key(p, VK_UP);
  EXPECT_EQ(value(p), "2004-12-31 00:59:00");  // the hour wraps alone, the date stays
  key(p, VK_RIGHT);
  key(p, VK_UP);
  EXPECT_EQ(value(p), "2004-12-31 00:00:00");
  key(p, VK_DOWN);
  EXPECT_EQ(value(p), "2004-12-31 00:59:00");
  key(p, VK_RIGHT);  // nothing further right: still the minute
  key(p, VK_DOWN);
  EXPECT_EQ(value(p), "2004-12-31 00:58:00");
  EXPECT_EQ(log.codes(), (std::vector<UINT>{code(-7), code(-759), code(-759), code(-759), code(-759)}));
  const auto change = log.last(code(-759))->as<NMDATETIMECHANGE>();
  EXPECT_EQ(change.dwFlags, 0u);
  EXPECT_EQ(change.st.wMinute, 58);
  EXPECT_EQ(change.nmhdr.idFrom, 3u);
  SetFocus(parent);
  EXPECT_EQ(log.codes().back(), code(-8));
}

TEST_F(Pickers, MonthAndYearKeepTheDayWithinTheMonth) {
  HWND p = picker(DTS_SHORTDATEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 1, 31)));
  SetFocus(p);
  key(p, VK_RIGHT);  // the month
  key(p, VK_UP);
  EXPECT_EQ(text(p), "29.02.2004");
  key(p, VK_RIGHT);  // the year
  key(p, VK_UP);
  EXPECT_EQ(text(p), "28.02.2005");
  key(p, VK_HOME);  // the day wraps within February
  key(p, VK_UP);
  EXPECT_EQ(text(p), "01.02.2005");
  key(p, VK_DOWN);
  EXPECT_EQ(text(p), "28.02.2005");
}

TEST_F(Pickers, TypedDigitsFillAFieldAndMoveOn) {
  HWND p = picker(DTS_TIMEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 2, 29, 14, 5)));
  SetFocus(p);
  type(p, "07");
  type(p, "45");
  EXPECT_EQ(value(p), "2004-02-29 07:45:00");
  // A first digit that no second can follow moves on at once: 9 hours, then 3 minutes.
  key(p, VK_HOME);
  type(p, "9");
  type(p, "3");
  EXPECT_EQ(text(p), "09:03");
  // What does not fit the field is ignored.
  key(p, VK_HOME);
  type(p, "x");
  EXPECT_EQ(text(p), "09:03");
  HWND d = picker(DTS_SHORTDATEFORMAT, {0, 30, 160, 50});
  ASSERT_TRUE(set(d, date(2004, 2, 10)));
  SetFocus(d);
  type(d, "31");  // no 31 February
  EXPECT_EQ(text(d), "03.02.2004");
  type(d, "12");
  type(d, "1999");
  EXPECT_EQ(text(d), "03.12.1999");
}

TEST_F(Pickers, TwelveHourFields) {
  HWND p = picker(DTS_TIMEFORMAT);
  SendMessageW(p, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(u"hh:mm tt"));
  ASSERT_TRUE(set(p, date(2004, 2, 29, 11, 30)));
  SetFocus(p);
  type(p, "12");
  EXPECT_EQ(value(p), "2004-02-29 00:30:00");
  key(p, VK_END);
  SendMessageW(p, WM_CHAR, 'p', 1);
  EXPECT_EQ(text(p), "12:30 PM");
  EXPECT_EQ(value(p), "2004-02-29 12:30:00");
  key(p, VK_UP);
  EXPECT_EQ(text(p), "12:30 AM");
}

TEST_F(Pickers, SpinArrowsAndTheStylusOnFields) {
  HWND p = picker(DTS_TIMEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 2, 29, 14, 5)));
  recorder.clear();
  tap(p, 155, 3);
  EXPECT_TRUE(recorder.matches(kSpinTapSeq, p));
  EXPECT_EQ(text(p), "15:05");
  tap(p, 155, 17);
  tap(p, 155, 17);
  EXPECT_EQ(text(p), "13:05");
  // The stylus just left of the arrows picks the minute; the arrows then change it.
  tap(p, 135, 10);
  tap(p, 155, 3);
  EXPECT_EQ(text(p), "13:06");
  tap(p, 4, 10);
  tap(p, 155, 3);
  EXPECT_EQ(text(p), "14:06");
}

TEST_F(Pickers, RangeClampsAndRefuses) {
  HWND p = picker(DTS_SHORTDATEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 6, 15)));
  SYSTEMTIME limits[2] = {date(2004, 1, 1), date(2004, 3, 31, 12)};
  EXPECT_TRUE(SendMessageW(p, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(limits)));
  EXPECT_EQ(value(p), "2004-03-31 12:00:00");
  EXPECT_FALSE(set(p, date(2004, 4, 1)));
  SYSTEMTIME read[2] = {};
  EXPECT_EQ(SendMessageW(p, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(read)), 3);
  EXPECT_EQ(read[1].wHour, 12);
  EXPECT_EQ(SendMessageW(p, DTM_GETRANGE, 0, 0), 0);
  // A step past the end stops at it.
  SetFocus(p);
  key(p, VK_RIGHT);
  key(p, VK_UP);
  EXPECT_EQ(value(p), "2004-03-31 12:00:00");
  SYSTEMTIME reversed[2] = {date(2004, 5, 1), date(2004, 4, 1)};
  EXPECT_FALSE(SendMessageW(p, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(reversed)));
  EXPECT_FALSE(SendMessageW(p, DTM_SETRANGE, GDTR_MAX, 0));
}

TEST_F(Pickers, DropDownCalendarChoosesTheDate) {
  HWND p = picker(DTS_SHORTDATEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 2, 28, 9, 15)));
  EXPECT_EQ(SendMessageW(p, DTM_GETMONTHCAL, 0, 0), 0);
  HWND seen = nullptr;
  log.onCode = [&](const Notification& n) {
    if (n.code == code(-754)) seen = reinterpret_cast<HWND>(SendMessageW(p, DTM_GETMONTHCAL, 0, 0));
  };
  tap(p, 155, 10);
  HWND calendar = reinterpret_cast<HWND>(SendMessageW(p, DTM_GETMONTHCAL, 0, 0));
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(seen, calendar);  // already there when the parent hears of it
  EXPECT_EQ(automation(p)["dropped"], true);
  char16_t name[32] = {};
  GetClassNameW(calendar, name, 32);
  EXPECT_EQ(std::u16string(name), u"SysMonthCal32");
  EXPECT_EQ(GetFocus(), calendar);
  SYSTEMTIME shown{};
  SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wDay, 28);
  // Its notifications go to the picker, not to the picker's parent.
  SendMessageW(calendar, WM_KEYDOWN, VK_RIGHT, 1);
  SendMessageW(calendar, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_FALSE(IsWindow(calendar));
  EXPECT_EQ(SendMessageW(p, DTM_GETMONTHCAL, 0, 0), 0);
  EXPECT_EQ(value(p), "2004-02-29 09:15:00");  // the time stays
  EXPECT_EQ(automation(p)["dropped"], false);
  EXPECT_EQ(GetFocus(), p);
  EXPECT_EQ(log.codes(), (std::vector<UINT>{code(-7), code(-754), code(-8), code(-759), code(-7), code(-753)}));
  // The focus going elsewhere closes it without a change.
  tap(p, 155, 10);
  ASSERT_NE(SendMessageW(p, DTM_GETMONTHCAL, 0, 0), 0);
  log.entries.clear();
  SetFocus(parent);
  EXPECT_EQ(SendMessageW(p, DTM_GETMONTHCAL, 0, 0), 0);
  EXPECT_EQ(log.codes(), (std::vector<UINT>{code(-753)}));
  // The spin style has no calendar.
  HWND spin = picker(DTS_UPDOWN, {0, 30, 160, 50});
  key(spin, VK_F4);
  EXPECT_EQ(SendMessageW(spin, DTM_GETMONTHCAL, 0, 0), 0);
}

TEST_F(Pickers, DestroyedWhileDroppedOrInANotification) {
  HWND p = picker(DTS_SHORTDATEFORMAT);
  tap(p, 155, 10);
  HWND calendar = reinterpret_cast<HWND>(SendMessageW(p, DTM_GETMONTHCAL, 0, 0));
  ASSERT_NE(calendar, nullptr);
  DestroyWindow(p);
  EXPECT_FALSE(IsWindow(calendar));
  HWND q = picker(DTS_TIMEFORMAT);
  log.onCode = [&](const Notification& n) {
    if (n.code == code(-759)) DestroyWindow(n.from);
  };
  SetFocus(q);
  type(q, "1");
  EXPECT_FALSE(IsWindow(q));
  HWND r = picker(DTS_SHORTDATEFORMAT);
  tap(r, 155, 10);
  SendMessageW(reinterpret_cast<HWND>(SendMessageW(r, DTM_GETMONTHCAL, 0, 0)), WM_KEYDOWN, VK_RIGHT, 1);
  SendMessageW(reinterpret_cast<HWND>(SendMessageW(r, DTM_GETMONTHCAL, 0, 0)), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_FALSE(IsWindow(r));
}

TEST_F(Pickers, LookByPixels) {
  HWND p = picker(DTS_TIMEFORMAT);
  ASSERT_TRUE(set(p, date(2004, 2, 29, 14, 5)));
  EXPECT_EQ(pixel(p, 2, 10), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixel(p, 140, 10), GetSysColor(COLOR_WINDOWFRAME));  // the arrows' edge
  SetFocus(p);
  EXPECT_EQ(pixel(p, 3, 2), GetSysColor(COLOR_HIGHLIGHT));  // the selected hour
  SetFocus(parent);
  EXPECT_EQ(pixel(p, 3, 2), GetSysColor(COLOR_WINDOW));
  HWND none = picker(DTS_SHOWNONE, {0, 30, 160, 50});
  EXPECT_EQ(pixel(none, 2, 4), GetSysColor(COLOR_WINDOWFRAME));  // the check box's frame
}

}  // namespace
}  // namespace handheld::testing
