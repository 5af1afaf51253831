// The button: its messages and notifications in order, stylus and keys, check states,
// radio groups, owner drawing and the parent's colours.
#include <gtest/gtest.h>

#include "controls_fixture.h"

namespace handheld::testing {
namespace {

WPARAM command(int id, WORD code) { return MAKEWPARAM(id, code); }

// The stylus down and up inside: pressed with the capture, released, then the click.
const NamedSequence kTapSeq = {"tap on a button", {
    {WM_LBUTTONDOWN, kSent},
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc | kLParam, 0, 0},
    {WM_COMMAND, kParent | kWParam, command(7, BN_CLICKED)},
}};

// BM_CLICK is a tap the button gives itself.
const NamedSequence kClickSeq = {"BM_CLICK", {
    {BM_CLICK, kSent},
    {WM_LBUTTONDOWN, kSent | kDefWinProc},
    {WM_LBUTTONUP, kSent | kDefWinProc},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_COMMAND, kParent | kWParam, command(7, BN_CLICKED)},
}};

// Space presses on the key going down and clicks on it coming up.
const NamedSequence kSpaceSeq = {"space", {
    {WM_KEYDOWN, kSent | kWParam, VK_SPACE},
    {WM_KEYUP, kSent | kWParam, VK_SPACE},
    {WM_COMMAND, kParent | kWParam, command(7, BN_CLICKED)},
}};

class Buttons : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CTLCOLORBTN, WM_SETFOCUS, WM_KILLFOCUS,
                     WM_GETDLGCODE, WM_STYLECHANGING, WM_STYLECHANGED, WM_ACTIVATE});
  }

  HWND button(DWORD style, int id = 7, const char16_t* text = u"Button", RECT r = {10, 10, 110, 40}) {
    HWND b = control(u"BUTTON", text, style, id, r);
    EXPECT_NE(b, nullptr);
    recorder.watch(b);
    recorder.clear();
    return b;
  }

  void tap(HWND b, int x = 5, int y = 5) {
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  int clicks(int id = 7) {
    int count = 0;
    for (const auto& m : recorder.messages())
      if (m.window == parent && m.message == WM_COMMAND && m.wParam == command(id, BN_CLICKED)) ++count;
    return count;
  }
};

TEST_F(Buttons, ValuesThePlatformGives) {
  EXPECT_EQ(BS_PUSHBUTTON, 0x0);
  EXPECT_EQ(BS_DEFPUSHBUTTON, 0x1);
  EXPECT_EQ(BS_CHECKBOX, 0x2);
  EXPECT_EQ(BS_AUTOCHECKBOX, 0x3);
  EXPECT_EQ(BS_RADIOBUTTON, 0x4);
  EXPECT_EQ(BS_3STATE, 0x5);
  EXPECT_EQ(BS_AUTO3STATE, 0x6);
  EXPECT_EQ(BS_GROUPBOX, 0x7);
  EXPECT_EQ(BS_AUTORADIOBUTTON, 0x9);
  EXPECT_EQ(BS_OWNERDRAW, 0xB);
  EXPECT_EQ(BS_TYPEMASK, 0xF);
  EXPECT_EQ(BS_LEFTTEXT, 0x20);
  EXPECT_EQ(BS_CENTER, 0x300);
  EXPECT_EQ(BS_VCENTER, 0xC00);
  EXPECT_EQ(BS_MULTILINE, 0x2000);
  EXPECT_EQ(BS_NOTIFY, 0x4000);
  EXPECT_EQ(BST_UNCHECKED, 0);
  EXPECT_EQ(BST_CHECKED, 1);
  EXPECT_EQ(BST_INDETERMINATE, 2);
  EXPECT_EQ(BST_PUSHED, 4);
  EXPECT_EQ(BST_FOCUS, 8);
  EXPECT_EQ(BM_GETCHECK, 0x00F0);
  EXPECT_EQ(BM_SETCHECK, 0x00F1);
  EXPECT_EQ(BM_GETSTATE, 0x00F2);
  EXPECT_EQ(BM_SETSTATE, 0x00F3);
  EXPECT_EQ(BM_SETSTYLE, 0x00F4);
  EXPECT_EQ(BM_CLICK, 0x00F5);
  EXPECT_EQ(BN_CLICKED, 0);
  EXPECT_EQ(BN_SETFOCUS, 6);
  EXPECT_EQ(BN_KILLFOCUS, 7);
  EXPECT_EQ(WM_DRAWITEM, 0x002B);
  EXPECT_EQ(ODT_BUTTON, 4);
  EXPECT_EQ(ODA_DRAWENTIRE, 1);
  EXPECT_EQ(ODS_SELECTED, 1);
  EXPECT_EQ(ODS_DISABLED, 4);
  EXPECT_EQ(ODS_FOCUS, 0x10);
}

