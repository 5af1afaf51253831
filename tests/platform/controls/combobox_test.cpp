// The combo box: its list dropped above everything and closed by a tap on an item, a tap
// elsewhere, enter and escape; the notifications in order; keys; the simple kind; errors;
// its look and automation state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_fixture.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

// F4 drops the list, a key moves its selection, escape closes it again.
const NamedSequence kF4EscapeSeq = {"F4, down, escape", {
    {WM_KEYDOWN, kSent | kWParam, VK_F4},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(9, 7)},  // CBN_DROPDOWN
    {WM_KEYDOWN, kSent | kWParam, VK_DOWN},
    {WM_COMMAND, kSent | kDefWinProc},  // from the list to its combo
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(9, 1)},  // CBN_SELCHANGE
    {WM_KEYDOWN, kSent | kWParam, VK_ESCAPE},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(9, 10)},  // CBN_SELENDCANCEL
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(9, 8)},   // CBN_CLOSEUP
}};

class ComboBoxes : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CTLCOLORLISTBOX, WM_CTLCOLOREDIT,
                     WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE, WM_NCCALCSIZE, WM_STYLECHANGING, WM_STYLECHANGED,
                     WM_ACTIVATE, WM_NCPAINT, WM_CAPTURECHANGED, WM_PARENTNOTIFY});
  }

  HWND combo(DWORD style, std::vector<const char16_t*> items = {}, RECT r = {10, 10, 160, 110}) {
    HWND c = control(u"COMBOBOX", u"", style, 9, r);
    EXPECT_NE(c, nullptr);
    for (const char16_t* item : items) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    recorder.pumpPending();
    recorder.watch(c);
    recorder.clear();
    return c;
  }

  // The shown list of a drop-down combo (a top-level pop-up), or null.
  static HWND shownList() {
    struct Found {
      HWND list = nullptr;
    } found;
    EnumWindows(
        [](HWND w, LPARAM lParam) -> BOOL {
          char16_t name[16] = {};
          GetClassNameW(w, name, 16);
          if (std::u16string(name) == u"ComboLBox" && IsWindowVisible(w)) {
            reinterpret_cast<Found*>(lParam)->list = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.list;
  }

  std::u16string text(HWND c) {
    char16_t buffer[64] = {};
    GetWindowTextW(c, buffer, 64);
    return buffer;
  }

  // The combo notifications the parent received, in order.
  std::vector<int> codes() {
    std::vector<int> out;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == WM_COMMAND && LOWORD(m.wParam) == 9) out.push_back(HIWORD(m.wParam));
    return out;
  }

  void tapButton(HWND c) {
    RECT r{};
    GetClientRect(c, &r);
    SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 4, 5));
    SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(r.right - 4, 5));
  }

  static void tapAt(HWND w, int x, int y) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  }

  static LPARAM str(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }
};

TEST_F(ComboBoxes, ValuesThePlatformGives) {
  EXPECT_EQ(CBS_SIMPLE, 0x0001);
  EXPECT_EQ(CBS_DROPDOWN, 0x0002);
  EXPECT_EQ(CBS_DROPDOWNLIST, 0x0003);
  EXPECT_EQ(CBS_OWNERDRAWFIXED, 0x0010);
  EXPECT_EQ(CBS_AUTOHSCROLL, 0x0040);
  EXPECT_EQ(CBS_SORT, 0x0100);
  EXPECT_EQ(CBS_HASSTRINGS, 0x0200);
  EXPECT_EQ(CBS_NOINTEGRALHEIGHT, 0x0400);
  EXPECT_EQ(CBS_DISABLENOSCROLL, 0x0800);
  EXPECT_EQ(CBS_UPPERCASE, 0x2000);
  EXPECT_EQ(CBS_LOWERCASE, 0x4000);
  EXPECT_EQ(CB_ERR, -1);
  EXPECT_EQ(CB_ERRSPACE, -2);
  EXPECT_EQ(CB_OKAY, 0);
  const UINT messages[] = {CB_GETEDITSEL, CB_LIMITTEXT, CB_SETEDITSEL, CB_ADDSTRING, CB_DELETESTRING, CB_DIR,
                           CB_GETCOUNT, CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_INSERTSTRING,
                           CB_RESETCONTENT, CB_FINDSTRING, CB_SELECTSTRING, CB_SETCURSEL, CB_SHOWDROPDOWN,
                           CB_GETITEMDATA, CB_SETITEMDATA, CB_GETDROPPEDCONTROLRECT, CB_SETITEMHEIGHT,
                           CB_GETITEMHEIGHT, CB_SETEXTENDEDUI, CB_GETEXTENDEDUI, CB_GETDROPPEDSTATE,
                           CB_FINDSTRINGEXACT};
  for (UINT i = 0; i < sizeof messages / sizeof messages[0]; ++i) EXPECT_EQ(messages[i], 0x0140u + i);
  EXPECT_EQ(CB_GETTOPINDEX, 0x015B);
  EXPECT_EQ(CB_SETTOPINDEX, 0x015C);
  EXPECT_EQ(CB_GETDROPPEDWIDTH, 0x015F);
  EXPECT_EQ(CB_SETDROPPEDWIDTH, 0x0160);
  EXPECT_EQ(CB_INITSTORAGE, 0x0161);
  const int notifications[] = {CBN_SELCHANGE, CBN_DBLCLK, CBN_SETFOCUS, CBN_KILLFOCUS, CBN_EDITCHANGE,
                               CBN_EDITUPDATE, CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDOK, CBN_SELENDCANCEL};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(notifications[i], i + 1);
  EXPECT_EQ(CBN_ERRSPACE, -1);
  HWND byAtom = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(0x0085), u"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 80,
                                80, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(byAtom, nullptr);
  EXPECT_EQ(SendMessageW(byAtom, CB_ADDSTRING, 0, str(u"x")), 0);
}

