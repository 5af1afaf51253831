// Menu bars in this process: what the resources make (text buttons with menus, images from
// the strip, the input-panel button), the toolbar messages a program sends to the bar, the
// SHCMBM_ messages, tooltips for the image buttons, flags, damaged resources and automation.
#include <gtest/gtest.h>

#include "menu_bar_fixture.h"

namespace handheld::testing {
namespace {

TBBUTTON imageButton(int image, int command, BYTE style = TBSTYLE_BUTTON) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = command;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = style;
  b.iString = -1;
  return b;
}

class MenuBars : public MenuBarTest {
 protected:
  // The note window's bar: "Edit" from the resource, then the image buttons the program adds.
  HWND noteBar() {
    SHMENUBARINFO i = info(IDM_NOTE_BAR);
    i.nBmpId = GetSystemMetrics(SM_CXSMICON) != 16 ? IDB_IMAGES_LARGE : IDB_IMAGES_SMALL;
    i.cBmpImages = 11;
    EXPECT_TRUE(SHCreateMenuBar(&i));
    const TBBUTTON buttons[] = {imageButton(3, 1132), imageButton(4, 1131), imageButton(6, 1134),
                                imageButton(0, 0, TBSTYLE_SEP), imageButton(5, 1133), imageButton(8, 110),
                                imageButton(10, 120)};
    EXPECT_TRUE(SendMessageW(i.hwndMB, TB_ADDBUTTONSW, 7, reinterpret_cast<LPARAM>(buttons)));
    return i.hwndMB;
  }
  COLORREF pixel(HWND window, POINT at) {
    recorder.pumpPending();
    HDC hdc = GetDC(window);
    const COLORREF color = GetPixel(hdc, at.x, at.y);
    ReleaseDC(window, hdc);
    return color;
  }
};

TEST_F(MenuBars, ValuesThePlatformGives) {
  EXPECT_EQ(SHCMBF_EMPTYBAR, 0x0001);
  EXPECT_EQ(SHCMBF_HIDDEN, 0x0002);
  EXPECT_EQ(SHCMBF_HIDESIPBUTTON, 0x0004);
  EXPECT_EQ(SHCMBF_COLORBK, 0x0008);
  EXPECT_EQ(SHCMBF_HMENU, 0x0010);
  EXPECT_EQ(SHCMBM_SETSUBMENU, 0x0590);  // WM_USER + 400
  EXPECT_EQ(SHCMBM_GETSUBMENU, 0x0591);
  EXPECT_EQ(SHCMBM_GETMENU, 0x0592);
  EXPECT_EQ(NOMENU, 0xFFFF);
}

TEST_F(MenuBars, StandsAlongTheBottomOwnedByItsWindow) {
  HWND bar = make(IDM_NOTE_BAR);
  ASSERT_NE(bar, nullptr);
  RECT r{};
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 320 - 26);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 320);
  EXPECT_EQ(GetWindow(bar, GW_OWNER), owner);
  EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(bar));
  // Showing the bar leaves the owner active.
  EXPECT_EQ(GetActiveWindow(), owner);
  // The input-panel button takes the right end: the buttons end 26 pixels before it.
  RECT tools{};
  GetWindowRect(toolbarOf(bar), &tools);
  EXPECT_EQ(tools.right, 240 - 26);
  // The owner's destruction takes the bar along.
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(MenuBars, NoteBarImagesStatesAndCommands) {
  HWND bar = noteBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 8);
  // Images are small icons cut from the strip: the second button shows image 3's colour.
  const RECT zoomOut = buttonRect(bar, 1);
  EXPECT_EQ(zoomOut.right - zoomOut.left, 16 + 6);
  EXPECT_EQ(pixel(toolbarOf(bar), {(zoomOut.left + zoomOut.right) / 2, (zoomOut.top + zoomOut.bottom) / 2}),
            RGB(60, 195, 128));

  // The states the note window sets.
  EXPECT_TRUE(SendMessageW(bar, TB_ENABLEBUTTON, 1134, FALSE));
  EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 1134, 0), 0);
  EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, 1134, 0));
  EXPECT_TRUE(SendMessageW(bar, TB_SETSTATE, 110, 6));
  EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 110, 0), 6);
  EXPECT_TRUE(SendMessageW(bar, TB_SETSTATE, 110, 4));
  EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 110, 0), 4);
  EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 4242, 0), -1);

  // A tap on an image button is the owner's command; a disabled one sends nothing.
  HWND tools = toolbarOf(bar);
  for (WPARAM index : {WPARAM{2}, WPARAM{3}}) {
    const LPARAM at = middleOf(buttonRect(bar, index));
    SendMessageW(tools, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tools, WM_LBUTTONUP, 0, at);
  }
  const std::vector<std::pair<WORD, LPARAM>> expected = {{1131, reinterpret_cast<LPARAM>(bar)}};
  EXPECT_EQ(commands(), expected);
}