TEST_F(Buttons, SequencesOfTapClickAndSpace) {
  HWND b = button(BS_PUSHBUTTON);
  tap(b);
  EXPECT_TRUE(recorder.matches(kTapSeq, b));
  recorder.clear();
  SendMessageW(b, BM_CLICK, 0, 0);
  EXPECT_TRUE(recorder.matches(kClickSeq, b));
  recorder.clear();
  SendMessageW(b, WM_KEYDOWN, VK_SPACE, 1);
  SendMessageW(b, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
  EXPECT_TRUE(recorder.matches(kSpaceSeq, b));
}

TEST_F(Buttons, PressedWhileTheStylusIsInsideClickedOnlyWhenLiftedThere) {
  HWND b = button(BS_PUSHBUTTON);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 5));
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_FOCUS);
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 5));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-3), 5));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(clicks(), 0);
  // Losing the capture midway cancels the press.
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ReleaseCapture();
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks(), 0);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_FOCUS);
}

TEST_F(Buttons, CheckBoxesTwoAndThreeStates) {
  HWND automatic = button(BS_AUTOCHECKBOX, 7);
  HWND manual = button(BS_CHECKBOX, 8, u"Manual", {10, 50, 110, 70});
  HWND three = button(BS_AUTO3STATE, 9, u"Three", {10, 80, 110, 100});
  SendMessageW(automatic, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(automatic, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks(7), 2);
  SendMessageW(manual, BM_CLICK, 0, 0);  // the parent decides
  EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks(8), 1);
  SendMessageW(manual, BM_SETCHECK, BST_INDETERMINATE, 0);  // two states only
  EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_CHECKED);
  const LRESULT cycle[] = {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED};
  for (LRESULT expected : cycle) {
    SendMessageW(three, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(three, BM_GETCHECK, 0, 0), expected);
  }
  SendMessageW(three, BM_SETCHECK, 5, 0);
  EXPECT_EQ(SendMessageW(three, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  HWND push = button(BS_PUSHBUTTON, 10, u"Push", {120, 10, 200, 40});
  SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);  // a push button has no check
  EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, AutomaticRadioButtonsWithinTheirGroup) {
  HWND one = button(BS_AUTORADIOBUTTON | WS_GROUP, 1, u"One", {10, 10, 100, 30});
  HWND two = button(BS_AUTORADIOBUTTON, 2, u"Two", {10, 30, 100, 50});
  HWND three = button(BS_AUTORADIOBUTTON, 3, u"Three", {10, 50, 100, 70});
  HWND other = button(BS_AUTORADIOBUTTON | WS_GROUP, 4, u"Other", {10, 70, 100, 90});
  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  tap(one);
  tap(three);
  EXPECT_EQ(SendMessageW(one, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(two, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(three, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
  EXPECT_EQ(clicks(1), 1);
  EXPECT_EQ(clicks(3), 1);
  // The checked radio button is its group's tab stop.
  EXPECT_EQ(GetWindowLongW(three, GWL_STYLE) & WS_TABSTOP, WS_TABSTOP);
  EXPECT_EQ(GetWindowLongW(one, GWL_STYLE) & WS_TABSTOP, 0);
  HWND manual = button(BS_RADIOBUTTON | WS_GROUP, 5, u"Manual", {120, 10, 200, 30});
  tap(manual);
  EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks(5), 1);
}

TEST_F(Buttons, DialogCodesAndStyleChanges) {
  HWND b = button(BS_PUSHBUTTON);
  EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), 0x2000 | 0x20);
  SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);  // only the type changes
  EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), 0x2000 | 0x10);
  EXPECT_EQ(SendMessageW(button(BS_AUTORADIOBUTTON, 2), WM_GETDLGCODE, 0, 0), 0x2000 | 0x40);
  EXPECT_EQ(SendMessageW(button(BS_AUTOCHECKBOX, 3), WM_GETDLGCODE, 0, 0), 0x2000);
  EXPECT_EQ(SendMessageW(button(BS_GROUPBOX, 4), WM_GETDLGCODE, 0, 0), 0x100);
  HWND group = button(BS_GROUPBOX, 5);
  tap(group);  // a group box is no button to press
  EXPECT_EQ(clicks(5), 0);
}

