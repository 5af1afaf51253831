// The edit: its values, the notifications of typing, pasting, undoing and the limit, the
// selection by stylus and keys, the messages about lines and positions, and bad input.
#include <gtest/gtest.h>

#include <string>

#include "controls_fixture.h"
#include "edit_fixture.h"

namespace handheld::testing {
namespace {

// Each typed character: the field shows it, then the parent hears of it.
const NamedSequence kTypeSeq = {"typing a character", {
    {WM_CHAR, kSent | kWParam, u'a'},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_UPDATE)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_CHANGE)},
}};

// Past the limit: what fits goes in, the parent hears it is full, then of the change.
const NamedSequence kPasteAtLimitSeq = {"paste past the limit", {
    {WM_PASTE, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_MAXTEXT)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_UPDATE)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_CHANGE)},
}};

// A full field takes nothing: only EN_MAXTEXT.
const NamedSequence kTypeWhenFullSeq = {"typing into a full field", {
    {WM_CHAR, kSent | kWParam, u'z'},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_MAXTEXT)},
}};

const NamedSequence kUndoSeq = {"undo", {
    {WM_UNDO, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_UPDATE)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_CHANGE)},
}};

// Digits only: a letter is refused without a word to the parent.
const NamedSequence kRefusedLetterSeq = {"a letter in a digits-only field", {
    {WM_CHAR, kSent | kWParam, u'x'},
}};

// Text set by the program: single-line edits tell the parent, multi-line ones do not.
const NamedSequence kSetTextSingleSeq = {"WM_SETTEXT, single line", {
    {WM_SETTEXT, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_UPDATE)},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_CHANGE)},
}};
const NamedSequence kSetTextMultiSeq = {"WM_SETTEXT, multi-line", {
    {WM_SETTEXT, kSent},
}};

// A new font while focused makes a new caret but tells the parent nothing.
const NamedSequence kFocusSeq = {"focus in, a font, focus out", {
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_SETFOCUS)},
    {WM_SETFONT, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_KILLFOCUS)},
}};

