// The list box: strings, sorting, single, multiple and extended selection by stylus and
// keys, scrolling, owner drawing, errors, its look and its automation state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_fixture.h"
#include "user/controls/automation_state.h"

namespace handheld::testing {
namespace {

WPARAM command(int id, WORD code) { return MAKEWPARAM(id, code); }

// A tap on an item: selected on the way down, the parent told once when the stylus lifts.
const NamedSequence kTapSeq = {"tap on an item", {
    {WM_LBUTTONDOWN, kSent},
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc | kLParam, 0, 0},
    {WM_COMMAND, kParent | kWParam, command(5, 1)},
}};

// Dragging over three items still tells the parent once.
const NamedSequence kDragSeq = {"drag over items", {
    {WM_LBUTTONDOWN, kSent},
    {WM_MOUSEMOVE, kSent},
    {WM_MOUSEMOVE, kSent},
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_COMMAND, kParent | kWParam, command(5, 1)},
}};

// A key that moves the selection tells the parent at once.
const NamedSequence kKeySeq = {"down arrow", {
    {WM_KEYDOWN, kSent | kWParam, VK_DOWN},
    {WM_COMMAND, kParent | kWParam, command(5, 1)},
}};

// Without LBS_NOTIFY the parent hears nothing of the selection.
const NamedSequence kQuietTapSeq = {"tap without LBS_NOTIFY", {
    {WM_LBUTTONDOWN, kSent},
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
}};

// The want-keyboard-input list asks its parent first; -2 means the parent handled the key.
const NamedSequence kVKeyToItemSeq = {"WM_VKEYTOITEM", {
    {WM_KEYDOWN, kSent | kWParam, VK_DOWN},
    {WM_VKEYTOITEM, kParent | kWParam, MAKEWPARAM(VK_DOWN, 0)},
}};

class ListBoxes : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CTLCOLORLISTBOX, WM_SETFOCUS, WM_KILLFOCUS,
                     WM_GETDLGCODE, WM_NCCALCSIZE, WM_STYLECHANGING, WM_STYLECHANGED, WM_ACTIVATE, WM_NCPAINT});
  }

  // 160 x 80 pixels: five items of 16 pixels.
  HWND list(DWORD style, std::vector<const char16_t*> items = {}, RECT r = {10, 10, 170, 90}) {
    HWND l = control(u"LISTBOX", u"", style, 5, r);
    EXPECT_NE(l, nullptr);
    for (const char16_t* item : items) SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    recorder.pumpPending();
    recorder.watch(l);
    recorder.clear();
    return l;
  }

  std::u16string text(HWND l, int index) {
    LRESULT length = SendMessageW(l, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return u"<error>";
    std::u16string out(static_cast<size_t>(length) + 1, u'?');
    SendMessageW(l, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out.data()));
    out.resize(static_cast<size_t>(length));
    return out;
  }

  std::vector<std::u16string> texts(HWND l) {
    std::vector<std::u16string> out;
    for (int i = 0; i < SendMessageW(l, LB_GETCOUNT, 0, 0); ++i) out.push_back(text(l, i));
    return out;
  }

  std::vector<int> selectedItems(HWND l) {
    int buffer[32] = {};
    LRESULT n = SendMessageW(l, LB_GETSELITEMS, 32, reinterpret_cast<LPARAM>(buffer));
    if (n < 0) return {-99};
    return std::vector<int>(buffer, buffer + n);
  }

  void tap(HWND l, int x, int y, WPARAM keys = 0) {
    SendMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(l, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
  }

  void key(HWND l, WPARAM vk) { SendMessageW(l, WM_KEYDOWN, vk, 1); }

  int notifications(WORD code) {
    int n = 0;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == WM_COMMAND && m.wParam == command(5, code)) ++n;
    return n;
  }

  static LPARAM str(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }
};