TEST_F(Buttons, FocusAndStateBits) {
  HWND b = button(BS_PUSHBUTTON | BS_NOTIFY);
  SetFocus(b);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_FOCUS);
  SendMessageW(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), BST_FOCUS | BST_PUSHED);
  SendMessageW(b, BM_SETSTATE, FALSE, 0);
  SetFocus(parent);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), 0);
  bool setFocus = false, killFocus = false;
  for (const auto& m : recorder.messages()) {
    if (m.window == parent && m.message == WM_COMMAND && m.wParam == command(7, BN_SETFOCUS)) setFocus = true;
    if (m.window == parent && m.message == WM_COMMAND && m.wParam == command(7, BN_KILLFOCUS)) killFocus = true;
  }
  EXPECT_TRUE(setFocus);
  EXPECT_TRUE(killFocus);
}

TEST_F(Buttons, OwnerDrawnButtonsAreDrawnByTheParent) {
  std::vector<DRAWITEMSTRUCT> drawn;
  recorder.react(WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  HWND b = button(BS_OWNERDRAW, 12);
  recorder.pumpPending();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().CtlType, 4u);
  EXPECT_EQ(drawn.back().CtlID, 12u);
  EXPECT_EQ(drawn.back().itemAction, 1u);
  EXPECT_EQ(drawn.back().hwndItem, b);
  EXPECT_EQ(drawn.back().rcItem.right, 100);
  SendMessageW(b, BM_SETSTATE, TRUE, 0);
  recorder.pumpPending();
  EXPECT_EQ(drawn.back().itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
  EnableWindow(b, FALSE);
  recorder.pumpPending();
  EXPECT_EQ(drawn.back().itemState & ODS_DISABLED, static_cast<UINT>(ODS_DISABLED));
}

TEST_F(Buttons, TheHandheldLook) {
  HWND push = button(BS_PUSHBUTTON, 7, u"", {10, 10, 60, 30});
  EXPECT_EQ(pixel(push, 0, 0), RGB(0, 0, 0));       // a one-line black frame
  EXPECT_EQ(pixel(push, 1, 1), RGB(255, 255, 255));  // on a white face
  HWND def = button(BS_DEFPUSHBUTTON, 8, u"", {70, 10, 120, 30});
  EXPECT_EQ(pixel(def, 1, 1), RGB(0, 0, 0));  // the default button's frame is two lines
  SendMessageW(push, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(pixel(push, 5, 5), GetSysColor(COLOR_HIGHLIGHT));
  HWND check = button(BS_AUTOCHECKBOX, 9, u"", {10, 40, 100, 60});
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(pixel(check, 0, 4), RGB(0, 0, 0));  // the box's frame, 11 pixels high, centred
  EXPECT_EQ(pixel(check, 50, 10), GetSysColor(COLOR_STATIC));
}

TEST_F(Buttons, ParentColoursPaintTheBackground) {
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  HWND seenControl = nullptr;
  recorder.react(WM_CTLCOLORBTN, [&](HWND, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    seenControl = reinterpret_cast<HWND>(lParam);
    SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
    return reinterpret_cast<LRESULT>(blue);
  });
  HWND check = button(BS_AUTOCHECKBOX, 7, u"", {10, 40, 100, 60});
  EXPECT_EQ(pixel(check, 60, 10), RGB(0, 0, 255));
  EXPECT_EQ(seenControl, check);
  DestroyWindow(check);
  DeleteObject(blue);
}

}  // namespace
}  // namespace handheld::testing