TEST_F(MenuBars, TooltipsBelongToTheImageButtonsOnly) {
  HWND bar = noteBar();
  ASSERT_NE(bar, nullptr);
  static const WCHAR* const tips[] = {u"Zoom out", u"Zoom in", u"Undo", u"Record", u"Pen mode", u"Show/hide grid"};
  SendMessageW(bar, TB_SETTOOLTIPS, 6, reinterpret_cast<LPARAM>(tips));
  HWND tools = toolbarOf(bar);
  auto held = [&](WPARAM index) {
    const LPARAM at = middleOf(buttonRect(bar, index));
    SendMessageW(tools, WM_LBUTTONDOWN, MK_LBUTTON, at);
    HWND tip = nullptr;
    recorder.pumpUntil([&] {
      tip = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
      return tip && IsWindowVisible(tip);
    });
    WCHAR text[64] = {};
    if (tip && IsWindowVisible(tip)) GetWindowTextW(tip, text, 64);
    SendMessageW(tools, WM_LBUTTONUP, 0, at);
    return std::u16string(text);
  };
  // "Edit" has none, so the first text is the first image button's; the separator takes none.
  EXPECT_EQ(held(1), u"Zoom out");
  EXPECT_EQ(held(5), u"Record");
  // Buttons added later are mapped again.
  const TBBUTTON more = imageButton(2, 1190);
  SendMessageW(bar, TB_INSERTBUTTONW, 1, reinterpret_cast<LPARAM>(&more));
  EXPECT_EQ(held(1), u"Zoom out");
  EXPECT_EQ(held(2), u"Zoom in");
  // The tap still counted.
  EXPECT_EQ(commands().size(), 4u);
}

TEST_F(MenuBars, MainBarMenusAndSubMenus) {
  HWND bar = make(IDM_MAIN_BAR);
  ASSERT_NE(bar, nullptr);
  auto state = stateOf(bar);
  ASSERT_EQ(state["buttons"].size(), 2u);
  EXPECT_EQ(state["buttons"][0]["text"], "New");
  EXPECT_EQ(state["buttons"][0]["command"], 1113);
  EXPECT_EQ(state["buttons"][0]["menu"], false);
  EXPECT_EQ(state["buttons"][1]["text"], "Tools");
  EXPECT_EQ(state["buttons"][1]["menu"], true);
  EXPECT_EQ(state["buttons"][1]["image"], -2);
  // Where a tap reaches each button: side by side on the bar, on the screen.
  RECT barRect{}, item{};
  GetWindowRect(bar, &barRect);
  SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  MapWindowPoints(GetWindow(bar, GW_CHILD), nullptr, reinterpret_cast<POINT*>(&item), 2);
  EXPECT_EQ(state["buttons"][1]["rect"],
            nlohmann::json::array({item.left, item.top, item.right - item.left, item.bottom - item.top}));
  EXPECT_EQ(state["buttons"][0]["rect"][0], barRect.left);
  EXPECT_GE(item.top, barRect.top);
  EXPECT_LE(item.bottom, barRect.bottom);
  EXPECT_EQ(state["inputPanelButton"], true);
  EXPECT_EQ(state["openMenu"], -1);

  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  HMENU tools = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_TOOLS));
  EXPECT_EQ(tools, GetSubMenu(menu, 1));
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(GetMenuItemID(tools, 0), 1144u);
  EXPECT_EQ(GetMenuItemID(tools, 1), 1122u);
  EXPECT_EQ(GetMenuItemID(tools, 2), 1158u);
  EXPECT_NE(EnableMenuItem(menu, 1, MF_BYPOSITION | MF_GRAYED), -1);
  EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_NEW), 0);

  // A new menu for "Tools": the old one comes back, the new one is what the button opens.
  HMENU mine = CreatePopupMenu();
  AppendMenuW(mine, MF_STRING, 77, u"Mine");
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_SETSUBMENU, IDM_TOOLS, reinterpret_cast<LPARAM>(mine))),
            tools);
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_TOOLS)), mine);
  // A command no button has changes nothing.
  EXPECT_EQ(SendMessageW(bar, SHCMBM_SETSUBMENU, 4242, reinterpret_cast<LPARAM>(mine)), 0);
  EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 4242), 0);

  // "New" is a command.
  HWND toolbar = toolbarOf(bar);
  const LPARAM at = middleOf(buttonRect(bar, 0));
  SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
  const std::vector<std::pair<WORD, LPARAM>> expected = {{1113, reinterpret_cast<LPARAM>(bar)}};
  EXPECT_EQ(commands(), expected);
  DestroyWindow(bar);
  DestroyMenu(mine);  // the program's own menu stays the program's
}