TEST_F(ListBoxes, ValuesThePlatformGives) {
  EXPECT_EQ(LBS_NOTIFY, 0x0001);
  EXPECT_EQ(LBS_SORT, 0x0002);
  EXPECT_EQ(LBS_MULTIPLESEL, 0x0008);
  EXPECT_EQ(LBS_OWNERDRAWFIXED, 0x0010);
  EXPECT_EQ(LBS_HASSTRINGS, 0x0040);
  EXPECT_EQ(LBS_NOINTEGRALHEIGHT, 0x0100);
  EXPECT_EQ(LBS_WANTKEYBOARDINPUT, 0x0400);
  EXPECT_EQ(LBS_EXTENDEDSEL, 0x0800);
  EXPECT_EQ(LB_ERR, -1);
  EXPECT_EQ(LB_ERRSPACE, -2);
  const UINT messages[] = {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_SELITEMRANGEEX, LB_RESETCONTENT,
                           LB_SETSEL, LB_SETCURSEL, LB_GETSEL, LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN,
                           LB_GETCOUNT, LB_SELECTSTRING};
  for (UINT i = 0; i < sizeof messages / sizeof messages[0]; ++i) EXPECT_EQ(messages[i], 0x0180u + i);
  EXPECT_EQ(LB_GETTOPINDEX, 0x018E);
  EXPECT_EQ(LB_FINDSTRING, 0x018F);
  EXPECT_EQ(LB_GETSELCOUNT, 0x0190);
  EXPECT_EQ(LB_GETSELITEMS, 0x0191);
  EXPECT_EQ(LB_SETTOPINDEX, 0x0197);
  EXPECT_EQ(LB_GETITEMRECT, 0x0198);
  EXPECT_EQ(LB_GETITEMDATA, 0x0199);
  EXPECT_EQ(LB_SETITEMDATA, 0x019A);
  EXPECT_EQ(LB_SELITEMRANGE, 0x019B);
  EXPECT_EQ(LB_SETANCHORINDEX, 0x019C);
  EXPECT_EQ(LB_GETANCHORINDEX, 0x019D);
  EXPECT_EQ(LB_SETCARETINDEX, 0x019E);
  EXPECT_EQ(LB_GETCARETINDEX, 0x019F);
  EXPECT_EQ(LB_SETITEMHEIGHT, 0x01A0);
  EXPECT_EQ(LB_GETITEMHEIGHT, 0x01A1);
  EXPECT_EQ(LB_FINDSTRINGEXACT, 0x01A2);
  EXPECT_EQ(LB_INITSTORAGE, 0x01A8);
  EXPECT_EQ(LB_ITEMFROMPOINT, 0x01A9);
  EXPECT_EQ(LBN_SELCHANGE, 1);
  EXPECT_EQ(LBN_DBLCLK, 2);
  EXPECT_EQ(LBN_SELCANCEL, 3);
  EXPECT_EQ(LBN_SETFOCUS, 4);
  EXPECT_EQ(LBN_KILLFOCUS, 5);
  EXPECT_EQ(WM_VKEYTOITEM, 0x002E);
  EXPECT_EQ(WM_CHARTOITEM, 0x002F);
  EXPECT_EQ(WM_MEASUREITEM, 0x002C);
  EXPECT_EQ(ODT_LISTBOX, 2);
  // The class by its atom.
  HWND byAtom = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(0x0083), u"", WS_CHILD, 0, 0, 50, 50, parent,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(byAtom, nullptr);
  EXPECT_EQ(SendMessageW(byAtom, LB_ADDSTRING, 0, str(u"x")), 0);
  EXPECT_EQ(SendMessageW(byAtom, WM_GETDLGCODE, 0, 0), 0x0001 | 0x0080);
}

TEST_F(ListBoxes, StringsComeAndGo) {
  HWND l = list(0, {u"one", u"two", u"three"});
  EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 0, str(u"zero")), 0);
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, static_cast<WPARAM>(-1), str(u"four")), 4);
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 5, str(u"five")), 5);  // at the end
  EXPECT_EQ(texts(l), (std::vector<std::u16string>{u"zero", u"one", u"two", u"three", u"four", u"five"}));
  EXPECT_EQ(SendMessageW(l, LB_GETTEXTLEN, 3, 0), 5);
  EXPECT_EQ(SendMessageW(l, LB_DELETESTRING, 0, 0), 5);  // the items left
  EXPECT_EQ(text(l, 0), u"one");
  // Finding: prefixes and whole texts without regard to case, after the start, wrapping.
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), str(u"T")), 1);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, 1, str(u"t")), 2);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, 2, str(u"tw")), 1);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), str(u"x")), -1);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), str(u"THREE")), 2);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), str(u"thre")), -1);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), str(u"")), 0);  // every text starts so
  EXPECT_EQ(SendMessageW(l, LB_SELECTSTRING, static_cast<WPARAM>(-1), str(u"fo")), 3);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);
  // Item data stays with its item as others come and go.
  EXPECT_EQ(SendMessageW(l, LB_SETITEMDATA, 2, 0x1234), 0);
  SendMessageW(l, LB_INSERTSTRING, 0, str(u"first"));
  EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, 3, 0), 0x1234);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 4);  // the selection moved with its item
  SendMessageW(l, LB_DELETESTRING, 4, 0);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), -1);  // and went with it
  EXPECT_GE(SendMessageW(l, LB_INITSTORAGE, 100, 4000), 105);
  EXPECT_EQ(SendMessageW(l, LB_RESETCONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), str(u"")), -1);
}