TEST_F(ComboBoxes, DropDownListHoldsItemsAndShowsTheSelection) {
  HWND c = combo(CBS_DROPDOWNLIST | WS_VSCROLL, {u"red", u"green", u"blue"});
  RECT window{};
  GetWindowRect(c, &window);
  EXPECT_EQ(window.bottom - window.top, 20);  // the field; the rest is the list's
  EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
  EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, 0, 0), 16);
  EXPECT_EQ(GetWindowLongW(c, GWL_STYLE) & WS_VSCROLL, 0);  // the bar is the list's
  EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(text(c), u"");
  EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(text(c), u"green");
  EXPECT_EQ(SendMessageW(c, CB_SELECTSTRING, static_cast<WPARAM>(-1), str(u"BL")), 2);
  EXPECT_EQ(text(c), u"blue");
  char16_t buffer[16] = {};
  EXPECT_EQ(SendMessageW(c, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(std::u16string(buffer), u"red");
  EXPECT_EQ(SendMessageW(c, CB_GETLBTEXTLEN, 1, 0), 5);
  EXPECT_EQ(SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), str(u"GREEN")), 1);
  EXPECT_EQ(SendMessageW(c, CB_SETITEMDATA, 1, 77), 0);
  EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 1, 0), 77);
  EXPECT_EQ(SendMessageW(c, CB_INSERTSTRING, 0, str(u"black")), 0);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 3);  // moved with its item
  EXPECT_EQ(SetWindowTextW(c, u"Red"), TRUE);  // selects the item with the text
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(text(c), u"red");
  EXPECT_EQ(SendMessageW(c, WM_SETTEXT, 0, str(u"purple")), -1);  // no such item
  EXPECT_EQ(SendMessageW(c, CB_DELETESTRING, 1, 0), 3);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(text(c), u"");  // the shown item went
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(SendMessageW(c, CB_RESETCONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(text(c), u"");
  EXPECT_TRUE(codes().empty());  // messages tell nobody
}

TEST_F(ComboBoxes, ErrorsForBadIndicesAndNullPointers) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"a", u"b"});
  char16_t buffer[8] = {u'?'};
  EXPECT_EQ(SendMessageW(c, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)), -1);
  EXPECT_EQ(buffer[0], u'?');
  EXPECT_EQ(SendMessageW(c, CB_GETLBTEXT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_GETLBTEXTLEN, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, 5, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);  // cleared, answered so
  EXPECT_EQ(SendMessageW(c, CB_DELETESTRING, 2, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_INSERTSTRING, 3, str(u"x")), -1);
  EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 9, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_FINDSTRING, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_SETITEMHEIGHT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_SETITEMHEIGHT, 0, 300), -1);
  EXPECT_EQ(SendMessageW(c, WM_SETTEXT, 0, 0), -1);
  // A drop-down list has no edit.
  EXPECT_EQ(SendMessageW(c, CB_LIMITTEXT, 10, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_GETEDITSEL, 0, 0), -1);
  EXPECT_EQ(SendMessageW(c, CB_SETEDITSEL, 0, MAKELPARAM(0, 1)), -1);
  EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 2);
}

