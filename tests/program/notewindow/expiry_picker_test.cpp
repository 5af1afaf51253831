// The expiry picker over a window of this test: its popup and controls where they belong, and
// each way of closing it (a tap elsewhere, "None" in the calendar, ok, the owner going away)
// with what it leaves in the expiry and tells the owner.
#include <gtest/gtest.h>
#include <windows.h>
#include <aygshell.h>
#include <commctrl.h>

#include <string>

#include "app/app_references.h"
#include "notewindow/expiry_picker.h"
#include "support/calendar_time.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"
#include "ui/bitmap_button.h"

namespace handheld::testing {
namespace {

constexpr UINT kPickerClosed = 1524;
constexpr UINT kOpenPicker = 1134;
constexpr UINT kMarker = 0x400 + 7;

SYSTEMTIME never() {
  SYSTEMTIME time = {};
  time.wHour = 25;
  return time;
}

void expectAt(const SYSTEMTIME& t, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
              WORD ms) {
  EXPECT_EQ(t.wYear, year);
  EXPECT_EQ(t.wMonth, month);
  EXPECT_EQ(t.wDay, day);
  EXPECT_EQ(t.wHour, hour);
  EXPECT_EQ(t.wMinute, minute);
  EXPECT_EQ(t.wSecond, second);
  EXPECT_EQ(t.wMilliseconds, ms);
}

std::u16string classOf(HWND window) {
  WCHAR name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// A window's rectangle in the client coordinates of `frame` (or the screen).
RECT placeOf(HWND window, HWND frame = nullptr) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void expectRect(const RECT& r, LONG x, LONG y, LONG width, LONG height) {
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

bool panelUp() {
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  return (sip.fdwFlags & SIPF_ON) != 0;
}

class ExpiryPickers : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    saved_ = theScreen;
    recorder.registerClass(u"PickerOwner");
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                     WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_NCCREATE, WM_CREATE, WM_SETFOCUS,
                     WM_KILLFOCUS, WM_ACTIVATE, WM_CAPTURECHANGED, WM_NCDESTROY, WM_DESTROY});
  }
  void TearDown() override {
    picker.close();
    for (HWND w : windows) DestroyWindow(w);
    theScreen = saved_;
    DeviceFixture::TearDown();
  }

  HWND makeWindow(int width = 240, int height = 268) {
    HWND w = CreateWindowExW(0, u"PickerOwner", u"", WS_POPUP | WS_VISIBLE, 0, 26, width, height, nullptr,
                             nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    windows.push_back(w);
    return w;
  }
  // An owner with a date button, the picker open over it at `value`.
  void openOver(const SYSTEMTIME& value, int width = 240, int height = 268) {
    owner = makeWindow(width, height);
    dateButton = CreateWindowExW(0, u"BUTTON", u"date", WS_CHILD | WS_VISIBLE, 220, 6, 16, 16, owner,
                                 reinterpret_cast<HMENU>(110), nullptr, nullptr);
    ASSERT_NE(dateButton, nullptr);
    picker.setValue(value);
    ASSERT_TRUE(picker.open(owner, dateButton));
    ASSERT_TRUE(IsWindow(picker.popup()));
    recorder.pumpPending();
    recorder.clear();
  }
  HWND timeField() const { return GetDlgItem(picker.popup(), 1003); }
  HWND calendar() const { return GetDlgItem(picker.popup(), 1005); }
  // Another top-level window takes the activation: a tap outside the popup.
  void tapElsewhere() {
    HWND other = makeWindow(100, 100);
    ASSERT_TRUE(SetForegroundWindow(other));
    recorder.pumpPending();
  }
  // The messages that reached the owner, in order.
  std::vector<RecordedMessage> atOwner() const {
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& m : recorder.messages())
      if (m.window == owner) found.push_back(m);
    return found;
  }
  int closedMessages() const {
    int count = 0;
    for (const RecordedMessage& m : atOwner()) {
      if (m.message != kPickerClosed) continue;
      EXPECT_TRUE(m.posted);
      ++count;
    }
    return count;
  }

  MessageRecorder recorder;
  std::vector<HWND> windows;
  ExpiryPicker picker;
  HWND owner = nullptr;
  HWND dateButton = nullptr;
  ScreenMetrics saved_;
};

