// Dialogs: templates in dialog units, the modal loop, focus, keyboard navigation, the item
// helpers and the dialog values.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls_fixture.h"
#include "platform/controls/resource.h"

namespace handheld::testing {
namespace {

// What the test's dialog procedure does: one handler per message, set by each test.
std::map<UINT, std::function<INT_PTR(HWND, WPARAM, LPARAM)>> g_handlers;
std::vector<WPARAM> g_commands;  // WM_COMMAND wParams the dialog saw

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_commands.push_back(wParam);
  auto it = g_handlers.find(message);
  return it != g_handlers.end() ? it->second(dialog, wParam, lParam) : FALSE;
}

class Dialogs : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    g_handlers.clear();
    g_commands.clear();
  }
  void TearDown() override {
    g_handlers.clear();
    ControlsTest::TearDown();
  }

  HWND modeless() {
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0);
    EXPECT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
  }

  // A key as the modal loop would see it, through IsDialogMessageW.
  void press(HWND dialog, UINT key) {
    HWND target = GetFocus() ? GetFocus() : dialog;
    MSG down{target, WM_KEYDOWN, key, 1, 0, {}};
    if (!IsDialogMessageW(dialog, &down)) DispatchMessageW(&down);
    MSG up{GetFocus() ? GetFocus() : dialog, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u), 0, {}};
    if (!IsDialogMessageW(dialog, &up)) DispatchMessageW(&up);
    recorder.pumpPending();
  }

  static WPARAM clicked(int id) { return MAKEWPARAM(id, BN_CLICKED); }
};

TEST_F(Dialogs, ValuesThePlatformGives) {
  EXPECT_EQ(WC_DIALOG, MAKEINTATOM(0x8002));
  EXPECT_EQ(DLGWINDOWEXTRA, 30);
  EXPECT_EQ(DWLP_MSGRESULT, 0);
  EXPECT_EQ(DWLP_DLGPROC, 8);
  EXPECT_EQ(DWLP_USER, 16);
  EXPECT_EQ(WM_INITDIALOG, 0x0110);
  EXPECT_EQ(WM_GETDLGCODE, 0x0087);
  EXPECT_EQ(WM_NEXTDLGCTL, 0x0028);
  EXPECT_EQ(DM_GETDEFID, 0x0400);
  EXPECT_EQ(DM_SETDEFID, 0x0401);
  EXPECT_EQ(DC_HASDEFID, 0x534B);
  EXPECT_EQ(IDOK, 1);
  EXPECT_EQ(IDCANCEL, 2);
  EXPECT_EQ(IDYES, 6);
  EXPECT_EQ(IDNO, 7);
  EXPECT_EQ(DS_SETFONT, 0x40);
  EXPECT_EQ(DS_MODALFRAME, 0x80);
  EXPECT_EQ(DS_CENTER, 0x0800);
  EXPECT_EQ(DLGC_WANTARROWS, 0x1);
  EXPECT_EQ(DLGC_WANTTAB, 0x2);
  EXPECT_EQ(DLGC_WANTALLKEYS, 0x4);
  EXPECT_EQ(DLGC_DEFPUSHBUTTON, 0x10);
  EXPECT_EQ(DLGC_UNDEFPUSHBUTTON, 0x20);
  EXPECT_EQ(DLGC_RADIOBUTTON, 0x40);
  EXPECT_EQ(DLGC_WANTCHARS, 0x80);
  EXPECT_EQ(DLGC_STATIC, 0x100);
  EXPECT_EQ(DLGC_BUTTON, 0x2000);
  EXPECT_EQ(WM_CTLCOLORBTN, 0x0135);
  EXPECT_EQ(WM_CTLCOLORDLG, 0x0136);
  EXPECT_EQ(WM_CTLCOLORSTATIC, 0x0138);
  EXPECT_EQ(sizeof(DLGTEMPLATE), 18u);
  EXPECT_EQ(sizeof(DLGITEMTEMPLATE), 18u);
}