TEST_F(Edits, ValuesThePlatformGives) {
  EXPECT_EQ(ES_LEFT, 0x0);
  EXPECT_EQ(ES_CENTER, 0x1);
  EXPECT_EQ(ES_RIGHT, 0x2);
  EXPECT_EQ(ES_MULTILINE, 0x4);
  EXPECT_EQ(ES_UPPERCASE, 0x8);
  EXPECT_EQ(ES_LOWERCASE, 0x10);
  EXPECT_EQ(ES_PASSWORD, 0x20);
  EXPECT_EQ(ES_AUTOVSCROLL, 0x40);
  EXPECT_EQ(ES_AUTOHSCROLL, 0x80);
  EXPECT_EQ(ES_NOHIDESEL, 0x100);
  EXPECT_EQ(ES_READONLY, 0x800);
  EXPECT_EQ(ES_WANTRETURN, 0x1000);
  EXPECT_EQ(ES_NUMBER, 0x2000);
  EXPECT_EQ(EM_GETSEL, 0xB0);
  EXPECT_EQ(EM_SETSEL, 0xB1);
  EXPECT_EQ(EM_GETRECT, 0xB2);
  EXPECT_EQ(EM_SCROLL, 0xB5);
  EXPECT_EQ(EM_LINESCROLL, 0xB6);
  EXPECT_EQ(EM_SCROLLCARET, 0xB7);
  EXPECT_EQ(EM_GETMODIFY, 0xB8);
  EXPECT_EQ(EM_SETMODIFY, 0xB9);
  EXPECT_EQ(EM_GETLINECOUNT, 0xBA);
  EXPECT_EQ(EM_LINEINDEX, 0xBB);
  EXPECT_EQ(EM_LINELENGTH, 0xC1);
  EXPECT_EQ(EM_REPLACESEL, 0xC2);
  EXPECT_EQ(EM_GETLINE, 0xC4);
  EXPECT_EQ(EM_LIMITTEXT, 0xC5);
  EXPECT_EQ(EM_SETLIMITTEXT, 0xC5);
  EXPECT_EQ(EM_CANUNDO, 198);
  EXPECT_EQ(EM_UNDO, 0xC7);
  EXPECT_EQ(EM_LINEFROMCHAR, 0xC9);
  EXPECT_EQ(EM_SETPASSWORDCHAR, 0xCC);
  EXPECT_EQ(EM_EMPTYUNDOBUFFER, 205);
  EXPECT_EQ(EM_GETFIRSTVISIBLELINE, 0xCE);
  EXPECT_EQ(EM_SETREADONLY, 0xCF);
  EXPECT_EQ(EM_GETPASSWORDCHAR, 0xD2);
  EXPECT_EQ(EM_SETMARGINS, 0xD3);
  EXPECT_EQ(EM_GETMARGINS, 0xD4);
  EXPECT_EQ(EM_GETLIMITTEXT, 0xD5);
  EXPECT_EQ(EM_POSFROMCHAR, 0xD6);
  EXPECT_EQ(EM_CHARFROMPOS, 0xD7);
  EXPECT_EQ(EC_LEFTMARGIN, 1);
  EXPECT_EQ(EC_RIGHTMARGIN, 2);
  EXPECT_EQ(EC_USEFONTINFO, 0xFFFF);
  EXPECT_EQ(EN_SETFOCUS, 256);
  EXPECT_EQ(EN_KILLFOCUS, 512);
  EXPECT_EQ(EN_CHANGE, 768);
  EXPECT_EQ(EN_UPDATE, 0x400);
  EXPECT_EQ(EN_MAXTEXT, 0x501);
  EXPECT_EQ(EN_HSCROLL, 0x601);
  EXPECT_EQ(EN_VSCROLL, 0x602);
  EXPECT_EQ(WM_CTLCOLOREDIT, 0x133);
  EXPECT_EQ(WM_CUT, 0x300);
  EXPECT_EQ(WM_UNDO, 0x304);
  // The class is one of the platform's own, found by name (any case) and by its atom.
  WNDCLASSW info{};
  EXPECT_TRUE(GetClassInfoW(nullptr, u"edit", &info));
  HWND byAtom = CreateWindowExW(0, MAKEINTATOM(0x0081), u"atom", WS_CHILD, 0, 0, 50, 20, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(byAtom, nullptr);
  char16_t name[16] = {};
  GetClassNameW(byAtom, name, 16);
  EXPECT_EQ(std::u16string(name), u"EDIT");
}

TEST_F(Edits, TypingNotifiesUpdateThenChange) {
  HWND e = edit(0);
  type(e, u"a");
  EXPECT_TRUE(recorder.matches(kTypeSeq, e));
  EXPECT_EQ(textOf(e), u"a");
  EXPECT_EQ(SendMessageW(e, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(Edits, SetTextTellsOnlySingleLineParents) {
  HWND single = edit(0);
  SetWindowTextW(single, u"one");
  EXPECT_TRUE(recorder.matches(kSetTextSingleSeq, single));
  recorder.clear();
  HWND multi = edit(ES_MULTILINE, 5, u"", {10, 50, 110, 100});
  SetWindowTextW(multi, u"one\r\ntwo");
  EXPECT_TRUE(recorder.matches(kSetTextMultiSeq, multi));
  EXPECT_EQ(SendMessageW(multi, EM_GETMODIFY, 0, 0), FALSE);  // the program's text is no change
  EXPECT_EQ(SendMessageW(multi, EM_CANUNDO, 0, 0), FALSE);
}

TEST_F(Edits, FocusNotifications) {
  HWND e = edit(0);
  SetFocus(e);
  SendMessageW(e, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
  SetFocus(parent);
  EXPECT_TRUE(recorder.matches(kFocusSeq, e));
  EXPECT_EQ(SendMessageW(e, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(SYSTEM_FONT)));
}

TEST_F(Edits, LimitKeepsWhatFitsAndSaysSo) {
  HWND e = edit(0);
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageW(e, EM_LIMITTEXT, 4, 0);
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 4);
  type(e, u"ab");
  putOnClipboard(u"cdef");
  recorder.clear();
  SendMessageW(e, WM_PASTE, 0, 0);
  EXPECT_TRUE(recorder.matches(kPasteAtLimitSeq, e));
  EXPECT_EQ(textOf(e), u"abcd");
  recorder.clear();
  type(e, u"z");
  EXPECT_TRUE(recorder.matches(kTypeWhenFullSeq, e));
  EXPECT_EQ(textOf(e), u"abcd");
  // The program's text is not limited; the user may still replace a selection within it.
  SetWindowTextW(e, u"0123456789");
  EXPECT_EQ(textOf(e), u"0123456789");
  SendMessageW(e, EM_SETSEL, 0, 10);
  type(e, u"x");
  EXPECT_EQ(textOf(e), u"x");

  // 0 means the most the kind of edit takes; more than that is clamped.
  SendMessageW(e, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 0x7FFE);
  SendMessageW(e, EM_SETLIMITTEXT, 100000, 0);
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 0x7FFE);
  HWND multi = edit(ES_MULTILINE, 6, u"", {10, 50, 110, 100});
  SendMessageW(multi, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(multi, EM_GETLIMITTEXT, 0, 0), 0xFFFF);
  SendMessageW(multi, EM_LIMITTEXT, 100000, 0);
  EXPECT_EQ(SendMessageW(multi, EM_GETLIMITTEXT, 0, 0), 100000);
}

TEST_F(Edits, UndoTakesBackTypingAsOneAndThenItself) {
  HWND e = edit(0);
  EXPECT_EQ(SendMessageW(e, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(SendMessageW(e, WM_UNDO, 0, 0), FALSE);
  type(e, u"hello");
  EXPECT_EQ(SendMessageW(e, EM_CANUNDO, 0, 0), TRUE);
  recorder.clear();
  EXPECT_EQ(SendMessageW(e, WM_UNDO, 0, 0), TRUE);
  EXPECT_TRUE(recorder.matches(kUndoSeq, e));
  EXPECT_EQ(textOf(e), u"");
  SendMessageW(e, EM_UNDO, 0, 0);  // the undo is undone
  EXPECT_EQ(textOf(e), u"hello");

  // Backspaces after typing shorten the same record; erasing further back joins it too.
  SetWindowTextW(e, u"abc");
  SendMessageW(e, EM_SETSEL, 3, 3);
  type(e, u"de\b\b\b\b");
  EXPECT_EQ(textOf(e), u"a");
  SendMessageW(e, WM_UNDO, 0, 0);
  EXPECT_EQ(textOf(e), u"abc");

  // A replacement with the selection comes back whole, selected.
  SendMessageW(e, EM_SETSEL, 1, 2);
  SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"XYZ"));
  EXPECT_EQ(textOf(e), u"aXYZc");
  SendMessageW(e, WM_UNDO, 0, 0);
  EXPECT_EQ(textOf(e), u"abc");
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{2}));

  // Not to be undone; and an emptied buffer has nothing.
  SendMessageW(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"!"));
  EXPECT_EQ(SendMessageW(e, EM_CANUNDO, 0, 0), FALSE);
  type(e, u"?");
  SendMessageW(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessageW(e, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(textOf(e), u"a!?c");
}

TEST_F(Edits, SelectionClampsAndReportsBothWays) {
  HWND e = edit(0, 5, u"abcdef");
  SendMessageW(e, EM_SETSEL, 2, 100);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{2}, DWORD{6}));
  EXPECT_EQ(SendMessageW(e, EM_GETSEL, 0, 0), MAKELONG(2, 6));  // no pointers: the answer alone
  SendMessageW(e, EM_SETSEL, 0, -1);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{6}));
  SendMessageW(e, EM_SETSEL, 5, 1);  // backwards: the caret at the second
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{5}));
  type(e, u"X");
  EXPECT_EQ(textOf(e), u"aXf");
  SendMessageW(e, EM_SETSEL, 0, 3);
  SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // no selection, the caret stays
  EXPECT_EQ(selection(e), std::make_pair(DWORD{3}, DWORD{3}));
  SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(-7), -7);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{3}, DWORD{3}));
}