TEST_F(MenuBars, FlagsEmptyBarsAndMenusAsBars) {
  HWND empty = make(0, SHCMBF_EMPTYBAR);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SendMessageW(empty, TB_BUTTONCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(empty, SHCMBM_GETMENU, 0, 0), 0);
  DestroyWindow(empty);

  HWND hidden = make(IDM_MAIN_BAR, SHCMBF_HIDDEN | SHCMBF_HIDESIPBUTTON);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  RECT tools{};
  GetWindowRect(toolbarOf(hidden), &tools);
  EXPECT_EQ(tools.right, 240);  // no input-panel button
  EXPECT_EQ(stateOf(hidden)["inputPanelButton"], false);
  DestroyWindow(hidden);

  // The dialogs' bar: one button that the program deletes, leaving an empty bar.
  HWND dialogBar = make(IDM_EMPTY_BAR);
  ASSERT_NE(dialogBar, nullptr);
  EXPECT_EQ(stateOf(dialogBar)["buttons"][0]["text"], "Empty");
  EXPECT_TRUE(SendMessageW(dialogBar, TB_DELETEBUTTON, 0, 0));
  EXPECT_EQ(SendMessageW(dialogBar, TB_BUTTONCOUNT, 0, 0), 0);
  DestroyWindow(dialogBar);

  // SHCMBF_HMENU: the menu's top-level items are the buttons.
  HWND fromMenu = make(IDM_MAIN_BAR, SHCMBF_HMENU);
  ASSERT_NE(fromMenu, nullptr);
  auto state = stateOf(fromMenu);
  ASSERT_EQ(state["buttons"].size(), 2u);
  EXPECT_EQ(state["buttons"][0]["text"], "New");
  EXPECT_EQ(state["buttons"][0]["command"], 1113);
  EXPECT_EQ(state["buttons"][0]["menu"], false);
  EXPECT_EQ(state["buttons"][1]["text"], "Tools");
  EXPECT_EQ(state["buttons"][1]["menu"], true);
}

TEST_F(MenuBars, RefusesWhatItCannotShowAndShowsWhatIsSound) {
  SHMENUBARINFO wrongSize = info(IDM_MAIN_BAR);
  wrongSize.cbSize = sizeof(wrongSize) - 4;
  EXPECT_FALSE(SHCreateMenuBar(&wrongSize));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(SHCreateMenuBar(nullptr));
  SHMENUBARINFO noOwner = info(IDM_MAIN_BAR);
  noOwner.hwndParent = nullptr;
  EXPECT_FALSE(SHCreateMenuBar(&noOwner));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

  SHMENUBARINFO missing = info(4321);
  missing.hwndMB = owner;
  EXPECT_FALSE(SHCreateMenuBar(&missing));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(missing.hwndMB, nullptr);
  SHMENUBARINFO damaged = info(IDM_COUNT_WRONG);
  EXPECT_FALSE(SHCreateMenuBar(&damaged));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  SHMENUBARINFO missingMenu = info(4321, SHCMBF_HMENU);
  EXPECT_FALSE(SHCreateMenuBar(&missingMenu));
  // No bar was left behind by any of them.
  EXPECT_EQ(FindWindowW(u"HandheldMenuBar", nullptr), nullptr);

  // A missing string and a sub-menu the menu lacks: both buttons show, neither with a menu.
  HWND partial = make(IDM_MISSING_PARTS);
  ASSERT_NE(partial, nullptr);
  auto state = stateOf(partial);
  ASSERT_EQ(state["buttons"].size(), 2u);
  EXPECT_EQ(state["buttons"][0]["text"], "");
  EXPECT_EQ(state["buttons"][1]["text"], "Tools");
  EXPECT_EQ(state["buttons"][1]["menu"], false);
  EXPECT_EQ(SendMessageW(partial, SHCMBM_GETSUBMENU, 0, IDM_TOOLS), 0);
  DestroyWindow(partial);
  // A menu that does not exist: the button shows without it, and a tap is a command.
  HWND noMenu = make(IDM_NO_SUCH_MENU);
  ASSERT_NE(noMenu, nullptr);
  EXPECT_EQ(SendMessageW(noMenu, SHCMBM_GETMENU, 0, 0), 0);
  HWND toolbar = toolbarOf(noMenu);
  const LPARAM at = middleOf(buttonRect(noMenu, 0));
  SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
  const std::vector<std::pair<WORD, LPARAM>> expected = {{IDM_TOOLS, reinterpret_cast<LPARAM>(noMenu)}};
  EXPECT_EQ(commands(), expected);
}