TEST_F(ComboBoxes, TapDropsTheListAboveEverythingAndATapOnAnItemChoosesIt) {
  HWND c = combo(CBS_DROPDOWNLIST | WS_VSCROLL, {u"one", u"two", u"three"});
  tapButton(c);
  EXPECT_EQ(codes(), (std::vector<int>{3, 7}));  // the focus first (CBN_SETFOCUS), then CBN_DROPDOWN
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  HWND list = shownList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetCapture(), list);
  EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_POPUP, 0);
  EXPECT_EQ(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(list, GW_OWNER), parent);
  RECT r{}, comboRect{};
  GetWindowRect(list, &r);
  GetWindowRect(c, &comboRect);
  EXPECT_EQ(r.left, comboRect.left);
  EXPECT_EQ(r.top, comboRect.bottom);  // right below the field
  EXPECT_EQ(r.right, comboRect.right);
  EXPECT_EQ(r.bottom - r.top, 3 * 16 + 2);  // three rows and the frame
  recorder.clear();
  // The stylus goes down on the second row, moves to the third and lifts there.
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 36));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(10, 36));
  EXPECT_EQ(codes(), (std::vector<int>{1, 1, 9, 8}));  // SELCHANGE twice, SELENDOK, CLOSEUP
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(text(c), u"three");
}

TEST_F(ComboBoxes, ATapOutsideClosesTheListAndKeepsTheOldSelection) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"one", u"two", u"three"});
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  tapButton(c);
  HWND list = shownList();
  ASSERT_NE(list, nullptr);
  SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));  // not held: nothing
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-30), 20));  // lifted outside: still open
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  recorder.clear();
  tapAt(list, 10, -60);  // above the list, on the parent
  EXPECT_EQ(codes(), (std::vector<int>{10, 8}));  // SELENDCANCEL, CLOSEUP
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(text(c), u"one");
  // A second tap on the button closes what the first opened.
  tapButton(c);
  recorder.clear();
  tapAt(shownList(), 140, -10);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(codes(), (std::vector<int>{10, 8}));
}

TEST_F(ComboBoxes, KeysDropChooseAndCancel) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"alpha", u"beta", u"gamma"});
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  SetFocus(c);
  recorder.clear();
  SendMessageW(c, WM_KEYDOWN, VK_F4, 1);
  SendMessageW(c, WM_KEYDOWN, VK_DOWN, 1);
  SendMessageW(c, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(recorder.matches(kF4EscapeSeq, c));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 0);  // escape undid the move
  EXPECT_EQ(text(c), u"alpha");
  // alt+down drops, enter keeps what the keys chose.
  recorder.clear();
  SendMessageW(c, WM_SYSKEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  SendMessageW(c, WM_KEYDOWN, VK_END, 1);
  SendMessageW(c, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(codes(), (std::vector<int>{7, 1, 9, 8}));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(text(c), u"gamma");
  // F4 again closes an open list as chosen.
  SendMessageW(c, WM_KEYDOWN, VK_F4, 1);
  recorder.clear();
  SendMessageW(c, WM_KEYDOWN, VK_F4, 1);
  EXPECT_EQ(codes(), (std::vector<int>{9, 8}));
  // Closed, arrows and letters still move the selection.
  recorder.clear();
  SendMessageW(c, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(text(c), u"beta");
  SendMessageW(c, WM_CHAR, u'a', 1);
  EXPECT_EQ(text(c), u"alpha");
  EXPECT_EQ(codes(), (std::vector<int>{1, 1}));
  // The extended interface drops with the down arrow and leaves F4 alone.
  EXPECT_EQ(SendMessageW(c, CB_SETEXTENDEDUI, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(c, CB_GETEXTENDEDUI, 0, 0), TRUE);
  SendMessageW(c, WM_KEYDOWN, VK_F4, 1);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  SendMessageW(c, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  // Losing the focus closes it as cancelled.
  recorder.clear();
  SetFocus(parent);
  EXPECT_EQ(codes(), (std::vector<int>{10, 8, 4}));  // SELENDCANCEL, CLOSEUP, KILLFOCUS
}

TEST_F(ComboBoxes, ShowDropDownAndTheDroppedRectangle) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"});
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDWIDTH, 0, 0), 150);
  EXPECT_EQ(SendMessageW(c, CB_SETDROPPEDWIDTH, 200, 0), 200);
  RECT r{};
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r)), TRUE);
  RECT window{};
  GetWindowRect(c, &window);
  EXPECT_EQ(r.left, window.left);
  EXPECT_EQ(r.top, window.top);
  EXPECT_EQ(r.right, window.left + 200);
  EXPECT_EQ(r.bottom, window.top + 100);  // the height it was created with
  EXPECT_EQ(SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
  HWND list = shownList();
  ASSERT_NE(list, nullptr);
  RECT shown{};
  GetWindowRect(list, &shown);
  EXPECT_EQ(shown.right - shown.left, 200);
  EXPECT_EQ(shown.bottom - shown.top, 4 * 16 + 2);  // the whole rows that fit in 80 pixels
  EXPECT_EQ(SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0), TRUE);
  EXPECT_EQ(codes(), (std::vector<int>{7, 8}));  // closed by message: no choice to tell
}