TEST_F(ExpiryPickers, PopupClassStylesAndPlace) {
  openOver(CalendarTime(2005, 6, 15, 10, 30));
  HWND popup = picker.popup();
  EXPECT_EQ(classOf(popup), u"DateTimePicker");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(popup, GWL_STYLE)), 0x90800000u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(popup, GWL_EXSTYLE)), 0x80000080u);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetForegroundWindow(), popup);
  WNDCLASSW info = {};
  ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"DateTimePicker", &info));
  EXPECT_EQ(info.style, 0x0003u);  // CS_HREDRAW | CS_VREDRAW
  EXPECT_EQ(info.hbrBackground, GetStockObject(WHITE_BRUSH));
  // 240 - 163 - 21 at the owner's client right edge, 26 down, in screen coordinates.
  expectRect(placeOf(popup), 56, 26, 163, 189);

  HWND time = timeField();
  HWND days = calendar();
  ASSERT_NE(time, nullptr);
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(classOf(time), u"SysDateTimePick32");
  EXPECT_EQ(classOf(days), u"SysMonthCal32");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(time, GWL_STYLE)), 0x50810009u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(days, GWL_STYLE)), 0x5081008Du);
  expectRect(placeOf(time, popup), -1, -1, 163, 20);
  expectRect(placeOf(days, popup), -1, 18, 163, 170);

  // Both controls show the value.
  SYSTEMTIME shown = {};
  EXPECT_EQ(SendMessageW(time, 0x1001, 0, reinterpret_cast<LPARAM>(&shown)), 0);
  EXPECT_EQ(shown.wHour, 10);
  EXPECT_EQ(shown.wMinute, 30);
  ASSERT_TRUE(SendMessageW(days, 0x1001, 0, reinterpret_cast<LPARAM>(&shown)));
  EXPECT_EQ(shown.wYear, 2005);
  EXPECT_EQ(shown.wMonth, 6);
  EXPECT_EQ(shown.wDay, 15);
}

TEST_F(ExpiryPickers, OnHighResolutionScreensOnlyTheMarginStaysInPixels) {
  theScreen.scaleX = 2;
  theScreen.scaleY = 2;
  openOver(CalendarTime(2005, 6, 15, 10, 30), 480, 536);
  expectRect(placeOf(picker.popup()), 480 - 326 - 21, 52, 326, 378);
  expectRect(placeOf(timeField(), picker.popup()), -2, -2, 326, 40);
  expectRect(placeOf(calendar(), picker.popup()), -2, 36, 326, 340);
}