TEST_F(Edits, LinesOfAMultiLineText) {
  HWND e = edit(ES_MULTILINE | ES_AUTOHSCROLL, 5, u"one\r\ntwo\r\n\r\nfour", {10, 10, 200, 100});
  EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 2, 0), 10);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 3, 0), 12);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 4, 0), -1);
  EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, 6, 0), 3);
  EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, 10, 0), 0);
  EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, 13, 0), 4);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 4, 0), 0);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 5, 0), 1);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 12, 0), 3);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 99, 0), 3);
  SendMessageW(e, EM_SETSEL, 6, 6);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 5);  // the caret's line
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
  SendMessageW(e, EM_SETSEL, 1, 7);  // "ne" and "tw" selected: "o" and "o" are left
  EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 2);

  char16_t buffer[8] = {};
  buffer[0] = 8;
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, 3, reinterpret_cast<LPARAM>(buffer)), 4);
  EXPECT_EQ(std::u16string(buffer, 4), u"four");
  buffer[0] = 2;  // the first unit says how much room there is
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::u16string(buffer, 2), u"tw");
  buffer[0] = 8;
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, 9, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, 0, 0), 0);

  // A single line is one line, whatever it holds.
  HWND single = edit(ES_AUTOHSCROLL, 6, u"a\r\nb", {10, 120, 110, 140});
  EXPECT_EQ(SendMessageW(single, EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageW(single, EM_LINELENGTH, 0, 0), 4);
  EXPECT_EQ(SendMessageW(single, EM_LINEINDEX, 1, 0), -1);
  EXPECT_EQ(SendMessageW(single, EM_LINESCROLL, 0, 1), FALSE);
}