TEST_F(ListBoxes, SortedInTheDeviceWordOrderWithoutCase) {
  HWND l = list(LBS_SORT, {u"zulu", u"\u00C9clair", u"echo", u"co-op", u"coal", u"Alpha", u"bravo", u"2nd", u"eagle"});
  EXPECT_EQ(texts(l), (std::vector<std::u16string>{u"2nd", u"Alpha", u"bravo", u"coal", u"co-op", u"eagle", u"echo",
                                                   u"\u00C9clair", u"zulu"}));
  EXPECT_EQ(SendMessageW(l, LB_ADDSTRING, 0, str(u"ALPHA")), 2);  // after its equal
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 0, str(u"zz top")), 0);  // inserting does not sort
}

TEST_F(ListBoxes, ErrorsForBadIndicesAndNullPointers) {
  HWND l = list(0, {u"a", u"b"});
  const int bad[] = {2, -1, 1000};
  for (int index : bad) {
    const WPARAM at = static_cast<WPARAM>(index);
    EXPECT_EQ(SendMessageW(l, LB_GETTEXTLEN, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_DELETESTRING, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_SETITEMDATA, at, 7), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_GETSEL, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_SETTOPINDEX, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_SETCARETINDEX, at, 0), -1) << index;
    EXPECT_EQ(SendMessageW(l, LB_SETANCHORINDEX, at, 0), -1) << index;
    RECT r{};
    EXPECT_EQ(SendMessageW(l, LB_GETITEMRECT, at, reinterpret_cast<LPARAM>(&r)), -1) << index;
  }
  char16_t buffer[8] = {u'?'};
  EXPECT_EQ(SendMessageW(l, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), -1);
  EXPECT_EQ(buffer[0], u'?');  // untouched
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 3, str(u"x")), -1);
  EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, 2, 0), -1);
  // Null pointers fail instead of being read or written.
  EXPECT_EQ(SendMessageW(l, LB_ADDSTRING, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_GETTEXT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_GETITEMRECT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 2);
  // Messages of the other selection kind.
  EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), -1);
  EXPECT_EQ(selectedItems(l), std::vector<int>{-99});
  EXPECT_EQ(SendMessageW(l, LB_SETSEL, TRUE, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGEEX, 0, 1), -1);
  HWND multi = list(LBS_MULTIPLESEL, {u"a"});
  EXPECT_EQ(SendMessageW(multi, LB_SETCURSEL, 0, 0), -1);
  EXPECT_EQ(SendMessageW(multi, LB_GETSELITEMS, 4, 0), -1);
  // Item heights the platform allows: 1 to 255.
  EXPECT_EQ(SendMessageW(l, LB_SETITEMHEIGHT, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_SETITEMHEIGHT, 0, 256), -1);
  EXPECT_EQ(SendMessageW(l, LB_SETITEMHEIGHT, 0, 20), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), 20);
}