TEST_F(MenuBars, InputPanelButtonTogglesThePanel) {
  HWND bar = make(IDM_MAIN_BAR);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(stateOf(bar)["inputPanel"], false);
  RECT client{};
  GetClientRect(bar, &client);
  const LPARAM at = MAKELPARAM(client.right - 13, 13);
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(bar, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(stateOf(bar)["inputPanel"], true);
  // Lifted off the button: no change.
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 40, 13));
  EXPECT_EQ(stateOf(bar)["inputPanel"], true);
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(bar, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(stateOf(bar)["inputPanel"], false);
  // It is no command of the owner's.
  EXPECT_TRUE(commands().empty());
}

TEST_F(MenuBars, OwnColourAroundTheButtonsAndTheFaceOtherwise) {
  SHMENUBARINFO coloured = info(IDM_MAIN_BAR, SHCMBF_COLORBK);
  coloured.clrBk = RGB(200, 0, 0);
  ASSERT_TRUE(SHCreateMenuBar(&coloured));
  RECT client{};
  GetClientRect(coloured.hwndMB, &client);
  // The input-panel button's corner, below the top line.
  EXPECT_EQ(pixel(coloured.hwndMB, {client.right - 2, client.bottom - 2}), RGB(200, 0, 0));
  DestroyWindow(coloured.hwndMB);
  HWND plain = make(IDM_MAIN_BAR);
  EXPECT_EQ(pixel(plain, {client.right - 2, client.bottom - 2}), GetSysColor(COLOR_BTNFACE));
  // While the stylus holds the button it shows the selection colour.
  SendMessageW(plain, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 13, 13));
  EXPECT_EQ(pixel(plain, {client.right - 2, client.bottom - 2}), GetSysColor(COLOR_HIGHLIGHT));
  SendMessageW(plain, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 13, 13));
}

TEST_F(MenuBars, FollowsTheScreenWhenItTurns) {
  HWND bar = make(IDM_MAIN_BAR);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(ctl("screen qvga-landscape"), 0);
  RECT r{};
  EXPECT_TRUE(recorder.pumpUntil([&] {
    GetWindowRect(bar, &r);
    return r.right == 320;
  }));
  EXPECT_EQ(r.top, 240 - 26);
  EXPECT_EQ(r.bottom, 240);
  RECT tools{};
  GetWindowRect(toolbarOf(bar), &tools);
  EXPECT_EQ(tools.right, 320 - 26);
}

TEST_F(MenuBars, VgaDoublesTheBarAndTakesTheLargeImages) {
  DestroyWindow(owner);
  ASSERT_EQ(ctl("screen vga"), 0);
  owner = create(WS_VISIBLE, nullptr, {0, 0, 480, 640});
  ASSERT_EQ(GetSystemMetrics(SM_CXSMICON), 32);
  HWND bar = noteBar();
  ASSERT_NE(bar, nullptr);
  RECT r{};
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.top, 640 - 52);
  EXPECT_EQ(r.right, 480);
  const RECT zoomIn = buttonRect(bar, 2);
  EXPECT_EQ(zoomIn.right - zoomIn.left, 32 + 12);
  EXPECT_EQ(pixel(toolbarOf(bar), {(zoomIn.left + zoomIn.right) / 2, (zoomIn.top + zoomIn.bottom) / 2}),
            RGB(80, 175, 128));
}

}  // namespace
}  // namespace handheld::testing
