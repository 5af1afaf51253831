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

const NamedSequence kFocusSeq = {"focus in and out", {
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, EN_SETFOCUS)},
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
  SetFocus(parent);
  EXPECT_TRUE(recorder.matches(kFocusSeq, e));
}

}  // namespace
}  // namespace handheld::testing