TEST_F(ListBoxes, SingleSelectionByStylusAndKeys) {
  HWND l = list(LBS_NOTIFY, {u"apple", u"banana", u"cherry", u"date", u"elder", u"fig", u"grape", u"kiwi"});
  EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), 16);
  SetFocus(l);
  recorder.clear();
  tap(l, 20, 20);  // the second row
  EXPECT_TRUE(recorder.matches(kTapSeq, l));
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  recorder.clear();
  tap(l, 20, 20);  // the same item again: nothing changed, nothing told
  EXPECT_EQ(notifications(LBN_SELCHANGE), 0);
  recorder.clear();
  SendMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 2));
  SendMessageW(l, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 40));
  SendMessageW(l, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50));
  SendMessageW(l, WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
  EXPECT_TRUE(recorder.matches(kDragSeq, l));
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);
  recorder.clear();
  key(l, VK_DOWN);
  EXPECT_TRUE(recorder.matches(kKeySeq, l));
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 4);
  key(l, VK_END);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 7);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 3);  // scrolled to show it
  key(l, VK_PRIOR);  // a page is the rows shown less one
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);
  key(l, VK_HOME);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 0);
  key(l, VK_UP);  // stays at the top
  key(l, VK_NEXT);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 4);
  // Type-ahead: the next item starting with the letter, wrapping round.
  SendMessageW(l, WM_CHAR, u'G', 1);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 6);
  SendMessageW(l, WM_CHAR, u'b', 1);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
  SendMessageW(l, WM_CHAR, u'q', 1);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
  // Setting the selection by message tells nobody and clears with -1.
  recorder.clear();
  EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(notifications(LBN_SELCHANGE), 0);
  // A double tap tells the parent.
  SendMessageW(l, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageW(l, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_EQ(notifications(LBN_DBLCLK), 1);
}

TEST_F(ListBoxes, QuietWithoutNotifyButFocusIsAlwaysTold) {
  HWND l = list(0, {u"a", u"b", u"c"});
  HWND other = list(0, {u"x"}, {10, 100, 100, 140});
  recorder.clear();
  SetFocus(l);
  recorder.clear();
  tap(l, 20, 20);
  EXPECT_TRUE(recorder.matches(kQuietTapSeq, l));
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
  SetFocus(other);
  EXPECT_EQ(notifications(LBN_KILLFOCUS), 1);
  EXPECT_EQ(notifications(LBN_SETFOCUS), 1);
  EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 1);
}

TEST_F(ListBoxes, MultipleSelectionTogglesEachTappedItem) {
  HWND l = list(LBS_MULTIPLESEL | LBS_NOTIFY, {u"a", u"b", u"c", u"d", u"e", u"f"});
  tap(l, 20, 5);
  tap(l, 20, 37);
  tap(l, 20, 53);
  tap(l, 20, 37);  // again: off
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 3}));
  EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(notifications(LBN_SELCHANGE), 4);
  EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 2);
  // Keys move the caret alone; space toggles its item.
  key(l, VK_DOWN);
  EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 3);
  EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), 2);
  key(l, VK_SPACE);
  EXPECT_EQ(selectedItems(l), std::vector<int>{0});
  // By message.
  EXPECT_EQ(SendMessageW(l, LB_SETSEL, TRUE, static_cast<LPARAM>(-1)), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGE, FALSE, MAKELPARAM(1, 3)), 0);
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 4, 5}));
  EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGEEX, 5, 4), 0);  // reversed: cleared
  EXPECT_EQ(selectedItems(l), std::vector<int>{0});
  EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGEEX, 2, 3), 0);
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 2, 3}));
  int two[2] = {};
  EXPECT_EQ(SendMessageW(l, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(two)), 2);  // only the room given
  EXPECT_EQ(SendMessageW(l, LB_GETSEL, 2, 0), 1);
  EXPECT_EQ(SendMessageW(l, LB_GETSEL, 1, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_SETSEL, FALSE, 3), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETSEL, 3, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_SETSEL, TRUE, 6), -1);
}