TEST_F(ExpiryPickers, TapElsewhereOnATimedExpiryWithoutTouchingChangesNothing) {
  openOver(CalendarTime(2005, 6, 15, 10, 30, 45, 250));
  // The tap that closed the popup is still queued for the date button and the owner.
  PostMessageW(dateButton, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(owner, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(owner, WM_LBUTTONUP, 0, 0);
  PostMessageW(owner, kMarker, 0, 0);
  const HWND popup = picker.popup();
  tapElsewhere();

  EXPECT_FALSE(picker.changed());
  expectAt(picker.value(), 2005, 6, 15, 10, 30, 45, 250);
  EXPECT_FALSE(picker.isOpen());
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(closedMessages(), 1);
  // The tap went nowhere; other messages to the owner are kept.
  bool marker = false;
  for (const RecordedMessage& m : recorder.messages()) {
    EXPECT_NE(m.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_NE(m.message, static_cast<UINT>(WM_LBUTTONUP));
    marker = marker || m.message == kMarker;
  }
  EXPECT_TRUE(marker);
}

// The note window's own date button posts its command on release and takes no activation, so
// the popup learns of the tap through a second opening.
TEST_F(ExpiryPickers, AStylusTapOnTheDateButtonOnlyClosesThePopup) {
  owner = makeWindow();
  BitmapButton button;
  dateButton = button.create(owner, GetModuleHandleW(nullptr), 137, u"ClockBtnClass", 110, 220, 6, 16, 16);
  ASSERT_NE(dateButton, nullptr);
  int opened = 0;
  recorder.react(kOpenPicker, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (picker.open(owner, dateButton)) ++opened;
    return 0;
  });
  picker.setValue(CalendarTime(2005, 6, 15, 10, 30));
  ASSERT_TRUE(picker.open(owner, dateButton));
  const HWND popup = picker.popup();
  recorder.pumpPending();
  recorder.clear();

  // The date button at (220, 6) in the owner, which stands 26 pixels down.
  recorder.pumpWhile([&] { EXPECT_EQ(ctl("tap 228 38"), 0); });
  ASSERT_TRUE(recorder.pumpUntil([&] { return closedMessages() > 0; }));
  recorder.pumpWhile([&] { ctl("wait-idle"); });
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_FALSE(picker.isOpen());
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(picker.changed());
  EXPECT_EQ(closedMessages(), 1);

  // The next tap opens it again.
  recorder.pumpWhile([&] { EXPECT_EQ(ctl("tap 228 38"), 0); });
  ASSERT_TRUE(recorder.pumpUntil([&] { return opened == 1; }));
  EXPECT_TRUE(picker.isOpen());
  EXPECT_EQ(closedMessages(), 1);
}

TEST_F(ExpiryPickers, TapElsewhereTakesWhatTheControlsShow) {
  openOver(CalendarTime(2005, 6, 15, 10, 30, 0, 250));
  SYSTEMTIME chosen = CalendarTime(2005, 3, 5, 14, 7, 9);
  ASSERT_TRUE(SendMessageW(timeField(), 0x1002, 0, reinterpret_cast<LPARAM>(&chosen)));
  ASSERT_TRUE(SendMessageW(calendar(), 0x1002, 0, reinterpret_cast<LPARAM>(&chosen)));
  tapElsewhere();
  EXPECT_TRUE(picker.changed());
  // The milliseconds stay the value's.
  expectAt(picker.value(), 2005, 3, 5, 14, 7, 9, 250);
  EXPECT_EQ(closedMessages(), 1);
}

TEST_F(ExpiryPickers, ANeverExpiringNoteTakesTheControlsStartingTime) {
  openOver(never());
  // The controls refused the value and show the current date and time instead.
  SYSTEMTIME time = {};
  SYSTEMTIME date = {};
  ASSERT_EQ(SendMessageW(timeField(), 0x1001, 0, reinterpret_cast<LPARAM>(&time)), 0);
  ASSERT_TRUE(SendMessageW(calendar(), 0x1001, 0, reinterpret_cast<LPARAM>(&date)));
  EXPECT_GE(date.wYear, 2000);
  EXPECT_LT(time.wHour, 24);
  tapElsewhere();

  EXPECT_TRUE(picker.changed());
  expectAt(picker.value(), date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute, time.wSecond, 0);
  EXPECT_EQ(closedMessages(), 1);
  EXPECT_FALSE(picker.isOpen());
}

TEST_F(ExpiryPickers, NoneInTheCalendarMakesTheNoteNeverExpire) {
  openOver(CalendarTime(2005, 6, 15, 10, 30));
  const HWND popup = picker.popup();
  RECT client;
  GetClientRect(calendar(), &client);
  // The calendar's "None" sits at its bottom right.
  SendMessageW(calendar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 8, client.bottom - 5));
  SendMessageW(calendar(), WM_LBUTTONUP, 0, MAKELPARAM(client.right - 8, client.bottom - 5));
  recorder.pumpPending();

  EXPECT_TRUE(picker.changed());
  EXPECT_EQ(picker.value().wHour, 25);
  EXPECT_FALSE(picker.isOpen());
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(closedMessages(), 1);  // the deactivation on the way out adds none
}

TEST_F(ExpiryPickers, NoneOnANeverExpiringNoteStillCountsAsAChange) {
  openOver(never());
  NMSELCHANGE none = {};
  none.nmhdr = {calendar(), 1005, static_cast<UINT>(-745)};
  SendMessageW(picker.popup(), WM_NOTIFY, 1005, reinterpret_cast<LPARAM>(&none));
  recorder.pumpPending();
  EXPECT_TRUE(picker.changed());
  EXPECT_EQ(picker.value().wHour, 25);
  EXPECT_EQ(closedMessages(), 1);
}

TEST_F(ExpiryPickers, OkPostsClosedThenForwardsTheCommand) {
  openOver(never());
  SendMessageW(picker.popup(), WM_COMMAND, 1, 0x1234);
  recorder.pumpPending();
  EXPECT_TRUE(picker.changed());
  EXPECT_NE(picker.value().wHour, 25);
  EXPECT_TRUE(recorder.matches({{kPickerClosed, kPosted}, {0x0111, kPosted | kWParam | kLParam, 1, 0x1234}},
                               owner));
  // The popup stays until its owner goes.
  EXPECT_TRUE(picker.isOpen());
}

TEST_F(ExpiryPickers, TheTimeFieldRaisesAndLowersTheInputPanel) {
  openOver(CalendarTime(2005, 6, 15, 10, 30));
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  SetFocus(timeField());
  EXPECT_TRUE(panelUp());
  SetFocus(calendar());
  EXPECT_FALSE(panelUp());
  // Leaving the popup with the time field focused lowers it too.
  SetFocus(timeField());
  ASSERT_TRUE(panelUp());
  tapElsewhere();
  EXPECT_FALSE(panelUp());
  // Other commands and notifications do nothing.
  openOver(CalendarTime(2005, 6, 15, 10, 30));
  EXPECT_EQ(SendMessageW(picker.popup(), WM_COMMAND, 2, 0), 0);
  NMHDR other = {calendar(), 1005, static_cast<UINT>(-749)};
  EXPECT_EQ(SendMessageW(picker.popup(), WM_NOTIFY, 1005, reinterpret_cast<LPARAM>(&other)), 0);
  recorder.pumpPending();
  EXPECT_TRUE(picker.isOpen());
  EXPECT_EQ(closedMessages(), 0);
}

TEST_F(ExpiryPickers, WithoutADateButtonOnlyTheOwnersTapsAreDropped) {
  HWND bystander = makeWindow(50, 50);
  owner = makeWindow();
  picker.setValue(CalendarTime(2005, 6, 15, 10, 30));
  ASSERT_TRUE(picker.open(owner, nullptr));
  recorder.pumpPending();
  recorder.clear();
  PostMessageW(bystander, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  tapElsewhere();
  int bystanderTaps = 0;
  for (const RecordedMessage& m : recorder.messages())
    if (m.window == bystander && m.message == WM_LBUTTONDOWN) ++bystanderTaps;
  EXPECT_EQ(bystanderTaps, 1);
  EXPECT_EQ(closedMessages(), 1);
}

TEST_F(ExpiryPickers, TheOwnerGoingAwayClosesItWithoutReadingBack) {
  openOver(never());
  const HWND popup = picker.popup();
  DestroyWindow(owner);
  recorder.pumpPending();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_FALSE(picker.isOpen());
  EXPECT_FALSE(picker.changed());
  EXPECT_EQ(picker.value().wHour, 25);
  picker.close();  // again: nothing left to do

  // close() from the owner's own destruction, and a picker destroyed while open.
  recorder.react(WM_DESTROY, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    picker.close();
    return std::nullopt;
  });
  openOver(never());
  DestroyWindow(owner);
  EXPECT_FALSE(picker.isOpen());
  EXPECT_EQ(picker.value().wHour, 25);

  HWND held = nullptr;
  {
    ExpiryPicker local;
    local.setValue(CalendarTime(2005, 6, 15, 10, 30));
    ASSERT_TRUE(local.open(makeWindow(), nullptr));
    held = local.popup();
  }
  EXPECT_FALSE(IsWindow(held));
  recorder.pumpPending();
}

TEST_F(ExpiryPickers, OpeningAgainClosesAndFailingLeavesTheValue) {
  openOver(never());
  const HWND first = picker.popup();
  EXPECT_FALSE(picker.open(owner, dateButton));
  recorder.pumpPending();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(picker.isOpen());
  EXPECT_TRUE(picker.changed());
  EXPECT_NE(picker.value().wHour, 25);
  EXPECT_EQ(closedMessages(), 1);

  // An owner that is no window: no popup, the value untouched.
  picker.setValue(CalendarTime(2005, 6, 15, 10, 30));
  ASSERT_FALSE(picker.open(reinterpret_cast<HWND>(0x7777), nullptr));
  EXPECT_FALSE(picker.isOpen());
  expectAt(picker.value(), 2005, 6, 15, 10, 30, 0, 0);
}

}  // namespace
}  // namespace handheld::testing
