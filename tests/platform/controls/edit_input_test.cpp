// The edit under the stylus and the keys: tapping, dragging (with the view following past
// the edge), double tapping, shift and control keys, the clipboard between two edits, and
// the dialog selecting a field it moves to.
#include <gtest/gtest.h>

#include "edit_fixture.h"
#include "resource.h"

namespace handheld::testing {
namespace {

// A tap into an edit without the focus: it takes the focus on the way down.
const NamedSequence kTapSeq = {"tap", {
    {WM_LBUTTONDOWN, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_SETFOCUS)},
    {WM_LBUTTONUP, kSent},
}};

// Paste: the text goes in, then the parent hears of it.
const NamedSequence kPasteSeq = {"ctrl+V", {
    {WM_CHAR, kSent | kWParam, 0x16},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(6, EN_UPDATE)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(6, EN_CHANGE)},
}};

// The window's own scroll bar moved by the stylus: the parent hears before the text moves.
const NamedSequence kBarScrollSeq = {"scroll bar line down", {
    {WM_VSCROLL, kSent | kWParam, SB_LINEDOWN},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_VSCROLL)},
}};

class EditInput : public Edits {
 protected:
  void setKey(UINT vk, bool down) { ASSERT_TRUE(device().call<ipc::KeyStateSet>({vk, down})); }
  static POINT pointOf(HWND e, size_t index) {
    const LRESULT at = SendMessageW(e, EM_POSFROMCHAR, index, 0);
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  }
  static LPARAM inside(POINT p) { return MAKELPARAM(p.x + 1, p.y + 3); }
  static LRESULT firstVisible(HWND e) { return SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0); }
};

TEST_F(EditInput, TapPlacesTheCaretAndTakesTheFocus) {
  HWND e = edit(0, 5, u"hello world", {10, 10, 200, 34});
  const LPARAM at = inside(pointOf(e, 6));
  recorder.clear();
  SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(e, WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(recorder.matches(kTapSeq, e));
  EXPECT_EQ(GetFocus(), e);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{6}, DWORD{6}));
  EXPECT_EQ(GetCapture(), nullptr);
  // The point tells the character under it, and its line.
  EXPECT_EQ(SendMessageW(e, EM_CHARFROMPOS, 0, at), MAKELONG(6, 0));
}

TEST_F(EditInput, DragSelectsAndDoubleTapTakesAWord) {
  HWND e = edit(0, 5, u"hello world", {10, 10, 200, 34});
  SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON, inside(pointOf(e, 1)));
  SendMessageW(e, WM_MOUSEMOVE, MK_LBUTTON, inside(pointOf(e, 4)));
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{4}));
  SendMessageW(e, WM_MOUSEMOVE, MK_LBUTTON, inside(pointOf(e, 0)));  // back past the start
  SendMessageW(e, WM_LBUTTONUP, 0, inside(pointOf(e, 0)));
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{1}));
  SendMessageW(e, WM_MOUSEMOVE, 0, inside(pointOf(e, 8)));  // lifted: nothing follows
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{1}));

  SendMessageW(e, WM_LBUTTONDBLCLK, MK_LBUTTON, inside(pointOf(e, 8)));
  SendMessageW(e, WM_LBUTTONUP, 0, inside(pointOf(e, 8)));
  EXPECT_EQ(selection(e), std::make_pair(DWORD{6}, DWORD{11}));
  SendMessageW(e, WM_LBUTTONDBLCLK, MK_LBUTTON, inside(pointOf(e, 5)));  // on the space
  EXPECT_EQ(selection(e), std::make_pair(DWORD{5}, DWORD{6}));
}