TEST_F(ListBoxes, ExtendedSelectionWithShiftAndControl) {
  HWND l = list(LBS_EXTENDEDSEL | LBS_NOTIFY, {u"a", u"b", u"c", u"d", u"e"});
  tap(l, 20, 21);
  EXPECT_EQ(selectedItems(l), std::vector<int>{1});
  EXPECT_EQ(SendMessageW(l, LB_GETANCHORINDEX, 0, 0), 1);
  tap(l, 20, 53, MK_SHIFT);  // from the anchor
  EXPECT_EQ(selectedItems(l), (std::vector<int>{1, 2, 3}));
  tap(l, 20, 5, MK_CONTROL);  // adds one
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 1, 2, 3}));
  tap(l, 20, 37, MK_CONTROL);  // takes one away
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 1, 3}));
  tap(l, 20, 69);  // alone again
  EXPECT_EQ(selectedItems(l), std::vector<int>{4});
  // Dragging selects the range passed over.
  SendMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageW(l, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 40));
  SendMessageW(l, WM_LBUTTONUP, 0, MAKELPARAM(20, 40));
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 1, 2}));
  // Keys without shift or control select the caret's item alone.
  key(l, VK_DOWN);
  EXPECT_EQ(selectedItems(l), std::vector<int>{3});
  EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 3);
  EXPECT_EQ(SendMessageW(l, LB_SETANCHORINDEX, 1, 0), 0);
  tap(l, 20, 5, MK_SHIFT);
  EXPECT_EQ(selectedItems(l), (std::vector<int>{0, 1}));
}

TEST_F(ListBoxes, ScrollsWithTheBarAndKeepsTopIndexInRange) {
  HWND l = list(WS_VSCROLL, {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"});
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(l, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 9);
  EXPECT_EQ(info.nPage, 5u);
  SendMessageW(l, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 1);
  SendMessageW(l, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 5);  // no further than a full last page
  ASSERT_TRUE(GetScrollInfo(l, SB_VERT, &info));
  EXPECT_EQ(info.nPos, 5);
  EXPECT_EQ(SendMessageW(l, LB_SETTOPINDEX, 2, 0), 0);
  RECT r{};
  EXPECT_EQ(SendMessageW(l, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)), 0);
  EXPECT_EQ(r.top, 16);
  EXPECT_EQ(r.bottom, 32);
  EXPECT_EQ(SendMessageW(l, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 40)), MAKELRESULT(4, 0));
  EXPECT_EQ(SendMessageW(l, LB_SETTOPINDEX, 9, 0), 0);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 5);
  SendMessageW(l, LB_SETCURSEL, 0, 0);  // brought into view
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 0);
  HWND shortList = list(0, {u"only"});
  EXPECT_EQ(SendMessageW(shortList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 40)), MAKELRESULT(0, 1));  // below the last
  // Deleting items scrolls back so that no empty page shows.
  SendMessageW(l, LB_SETTOPINDEX, 5, 0);
  for (int i = 0; i < 6; ++i) SendMessageW(l, LB_DELETESTRING, 0, 0);
  EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListBoxes, WholeRowsUnlessNoIntegralHeight) {
  HWND fitted = list(0, {}, {10, 10, 110, 60});  // 50 pixels: three rows of 16
  RECT client{};
  GetClientRect(fitted, &client);
  EXPECT_EQ(client.bottom, 48);
  HWND exact = list(LBS_NOINTEGRALHEIGHT, {}, {120, 10, 220, 60});
  GetClientRect(exact, &client);
  EXPECT_EQ(client.bottom, 50);
}

TEST_F(ListBoxes, OwnerDrawnItemsAreMeasuredAndDrawnByTheParent) {
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  recorder.react(WM_MEASUREITEM, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measured.push_back(*m);
    m->itemHeight = 24;
    return TRUE;
  });
  recorder.react(WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  HWND l = list(LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT);
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_EQ(measured[0].CtlType, 2u);
  EXPECT_EQ(measured[0].CtlID, 5u);
  EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), 24);
  // Without LBS_HASSTRINGS the value is the item's data, and LB_GETTEXT gives it back.
  EXPECT_EQ(SendMessageW(l, LB_ADDSTRING, 0, 0xBEEF), 0);
  EXPECT_EQ(SendMessageW(l, LB_ADDSTRING, 0, 0xCAFE), 1);
  EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, 1, 0), 0xCAFE);
  ULONG_PTR data = 0;
  EXPECT_EQ(SendMessageW(l, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&data)), static_cast<LRESULT>(sizeof data));
  EXPECT_EQ(data, 0xBEEFu);
  EXPECT_EQ(SendMessageW(l, LB_FINDSTRING, static_cast<WPARAM>(-1), 0xCAFE), 1);
  SendMessageW(l, LB_SETCURSEL, 1, 0);
  drawn.clear();
  InvalidateRect(l, nullptr, TRUE);
  recorder.pumpPending();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].CtlType, 2u);
  EXPECT_EQ(drawn[1].itemID, 1u);
  EXPECT_EQ(drawn[1].itemData, 0xCAFEu);
  EXPECT_EQ(drawn[1].itemState & ODS_SELECTED, 1u);
  EXPECT_EQ(drawn[0].itemState & ODS_SELECTED, 0u);
  EXPECT_EQ(drawn[1].rcItem.top, 24);
  EXPECT_EQ(drawn[1].rcItem.bottom, 48);
}