TEST_F(Edits, BadInputIsAnsweredWithNothing) {
  HWND e = edit(ES_MULTILINE, 5, u"abc", {10, 10, 110, 60});
  EXPECT_EQ(SendMessageW(e, EM_GETRECT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(e, EM_REPLACESEL, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(e, WM_GETTEXT, 10, 0), 0);
  EXPECT_EQ(SendMessageW(e, WM_SETTEXT, 0, 0), TRUE);  // null: empty
  EXPECT_EQ(textOf(e), u"");
  SetWindowTextW(e, u"abc");
  char16_t small[3] = {u'x', u'x', u'x'};
  EXPECT_EQ(SendMessageW(e, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(small)), 1);
  EXPECT_EQ(std::u16string(small), u"a");
  EXPECT_EQ(SendMessageW(e, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessageW(e, EM_POSFROMCHAR, 4, 0), -1);
  EXPECT_NE(SendMessageW(e, EM_POSFROMCHAR, 3, 0), -1);  // just past the last character
  EXPECT_EQ(SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(500, 5)), -1);
  EXPECT_EQ(SendMessageW(e, EM_SCROLL, 99, 0), FALSE);
  EXPECT_EQ(textOf(e), u"abc");
}

TEST_F(Edits, StylesConvertAndRefuse) {
  HWND upper = edit(ES_UPPERCASE, 5);
  type(upper, u"ab\u00e9");
  EXPECT_EQ(textOf(upper), u"AB\u00c9");
  HWND lower = edit(ES_LOWERCASE, 6, u"MiXeD", {10, 40, 110, 64});
  EXPECT_EQ(textOf(lower), u"mixed");

  HWND digits = edit(ES_NUMBER, 7, u"", {10, 70, 110, 94});
  type(digits, u"4");
  recorder.clear();
  type(digits, u"x");
  EXPECT_TRUE(recorder.matches(kRefusedLetterSeq, digits));
  type(digits, u"2");
  EXPECT_EQ(textOf(digits), u"42");

  // Read-only: the user changes nothing, the program still may, copying still works.
  HWND fixed = edit(ES_READONLY, 8, u"fixed", {10, 100, 110, 124});
  type(fixed, u"x\b");
  SendMessageW(fixed, EM_SETSEL, 0, 2);
  SendMessageW(fixed, WM_CUT, 0, 0);
  SendMessageW(fixed, WM_CLEAR, 0, 0);
  putOnClipboard(u"pasted");
  SendMessageW(fixed, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(fixed), u"fixed");
  SendMessageW(fixed, WM_COPY, 0, 0);
  EXPECT_EQ(clipboardText(), u"fi");
  SendMessageW(fixed, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"FI"));
  EXPECT_EQ(textOf(fixed), u"FIxed");
  EXPECT_EQ(SendMessageW(fixed, EM_SETREADONLY, FALSE, 0), TRUE);
  EXPECT_EQ(GetWindowLongW(fixed, GWL_STYLE) & ES_READONLY, 0);
  type(fixed, u"!");
  EXPECT_EQ(textOf(fixed), u"FI!xed");
  SendMessageW(fixed, EM_SETREADONLY, TRUE, 0);
  EXPECT_EQ(GetWindowLongW(fixed, GWL_STYLE) & ES_READONLY, ES_READONLY);
}

TEST_F(Edits, PasswordShowsMasksAndKeepsItsText) {
  HWND e = edit(ES_PASSWORD, 5, u"s\U0001F600t");
  EXPECT_EQ(SendMessageW(e, EM_GETPASSWORDCHAR, 0, 0), u'*');
  nlohmann::json state = automation(e);
  EXPECT_EQ(state["text"], "***");  // one mask per character, a pair counts once
  EXPECT_EQ(textOf(e), u"s\U0001F600t");
  // Never onto the clipboard.
  putOnClipboard(u"before");
  SendMessageW(e, EM_SETSEL, 0, -1);
  SendMessageW(e, WM_COPY, 0, 0);
  SendMessageW(e, WM_CUT, 0, 0);
  EXPECT_EQ(clipboardText(), u"before");
  EXPECT_EQ(textOf(e), u"s\U0001F600t");
  SendMessageW(e, EM_SETPASSWORDCHAR, u'#', 0);
  EXPECT_EQ(automation(e)["text"], "###");
  SendMessageW(e, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(GetWindowLongW(e, GWL_STYLE) & ES_PASSWORD, 0);
  EXPECT_EQ(automation(e)["text"], "s\xF0\x9F\x98\x80t");
}

TEST_F(Edits, AutomationStateKeys) {
  HWND e = edit(ES_MULTILINE | ES_READONLY, 5, u"a\r\nb\r\nc", {10, 10, 110, 40});  // two lines show
  SendMessageW(e, EM_SETSEL, 3, 4);
  SendMessageW(e, EM_SETMODIFY, TRUE, 0);
  SendMessageW(e, EM_LINESCROLL, 0, 1);
  nlohmann::json state = automation(e);
  EXPECT_EQ(state["text"], "a\r\nb\r\nc");
  EXPECT_EQ(state["selection"], nlohmann::json::array({3, 4}));
  EXPECT_EQ(state["modified"], true);
  EXPECT_EQ(state["readOnly"], true);
  EXPECT_EQ(state["lineCount"], 3);
  EXPECT_EQ(state["firstVisibleLine"], 1);
}

TEST_F(Edits, SurrogatePairsStayWhole) {
  HWND e = edit(0, 5, u"a\U0001F600b");
  SendMessageW(e, EM_SETSEL, 2, 2);  // inside the pair: before it
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{1}));
  key(e, VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{3}, DWORD{3}));
  type(e, u"\b");
  EXPECT_EQ(textOf(e), u"ab");
  // Typed as its two halves; with room for one unit only, neither goes in.
  type(e, u"\U0001F601");
  EXPECT_EQ(textOf(e), u"a\U0001F601b");
  SendMessageW(e, EM_LIMITTEXT, 5, 0);
  type(e, u"\U0001F602");
  EXPECT_EQ(textOf(e), u"a\U0001F601b");
  SendMessageW(e, EM_SETSEL, 1, 1);
  key(e, VK_DELETE);
  EXPECT_EQ(textOf(e), u"ab");
  // A multi-line break is one step.
  HWND multi = edit(ES_MULTILINE, 6, u"x\r\ny", {10, 40, 110, 90});
  SendMessageW(multi, EM_SETSEL, 1, 1);
  key(multi, VK_RIGHT);
  EXPECT_EQ(selection(multi), std::make_pair(DWORD{3}, DWORD{3}));
  type(multi, u"\b");
  EXPECT_EQ(textOf(multi), u"xy");
}

TEST_F(Edits, DialogCodes) {
  HWND single = edit(0);
  EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, 0, 0), 0x80 | 0x08 | 0x01);
  HWND multi = edit(ES_MULTILINE, 6, u"", {10, 40, 110, 90});
  EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0), 0x89);
  HWND wantsReturn = edit(ES_MULTILINE | ES_WANTRETURN, 7, u"", {10, 100, 110, 150});
  EXPECT_EQ(SendMessageW(wantsReturn, WM_GETDLGCODE, 0, 0), 0x89 | 0x04);
  MSG tab{wantsReturn, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(SendMessageW(wantsReturn, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)), 0x89);
  MSG enter{wantsReturn, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_EQ(SendMessageW(wantsReturn, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), 0x8D);
  // Enter makes a line in a multi-line edit, nothing in a single line.
  type(wantsReturn, u"a\rb");
  EXPECT_EQ(textOf(wantsReturn), u"a\r\nb");
  type(single, u"a\rb\t");
  EXPECT_EQ(textOf(single), u"ab");
}

}  // namespace
}  // namespace handheld::testing