TEST_F(EditInput, DragPastTheBottomScrollsOnUntilLifted) {
  std::u16string text;
  for (int i = 0; i < 30; ++i) text += u"line " + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u"\r\n";
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, 5, text.c_str(), {10, 10, 150, 52});  // three lines show
  SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON, inside(pointOf(e, 0)));
  RECT client{};
  GetClientRect(e, &client);
  SendMessageW(e, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, client.bottom + 4));
  EXPECT_EQ(firstVisible(e), 1);  // the line below comes into view at once
  EXPECT_TRUE(recorder.pumpUntil([&] { return firstVisible(e) >= 5; }, 3000));
  SendMessageW(e, WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom + 4));
  const LRESULT stopped = firstVisible(e);
  const auto chosen = selection(e);
  EXPECT_EQ(chosen.first, 0u);
  EXPECT_GE(chosen.second, static_cast<DWORD>(SendMessageW(e, EM_LINEINDEX, 7, 0)));
  Sleep(250);
  recorder.pumpPending();
  EXPECT_EQ(firstVisible(e), stopped);  // lifted: the view stays
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditInput, ShiftAndControlKeys) {
  HWND e = edit(0, 5, u"one two three", {10, 10, 200, 34});
  SetFocus(e);
  SendMessageW(e, EM_SETSEL, 0, 0);
  setKey(VK_SHIFT, true);
  key(e, VK_RIGHT);
  key(e, VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{2}));
  key(e, VK_END);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{13}));
  key(e, VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{12}));
  setKey(VK_SHIFT, false);
  key(e, VK_LEFT);  // a selection collapses to its start
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{0}));
  setKey(VK_CONTROL, true);
  key(e, VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{4}, DWORD{4}));
  key(e, VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{8}, DWORD{8}));
  key(e, VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{4}, DWORD{4}));
  key(e, VK_END);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{13}, DWORD{13}));
  setKey(VK_CONTROL, false);
  key(e, VK_HOME);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{0}));
  type(e, u"\x01");  // ctrl+A
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{13}));
  key(e, VK_DELETE);
  EXPECT_EQ(textOf(e), u"");
  type(e, u"\x1A");  // ctrl+Z
  EXPECT_EQ(textOf(e), u"one two three");

  // Up and down keep their column over a shorter line.
  HWND multi = edit(ES_MULTILINE, 6, u"abcdef\r\nab\r\nabcdef", {10, 40, 200, 100});
  SendMessageW(multi, EM_SETSEL, 5, 5);
  key(multi, VK_DOWN);
  EXPECT_EQ(selection(multi), std::make_pair(DWORD{10}, DWORD{10}));
  key(multi, VK_DOWN);
  EXPECT_EQ(selection(multi), std::make_pair(DWORD{17}, DWORD{17}));
  key(multi, VK_HOME);
  EXPECT_EQ(selection(multi), std::make_pair(DWORD{12}, DWORD{12}));
  key(multi, VK_UP);
  EXPECT_EQ(selection(multi), std::make_pair(DWORD{8}, DWORD{8}));
}

TEST_F(EditInput, ClipboardRoundTripBetweenTwoEdits) {
  HWND from = edit(0, 5, u"copy me", {10, 10, 200, 34});
  HWND to = edit(ES_MULTILINE, 6, u"", {10, 40, 200, 100});
  SendMessageW(from, EM_SETSEL, 0, 4);
  type(from, u"\x03");  // ctrl+C
  EXPECT_EQ(clipboardText(), u"copy");
  recorder.clear();
  type(to, u"\x16");  // ctrl+V
  EXPECT_TRUE(recorder.matches(kPasteSeq, to));
  EXPECT_EQ(textOf(to), u"copy");
  type(from, u"\x18");  // ctrl+X
  EXPECT_EQ(textOf(from), u" me");
  SendMessageW(to, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(to), u"copycopy");
  // Lines pasted into a single line: up to the first break.
  putOnClipboard(u"first\r\nsecond");
  SendMessageW(from, EM_SETSEL, 0, -1);
  SendMessageW(from, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(from), u"first");
  SendMessageW(to, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(to), u"copycopyfirst\r\nsecond");
  EXPECT_EQ(SendMessageW(to, EM_GETLINECOUNT, 0, 0), 2);
  // An empty selection copies nothing.
  SendMessageW(from, EM_SETSEL, 2, 2);
  SendMessageW(from, WM_COPY, 0, 0);
  EXPECT_EQ(clipboardText(), u"first\r\nsecond");
}