TEST_F(ListBoxes, KeyboardInputGoesToTheParentFirst) {
  LRESULT answer = -2;
  recorder.react(WM_VKEYTOITEM, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return answer; });
  HWND l = list(LBS_WANTKEYBOARDINPUT | LBS_NOTIFY, {u"a", u"b", u"c", u"d"});
  SendMessageW(l, LB_SETCURSEL, 0, 0);
  recorder.clear();
  key(l, VK_DOWN);
  EXPECT_TRUE(recorder.matches(kVKeyToItemSeq, l));
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 0);  // handled by the parent
  answer = 3;
  key(l, VK_DOWN);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);  // the parent's choice
  answer = -1;
  key(l, VK_UP);
  EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 2);  // the list's own handling
}

TEST_F(ListBoxes, TheParentMayDestroyTheListWhileNotified) {
  HWND l = nullptr;
  recorder.react(WM_COMMAND, [&](HWND, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (HIWORD(wParam) == LBN_SELCHANGE && IsWindow(l)) DestroyWindow(l);
    return 0;
  });
  l = list(LBS_NOTIFY, {u"a", u"b", u"c"});
  tap(l, 20, 20);
  EXPECT_FALSE(IsWindow(l));
  l = list(LBS_NOTIFY, {u"a", u"b", u"c"});
  key(l, VK_DOWN);
  EXPECT_FALSE(IsWindow(l));
}

TEST_F(ListBoxes, TheHandheldLook) {
  HWND l = list(LBS_NOINTEGRALHEIGHT, {u"", u"", u""}, {10, 10, 110, 70});
  SendMessageW(l, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(pixel(l, 50, 8), RGB(255, 255, 255));        // an item on the white field
  EXPECT_EQ(pixel(l, 50, 24), GetSysColor(COLOR_HIGHLIGHT));  // the selected one
  EXPECT_EQ(pixel(l, 50, 31), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pixel(l, 50, 33), RGB(255, 255, 255));
  EXPECT_EQ(pixel(l, 50, 55), RGB(255, 255, 255));  // below the last item
  HWND texts = list(LBS_NOINTEGRALHEIGHT, {u"WWWWWWWW"}, {120, 10, 220, 70});
  bool ink = false;
  for (int x = 2; x < 60 && !ink; ++x)
    for (int y = 2; y < 14 && !ink; ++y) ink = pixel(texts, x, y) == RGB(0, 0, 0);
  EXPECT_TRUE(ink);  // black text
}

TEST_F(ListBoxes, AutomationStateDescribesItemsAndSelection) {
  HWND l = list(0, {u"one", u"tw\u00F6"});
  SendMessageW(l, LB_SETCURSEL, 1, 0);
  nlohmann::json state = nlohmann::json::object();
  EXPECT_EQ(SendMessageW(l, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&state)), 0);
  EXPECT_EQ(state["items"], (nlohmann::json{"one", "tw\xC3\xB6"}));
  EXPECT_EQ(state["selection"], 1);
  EXPECT_EQ(state["topIndex"], 0);
  EXPECT_EQ(state["caretIndex"], 1);
  EXPECT_FALSE(state.contains("selected"));
  HWND multi = list(LBS_MULTIPLESEL, {u"a", u"b", u"c"});
  SendMessageW(multi, LB_SETSEL, TRUE, 2);
  SendMessageW(multi, LB_SETSEL, TRUE, 1);
  nlohmann::json many = nlohmann::json::object();
  SendMessageW(multi, user::controls::WM_AUTOMATION_STATE, 0, reinterpret_cast<LPARAM>(&many));
  EXPECT_EQ(many["selected"], (nlohmann::json{1, 2}));
  EXPECT_EQ(many["selection"], 1);
  EXPECT_EQ(many["caretIndex"], 1);
}

}  // namespace
}  // namespace handheld::testing