TEST_F(Dialogs, TemplateBuildsTheClassAndControlsInDialogUnits) {
  HWND dialog = modeless();
  WCHAR name[16];
  GetClassNameW(dialog, name, 16);
  EXPECT_EQ(std::u16string(name), u"#32770");
  EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
  RECT units{0, 0, 4, 8};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  // Tahoma 8 pt at 96 dpi: the average letter is 7 pixels wide, the font 14 high.
  EXPECT_EQ(units.right, 7);
  EXPECT_EQ(units.bottom, 14);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 210);   // 120 units
  EXPECT_EQ(client.bottom, 175);  // 100 units
  HWND check = GetDlgItem(dialog, IDC_CHECK);
  ASSERT_NE(check, nullptr);
  RECT r;
  GetWindowRect(check, &r);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(r.left - origin.x, 7);    // x 4
  EXPECT_EQ(r.top - origin.y, 28);    // y 16
  EXPECT_EQ(r.right - r.left, 105);   // 60 wide
  GetClassNameW(check, name, 16);
  EXPECT_EQ(std::u16string(name), u"BUTTON");
  EXPECT_EQ(GetDlgCtrlID(check), IDC_CHECK);
  EXPECT_EQ(SendMessageW(check, WM_GETFONT, 0, 0), SendMessageW(dialog, WM_GETFONT, 0, 0));
  EXPECT_NE(SendMessageW(dialog, WM_GETFONT, 0, 0), 0);
  DestroyWindow(dialog);
}

TEST_F(Dialogs, DialogUnitsFollowTheScreenMode) {
  ASSERT_EQ(ctl("screen vga"), 0);
  HWND dialog = modeless();
  RECT units{0, 0, 4, 8};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  // The same font at 192 dpi.
  EXPECT_EQ(units.right, 13);
  EXPECT_EQ(units.bottom, 25);
  DestroyWindow(dialog);
}

TEST_F(Dialogs, ATemplateWithAnUnknownClassMakesNoDialog) {
  EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_BROKEN), parent, dialogProc, 0), nullptr);
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_BROKEN), parent, dialogProc, 0), -1);
  EXPECT_TRUE(IsWindowEnabled(parent));  // the owner is not left disabled
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), parent, dialogProc, 0), -1);
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, parent, dialogProc, 0), -1);
}

TEST_F(Dialogs, InitDialogTrueFocusesTheFirstTabStop) {
  HWND focusAtInit = nullptr;
  LPARAM param = 0;
  g_handlers[WM_INITDIALOG] = [&](HWND, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    focusAtInit = reinterpret_cast<HWND>(wParam);
    param = lParam;
    return TRUE;
  };
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 1234);
  ShowWindow(dialog, SW_SHOW);
  EXPECT_EQ(param, 1234);
  EXPECT_EQ(focusAtInit, GetDlgItem(dialog, IDC_CHECK));  // the label is no tab stop
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHECK));
  DestroyWindow(dialog);
}

TEST_F(Dialogs, InitDialogFalseKeepsTheFocusTheProcedureSet) {
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    SetFocus(GetDlgItem(dialog, IDC_PUSH));
    return FALSE;
  };
  HWND dialog = modeless();
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_PUSH));
  DestroyWindow(dialog);
}

TEST_F(Dialogs, TabMovesThroughTabStopsAndWraps) {
  HWND dialog = modeless();
  auto item = [&](int id) { return GetDlgItem(dialog, id); };
  ASSERT_EQ(GetFocus(), item(IDC_CHECK));
  CheckRadioButton(dialog, IDC_RADIO1, IDC_RADIO3, IDC_RADIO2);  // the checked radio is the group's stop
  const int order[] = {IDC_RADIO2, IDC_PUSH, IDOK, IDCANCEL, IDC_CHECK};
  for (int id : order) {
    press(dialog, VK_TAB);
    EXPECT_EQ(GetFocus(), item(id)) << "tab to " << id;
  }
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_CHECK), TRUE), item(IDCANCEL));  // shift-tab
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_PUSH), TRUE), item(IDC_RADIO2));
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), item(IDC_CHECK));
  EnableWindow(item(IDC_PUSH), FALSE);  // disabled controls are passed over
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_RADIO2), FALSE), item(IDOK));
  DestroyWindow(dialog);
}