TEST_F(EditInput, ScrollBarAndScrollMessages) {
  std::u16string text;
  for (int i = 0; i < 12; ++i) text += u"row\r\n";
  text += u"last";
  HWND e = edit(ES_MULTILINE | WS_VSCROLL, 5, text.c_str(), {10, 10, 150, 52});  // three lines show
  EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 13);
  recorder.clear();
  SendMessageW(e, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_TRUE(recorder.matches(kBarScrollSeq, e));
  EXPECT_EQ(firstVisible(e), 1);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), 1);
  EXPECT_EQ(SendMessageW(e, EM_SCROLL, SB_PAGEDOWN, 0), MAKELONG(3, TRUE));
  EXPECT_EQ(firstVisible(e), 4);
  EXPECT_EQ(SendMessageW(e, EM_SCROLL, SB_LINEUP, 0), MAKELONG(static_cast<WORD>(-1), TRUE));
  EXPECT_EQ(SendMessageW(e, EM_LINESCROLL, 0, 100), TRUE);  // stops with the last line at the bottom
  EXPECT_EQ(firstVisible(e), 10);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), 10);
  SendMessageW(e, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(firstVisible(e), 0);
  // The caret brought into view.
  SendMessageW(e, EM_SETSEL, 62, 62);
  EXPECT_EQ(firstVisible(e), 0);
  SendMessageW(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(firstVisible(e), 10);
  // Typing at the end keeps the caret in view.
  SendMessageW(e, EM_SETSEL, 0, 0);
  SendMessageW(e, WM_VSCROLL, SB_TOP, 0);
  SendMessageW(e, EM_SETSEL, 64, 64);
  type(e, u"\rmore");
  EXPECT_EQ(firstVisible(e), 11);
}

TEST_F(EditInput, HorizontalScrollBarMovesALongLine) {
  const NamedSequence kRightSeq = {"scroll bar line right", {
      {WM_HSCROLL, kSent | kWParam, SB_LINERIGHT},
      {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_HSCROLL)},
  }};
  HWND e = edit(ES_AUTOHSCROLL | WS_HSCROLL, 5, u"a line far too long to show in so narrow a field", {10, 10, 80, 50});
  EXPECT_EQ(firstVisible(e), 0);
  recorder.clear();
  SendMessageW(e, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_TRUE(recorder.matches(kRightSeq, e));
  EXPECT_GT(firstVisible(e), 0);
  EXPECT_GT(GetScrollPos(e, SB_HORZ), 0);
  SendMessageW(e, WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(firstVisible(e), 0);
  EXPECT_EQ(GetScrollPos(e, SB_HORZ), 0);
}

TEST_F(EditInput, FieldsThatCannotScrollRefuseWhatWouldNotShow) {
  const NamedSequence kFullSeq = {"no room", {
      {WM_CHAR, kSent | kWParam, u'W'},
      {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_MAXTEXT)},
  }};
  HWND narrow = edit(0, 5, u"", {10, 10, 50, 34});
  for (int i = 0; i < 40; ++i) type(narrow, u"W");
  const std::u16string kept = textOf(narrow);
  EXPECT_GT(kept.size(), 0u);
  EXPECT_LT(kept.size(), 40u);
  recorder.clear();
  type(narrow, u"W");
  EXPECT_TRUE(recorder.matches(kFullSeq, narrow));
  // With ES_AUTOHSCROLL it goes on, the view following.
  HWND scrolling = edit(ES_AUTOHSCROLL, 6, u"", {10, 40, 50, 64});
  for (int i = 0; i < 40; ++i) type(scrolling, u"W");
  EXPECT_EQ(textOf(scrolling).size(), 40u);
  EXPECT_GT(firstVisible(scrolling), 0);
  key(scrolling, VK_HOME);
  EXPECT_EQ(firstVisible(scrolling), 0);
  // Multi-line without vertical scrolling: no more lines than show.
  HWND box = edit(ES_MULTILINE, 7, u"", {10, 70, 150, 100});  // two lines show
  type(box, u"a\rb\rc");
  EXPECT_EQ(textOf(box), u"a\r\nbc");
}

TEST_F(EditInput, DialogSelectsTheFieldItTabsTo) {
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEXTS), parent,
                                   [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; }, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  HWND first = GetDlgItem(dialog, IDC_FIRST_TEXT), second = GetDlgItem(dialog, IDC_SECOND_TEXT);
  SetWindowTextW(second, u"replace me");
  SetFocus(first);
  MSG tab{first, WM_KEYDOWN, VK_TAB, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(selection(second), std::make_pair(DWORD{0}, DWORD{10}));
  // Typed through the dialog: the selection goes.
  MSG letter{second, WM_CHAR, u'x', 1, 0, {}};
  IsDialogMessageW(dialog, &letter);
  EXPECT_EQ(textOf(second), u"x");
  // Arrows stay in the field.
  MSG left{second, WM_KEYDOWN, VK_LEFT, 1, 0, {}};
  IsDialogMessageW(dialog, &left);
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(selection(second), std::make_pair(DWORD{0}, DWORD{0}));
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace handheld::testing