TEST_F(ComboBoxes, SortedItems) {
  HWND c = combo(CBS_DROPDOWNLIST | CBS_SORT, {u"pear", u"Apple", u"\u00E4rger", u"banana"});
  std::vector<std::u16string> items;
  for (int i = 0; i < 4; ++i) {
    char16_t buffer[16] = {};
    SendMessageW(c, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    items.push_back(buffer);
  }
  EXPECT_EQ(items, (std::vector<std::u16string>{u"Apple", u"\u00E4rger", u"banana", u"pear"}));
}

TEST_F(ComboBoxes, SimpleKindKeepsItsListShown) {
  HWND c = combo(CBS_SIMPLE, {u"one", u"two"}, {10, 10, 110, 110});
  RECT window{};
  GetWindowRect(c, &window);
  EXPECT_EQ(window.bottom - window.top, 100);  // keeps its size
  HWND list = GetWindow(c, GW_CHILD);
  while (list && GetDlgCtrlID(list) != 1000) list = GetWindow(list, GW_HWNDNEXT);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
  EXPECT_EQ(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  recorder.clear();
  tapAt(list, 10, 20);
  EXPECT_EQ(codes(), (std::vector<int>{3, 9, 1}));  // focus, then SELENDOK before each SELCHANGE
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(ComboBoxes, DestroyedWhileDroppedOrWhileNotifying) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"a", u"b"});
  tapButton(c);
  HWND list = shownList();
  ASSERT_NE(list, nullptr);
  DestroyWindow(c);
  EXPECT_FALSE(IsWindow(list));  // the pop-up goes with its combo
  EXPECT_EQ(GetCapture(), nullptr);
  HWND doomed = nullptr;
  recorder.react(WM_COMMAND, [&](HWND window, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (window != parent) return std::nullopt;  // the combo's own, from its list
    if (HIWORD(wParam) == CBN_SELENDOK && IsWindow(doomed)) DestroyWindow(doomed);
    return 0;
  });
  doomed = combo(CBS_DROPDOWNLIST, {u"a", u"b"});
  tapButton(doomed);
  list = shownList();
  ASSERT_NE(list, nullptr);
  tapAt(list, 10, 20);
  EXPECT_FALSE(IsWindow(doomed));
  EXPECT_FALSE(IsWindow(list));
}

TEST_F(ComboBoxes, TheHandheldLook) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"", u""}, {10, 10, 110, 110});
  EXPECT_EQ(pixel(c, 0, 0), RGB(0, 0, 0));          // a one-line black frame
  EXPECT_EQ(pixel(c, 30, 10), RGB(255, 255, 255));  // a white field
  EXPECT_EQ(pixel(c, 100 - 13, 10), RGB(0, 0, 0));  // the button's edge, 13 pixels from the right
  EXPECT_EQ(pixel(c, 100 - 7, 10), RGB(0, 0, 0));   // its arrow
  SendMessageW(c, CB_SETCURSEL, 1, 0);
  SetFocus(c);
  EXPECT_EQ(pixel(c, 30, 10), GetSysColor(COLOR_HIGHLIGHT));  // the chosen item while focused
  SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(pixel(c, 100 - 10, 4), GetSysColor(COLOR_HIGHLIGHT));  // the button while dropped
  HWND list = shownList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(pixel(list, 30, 20), GetSysColor(COLOR_HIGHLIGHT));  // the selected row
  EXPECT_EQ(pixel(list, 30, 5), RGB(255, 255, 255));
}

TEST_F(ComboBoxes, AutomationState) {
  HWND c = combo(CBS_DROPDOWNLIST, {u"one", u"two"});
  SendMessageW(c, CB_SETCURSEL, 1, 0);
  nlohmann::json state = nlohmann::json::object();
  EXPECT_EQ(SendMessageW(c, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state)), 0);
  EXPECT_EQ(state["items"], (nlohmann::json{"one", "two"}));
  EXPECT_EQ(state["selection"], 1);
  EXPECT_EQ(state["text"], "two");
  EXPECT_EQ(state["dropped"], false);
  SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(c, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(state["dropped"], true);
}

}  // namespace
}  // namespace handheld::testing