TEST_F(Dialogs, ArrowsMoveWithinTheGroupAndCheckAutomaticRadios) {
  HWND dialog = modeless();
  auto item = [&](int id) { return GetDlgItem(dialog, id); };
  SetFocus(item(IDC_RADIO2));
  g_commands.clear();
  press(dialog, VK_DOWN);
  EXPECT_EQ(GetFocus(), item(IDC_RADIO3));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO3), BST_CHECKED);
  press(dialog, VK_DOWN);  // the group wraps at the next WS_GROUP
  EXPECT_EQ(GetFocus(), item(IDC_RADIO1));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO1), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO3), BST_UNCHECKED);
  press(dialog, VK_UP);
  EXPECT_EQ(GetFocus(), item(IDC_RADIO3));
  EXPECT_EQ(g_commands, (std::vector<WPARAM>{clicked(IDC_RADIO3), clicked(IDC_RADIO1), clicked(IDC_RADIO3)}));
  EXPECT_EQ(GetNextDlgGroupItem(dialog, item(IDC_CHECK), FALSE), item(IDC_LABEL));  // the label starts its group
  DestroyWindow(dialog);
}

TEST_F(Dialogs, EnterPressesTheDefaultButtonAndEscapeCancels) {
  HWND dialog = modeless();
  auto item = [&](int id) { return GetDlgItem(dialog, id); };
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  g_commands.clear();
  press(dialog, VK_RETURN);  // focus on the check box: the default button
  press(dialog, VK_ESCAPE);
  SetFocus(item(IDC_PUSH));
  press(dialog, VK_RETURN);  // a focused push button is the one enter presses
  SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
  SetFocus(item(IDC_CHECK));
  press(dialog, VK_RETURN);
  EXPECT_EQ(g_commands, (std::vector<WPARAM>{clicked(IDOK), clicked(IDCANCEL), clicked(IDC_PUSH), clicked(IDCANCEL)}));
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
  EXPECT_EQ(GetWindowLongW(item(IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongW(item(IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  DestroyWindow(dialog);
}

TEST_F(Dialogs, FocusOnAPushButtonMakesItLookTheDefault) {
  HWND dialog = modeless();
  auto type = [&](int id) { return GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK; };
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_PUSH)), TRUE);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_PUSH));
  EXPECT_EQ(type(IDC_PUSH), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(IDOK), BS_PUSHBUTTON);
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_CHECK)), TRUE);
  EXPECT_EQ(type(IDC_PUSH), BS_PUSHBUTTON);
  EXPECT_EQ(type(IDOK), BS_DEFPUSHBUTTON);
  DestroyWindow(dialog);
}

TEST_F(Dialogs, ModalLoopDisablesTheOwnerAndReturnsTheEndValue) {
  bool ownerEnabledAtInit = true, ownerEnabledLater = true;
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    ownerEnabledAtInit = IsWindowEnabled(parent);
    PostMessageW(dialog, WM_APP, 0, 0);
    return TRUE;
  };
  HWND seen = nullptr;
  g_handlers[WM_APP] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    seen = dialog;
    ownerEnabledLater = IsWindowEnabled(parent);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), parent);
    EndDialog(dialog, 42);
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0), 42);
  EXPECT_FALSE(ownerEnabledAtInit);
  EXPECT_FALSE(ownerEnabledLater);
  EXPECT_TRUE(IsWindowEnabled(parent));
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(Dialogs, KeysInTheModalLoopGoThroughTheDialogManager) {
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    PostMessageW(GetDlgItem(dialog, IDC_CHECK), WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(dialog, WM_APP, 0, 0);
    return TRUE;
  };
  int focusAfterTab = 0;
  g_handlers[WM_APP] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    focusAfterTab = GetDlgCtrlID(GetFocus());
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    return TRUE;
  };
  g_handlers[WM_COMMAND] = [&](HWND dialog, WPARAM wParam, LPARAM) -> INT_PTR {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0), IDCANCEL);
  EXPECT_EQ(focusAfterTab, IDC_RADIO1);
}

TEST_F(Dialogs, NestedModalLoopsEndInTurn) {
  HWND outer = nullptr;
  int depth = 0;
  bool outerDisabled = false;
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    if (!outer) outer = dialog;
    PostMessageW(dialog, WM_APP, 0, 0);
    return TRUE;
  };
  INT_PTR inner = 0;
  g_handlers[WM_APP] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    if (dialog == outer && depth == 0) {
      ++depth;
      inner = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), dialog, dialogProc, 0);
      return TRUE;
    }
    outerDisabled = !IsWindowEnabled(outer);
    EndDialog(outer, 5);  // from inside the nested loop: the outer loop ends after it
    EndDialog(dialog, 7);
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0), 5);
  EXPECT_EQ(inner, 7);
  EXPECT_TRUE(outerDisabled);
  EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(Dialogs, TheLoopEndsWhenTheOwnerIsDestroyed) {
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    PostMessageW(dialog, WM_APP, 0, 0);
    return TRUE;
  };
  g_handlers[WM_APP] = [&](HWND, WPARAM, LPARAM) -> INT_PTR {
    DestroyWindow(parent);
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0), 0);
  EXPECT_FALSE(IsWindow(parent));
}

TEST_F(Dialogs, CloseAsksForCancel) {
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return TRUE;
  };
  g_handlers[WM_COMMAND] = [&](HWND dialog, WPARAM wParam, LPARAM) -> INT_PTR {
    EndDialog(dialog, 100 + LOWORD(wParam));
    return TRUE;
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), parent, dialogProc, 0), 100 + IDCANCEL);
}

TEST_F(Dialogs, IndirectTemplateFromTheResourceBytes) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_FORM), RT_DIALOG);
  ASSERT_NE(found, nullptr);
  auto* bytes = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(nullptr, found)));
  g_handlers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM lParam) -> INT_PTR {
    EndDialog(dialog, lParam);
    return TRUE;
  };
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, bytes, parent, dialogProc, 77), 77);
  HWND dialog = CreateDialogIndirectParamW(nullptr, bytes, parent, dialogProc, 0);
  EXPECT_NE(GetDlgItem(dialog, IDCANCEL), nullptr);
  DestroyWindow(dialog);
}

// A child template lives in the window it was given, even a child window (a panel that
// scrolls it); a pop-up one is owned by that window's top-level window.
TEST_F(Dialogs, AChildTemplateLivesInTheChildWindowGiven) {
  HWND panel = CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(panel, nullptr);
  HWND inside = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PAGE_OPTIONS), panel, dialogProc, 0);
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(GetParent(inside), panel);
  EXPECT_TRUE(GetWindowLongW(inside, GWL_STYLE) & WS_CHILD);
  HWND popup = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_FORM), panel, dialogProc, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), parent);
  DestroyWindow(popup);
  DestroyWindow(panel);
  EXPECT_FALSE(IsWindow(inside));
}

TEST_F(Dialogs, MessageResultAndUserValue) {
  g_handlers[WM_APP] = [&](HWND dialog, WPARAM, LPARAM) -> INT_PTR {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0x1234567890LL);
    return TRUE;
  };
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  g_handlers[WM_CTLCOLORSTATIC] = [&](HWND, WPARAM, LPARAM) -> INT_PTR { return reinterpret_cast<INT_PTR>(red); };
  HWND dialog = modeless();
  EXPECT_EQ(SendMessageW(dialog, WM_APP, 0, 0), 0x1234567890LL);
  EXPECT_EQ(SendMessageW(dialog, WM_APP + 1, 0, 0), 0);  // not handled: DWLP_MSGRESULT is not used
  // The colour messages answer with the procedure's own return value.
  HDC hdc = GetDC(dialog);
  EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), 0), reinterpret_cast<LRESULT>(red));
  ReleaseDC(dialog, hdc);
  SetWindowLongPtrW(dialog, DWLP_USER, 0x7FFF00001111LL);
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 0x7FFF00001111LL);
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&dialogProc));
  // The label shows on the brush its dialog returned.
  EXPECT_EQ(pixel(GetDlgItem(dialog, IDC_LABEL), 58, 2), RGB(255, 0, 0));
  DestroyWindow(dialog);
  DeleteObject(red);
}

TEST_F(Dialogs, BackgroundFromCtlColorDlg) {
  HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  g_handlers[WM_CTLCOLORDLG] = [&](HWND, WPARAM, LPARAM) -> INT_PTR { return reinterpret_cast<INT_PTR>(green); };
  HWND dialog = modeless();
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(pixel(dialog, client.right - 2, client.bottom - 2), RGB(0, 200, 0));
  g_handlers.clear();
  InvalidateRect(dialog, nullptr, TRUE);
  EXPECT_EQ(pixel(dialog, client.right - 2, client.bottom - 2), GetSysColor(COLOR_STATIC));
  DestroyWindow(dialog);
  DeleteObject(green);
}

TEST_F(Dialogs, ItemHelpers) {
  HWND dialog = modeless();
  EXPECT_TRUE(SetDlgItemTextW(dialog, IDC_LABEL, u"Hello"));
  WCHAR text[4];
  EXPECT_EQ(GetDlgItemTextW(dialog, IDC_LABEL, text, 4), 3u);
  EXPECT_EQ(std::u16string(text), u"Hel");
  EXPECT_EQ(GetDlgItemTextW(dialog, 999, text, 4), 0u);
  EXPECT_EQ(text[0], 0);
  EXPECT_FALSE(SetDlgItemTextW(dialog, 999, u"x"));

  BOOL ok = FALSE;
  EXPECT_TRUE(SetDlgItemInt(dialog, IDC_LABEL, static_cast<UINT>(-25), TRUE));
  GetDlgItemTextW(dialog, IDC_LABEL, text, 4);
  EXPECT_EQ(std::u16string(text), u"-25");
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, IDC_LABEL, &ok, TRUE)), -25);
  EXPECT_TRUE(ok);
  EXPECT_EQ(GetDlgItemInt(dialog, IDC_LABEL, &ok, FALSE), 0u);  // a sign is no unsigned number
  EXPECT_FALSE(ok);
  SetDlgItemInt(dialog, IDC_LABEL, 4294967295u, FALSE);
  EXPECT_EQ(GetDlgItemInt(dialog, IDC_LABEL, &ok, FALSE), 4294967295u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(GetDlgItemInt(dialog, IDC_LABEL, &ok, TRUE), 0u);  // out of the signed range
  EXPECT_FALSE(ok);
  SetDlgItemTextW(dialog, IDC_LABEL, u" 12x");
  EXPECT_EQ(GetDlgItemInt(dialog, IDC_LABEL, &ok, TRUE), 0u);
  EXPECT_FALSE(ok);
  SetDlgItemTextW(dialog, IDC_LABEL, u"99999999999");
  EXPECT_EQ(GetDlgItemInt(dialog, IDC_LABEL, &ok, FALSE), 0u);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetDlgItemInt(dialog, 999, nullptr, FALSE), 0u);

  EXPECT_TRUE(CheckDlgButton(dialog, IDC_CHECK, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CHECK, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(CheckDlgButton(dialog, 999, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 999), 0u);
  EXPECT_EQ(SendDlgItemMessageW(dialog, 999, BM_GETCHECK, 0, 0), 0);
  EXPECT_TRUE(CheckRadioButton(dialog, IDC_RADIO1, IDC_RADIO3, IDC_RADIO3));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO1), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RADIO3), BST_CHECKED);
  RECT r{0, 0, 4, 8};
  EXPECT_FALSE(MapDialogRect(parent, &r));  // not a dialog
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace handheld::testing
