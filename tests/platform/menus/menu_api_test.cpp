// The menu API over menus as data: values, bad handles, positions out of range, commands
// found inside pop-ups, menu item information, and menus that would hold themselves.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kInvalidMenuHandle = 1401;
constexpr DWORD kItemNotFound = 1456;
constexpr DWORD kInvalidParameter = 87;

const HMENU kBogus = reinterpret_cast<HMENU>(static_cast<uintptr_t>(0x5100dead));

TEST(MenuValues, AsTheHeadersOfThePlatformHaveThem) {
  EXPECT_EQ(MF_INSERT, 0x0u);
  EXPECT_EQ(MF_CHANGE, 0x80u);
  EXPECT_EQ(MF_APPEND, 0x100u);
  EXPECT_EQ(MF_DELETE, 0x200u);
  EXPECT_EQ(MF_REMOVE, 0x1000u);
  EXPECT_EQ(MF_BYCOMMAND, 0x0u);
  EXPECT_EQ(MF_BYPOSITION, 0x400u);
  EXPECT_EQ(MF_SEPARATOR, 0x800u);
  EXPECT_EQ(MF_ENABLED, 0x0u);
  EXPECT_EQ(MF_GRAYED, 0x1u);
  EXPECT_EQ(MF_DISABLED, 0x2u);
  EXPECT_EQ(MF_UNCHECKED, 0x0u);
  EXPECT_EQ(MF_CHECKED, 0x8u);
  EXPECT_EQ(MF_STRING, 0x0u);
  EXPECT_EQ(MF_BITMAP, 0x4u);
  EXPECT_EQ(MF_OWNERDRAW, 0x100u);
  EXPECT_EQ(MF_POPUP, 0x10u);
  EXPECT_EQ(MF_MENUBARBREAK, 0x20u);
  EXPECT_EQ(MF_MENUBREAK, 0x40u);
  EXPECT_EQ(MF_UNHILITE, 0x0u);
  EXPECT_EQ(MF_HILITE, 0x80u);
  EXPECT_EQ(MF_DEFAULT, 0x1000u);

  EXPECT_EQ(MIIM_STATE, 0x1u);
  EXPECT_EQ(MIIM_ID, 0x2u);
  EXPECT_EQ(MIIM_SUBMENU, 0x4u);
  EXPECT_EQ(MIIM_CHECKMARKS, 0x8u);
  EXPECT_EQ(MIIM_TYPE, 0x10u);
  EXPECT_EQ(MIIM_DATA, 0x20u);
  EXPECT_EQ(MFT_STRING, 0x0u);
  EXPECT_EQ(MFT_BITMAP, 0x4u);
  EXPECT_EQ(MFT_MENUBARBREAK, 0x20u);
  EXPECT_EQ(MFT_MENUBREAK, 0x40u);
  EXPECT_EQ(MFT_OWNERDRAW, 0x100u);
  EXPECT_EQ(MFT_RADIOCHECK, 0x200u);
  EXPECT_EQ(MFT_SEPARATOR, 0x800u);
  EXPECT_EQ(MFS_ENABLED, 0x0u);
  EXPECT_EQ(MFS_GRAYED, 0x3u);
  EXPECT_EQ(MFS_DISABLED, 0x3u);
  EXPECT_EQ(MFS_UNCHECKED, 0x0u);
  EXPECT_EQ(MFS_CHECKED, 0x8u);
  EXPECT_EQ(MFS_UNHILITE, 0x0u);
  EXPECT_EQ(MFS_HILITE, 0x80u);
  EXPECT_EQ(MFS_DEFAULT, 0x1000u);

  EXPECT_EQ(TPM_LEFTBUTTON, 0x0u);
  EXPECT_EQ(TPM_LEFTALIGN, 0x0u);
  EXPECT_EQ(TPM_CENTERALIGN, 0x4u);
  EXPECT_EQ(TPM_RIGHTALIGN, 0x8u);
  EXPECT_EQ(TPM_TOPALIGN, 0x0u);
  EXPECT_EQ(TPM_VCENTERALIGN, 0x10u);
  EXPECT_EQ(TPM_BOTTOMALIGN, 0x20u);
  EXPECT_EQ(TPM_HORIZONTAL, 0x0u);
  EXPECT_EQ(TPM_VERTICAL, 0x40u);
  EXPECT_EQ(TPM_NONOTIFY, 0x80u);
  EXPECT_EQ(TPM_RETURNCMD, 0x100u);

  EXPECT_EQ(WM_INITMENUPOPUP, 0x117u);
  EXPECT_EQ(WM_ENTERMENULOOP, 0x211u);
  EXPECT_EQ(WM_EXITMENULOOP, 0x212u);
  EXPECT_EQ(ERROR_INVALID_MENU_HANDLE, 1401);
  EXPECT_EQ(ERROR_MENU_ITEM_NOT_FOUND, 1456);
}

// Every function refuses a handle that names no menu, or one destroyed, with 1401.
TEST(MenuHandles, BadAndDestroyedHandlesFailWithoutHarm) {
  HMENU destroyed = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(destroyed));
  MENUITEMINFOW info{sizeof(MENUITEMINFOW), MIIM_ID};
  for (HMENU bad : {kBogus, destroyed, static_cast<HMENU>(nullptr)}) {
    auto failsWith1401 = [](bool failed) {
      const DWORD error = GetLastError();
      SetLastError(0);
      return failed && error == kInvalidMenuHandle;
    };
    SetLastError(0);
    EXPECT_TRUE(failsWith1401(!DestroyMenu(bad)));
    EXPECT_TRUE(failsWith1401(!AppendMenuW(bad, MF_STRING, 1, u"x")));
    EXPECT_TRUE(failsWith1401(!InsertMenuW(bad, 0, MF_BYPOSITION, 1, u"x")));
    EXPECT_TRUE(failsWith1401(!ModifyMenuW(bad, 0, MF_BYPOSITION, 1, u"x")));
    EXPECT_TRUE(failsWith1401(!DeleteMenu(bad, 0, MF_BYPOSITION)));
    EXPECT_TRUE(failsWith1401(!RemoveMenu(bad, 0, MF_BYPOSITION)));
    EXPECT_TRUE(failsWith1401(GetMenuItemCount(bad) == -1));
    EXPECT_TRUE(failsWith1401(GetMenuItemID(bad, 0) == 0xFFFFFFFFu));
    EXPECT_TRUE(failsWith1401(GetSubMenu(bad, 0) == nullptr));
    EXPECT_TRUE(failsWith1401(static_cast<DWORD>(EnableMenuItem(bad, 0, MF_BYPOSITION)) == 0xFFFFFFFFu));
    EXPECT_TRUE(failsWith1401(CheckMenuItem(bad, 0, MF_BYPOSITION) == 0xFFFFFFFFu));
    EXPECT_TRUE(failsWith1401(!CheckMenuRadioItem(bad, 0, 1, 0, MF_BYPOSITION)));
    EXPECT_TRUE(failsWith1401(!GetMenuItemInfoW(bad, 0, TRUE, &info)));
    EXPECT_TRUE(failsWith1401(!SetMenuItemInfoW(bad, 0, TRUE, &info)));
    EXPECT_TRUE(failsWith1401(!TrackPopupMenuEx(bad, TPM_RETURNCMD, 0, 0, nullptr, nullptr)));
  }
  HMENU menu = CreateMenu();
  EXPECT_FALSE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(destroyed), u"Gone"));
  EXPECT_EQ(GetLastError(), kInvalidMenuHandle);
  EXPECT_EQ(GetMenuItemCount(menu), 0);
  EXPECT_TRUE(DestroyMenu(menu));
}

class MenuTree : public ::testing::Test {
 protected:
  // root: "One" (1), pop-up "Sub" { "Two" (2), pop-up "Deep" { "Three" (3) } }, "Four" (4)
  void SetUp() override {
    root = CreatePopupMenu();
    sub = CreatePopupMenu();
    deep = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(deep, MF_STRING, 3, u"Three"));
    ASSERT_TRUE(AppendMenuW(sub, MF_STRING, 2, u"Two"));
    ASSERT_TRUE(AppendMenuW(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(deep), u"Deep"));
    ASSERT_TRUE(AppendMenuW(root, MF_STRING, 1, u"One"));
    ASSERT_TRUE(AppendMenuW(root, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Sub"));
    ASSERT_TRUE(AppendMenuW(root, MF_STRING, 4, u"Four"));
  }
  void TearDown() override { DestroyMenu(root); }

  HMENU root = nullptr, sub = nullptr, deep = nullptr;
};

TEST_F(MenuTree, PositionsOutOfRange) {
  EXPECT_EQ(GetSubMenu(root, 3), nullptr);
  EXPECT_EQ(GetSubMenu(root, -1), nullptr);
  EXPECT_EQ(GetSubMenu(root, 0), nullptr);  // a command, not a pop-up
  EXPECT_EQ(GetSubMenu(root, 1), sub);
  EXPECT_EQ(GetMenuItemID(root, 3), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuItemID(root, -1), 0xFFFFFFFFu);
  SetLastError(0);
  EXPECT_EQ(static_cast<DWORD>(EnableMenuItem(root, 3, MF_BYPOSITION | MF_GRAYED)), 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), kItemNotFound);
  EXPECT_EQ(CheckMenuItem(root, 99, MF_BYPOSITION | MF_CHECKED), 0xFFFFFFFFu);
  SetLastError(0);
  EXPECT_FALSE(DeleteMenu(root, 3, MF_BYPOSITION));
  EXPECT_EQ(GetLastError(), kItemNotFound);
  EXPECT_FALSE(ModifyMenuW(root, 3, MF_BYPOSITION, 9, u"x"));
  MENUITEMINFOW info{sizeof(MENUITEMINFOW), MIIM_ID};
  SetLastError(0);
  EXPECT_FALSE(GetMenuItemInfoW(root, 3, TRUE, &info));
  EXPECT_EQ(GetLastError(), kItemNotFound);
  // Inserting past the end appends; by a command that is nowhere fails.
  EXPECT_TRUE(InsertMenuW(root, 50, MF_BYPOSITION | MF_STRING, 5, u"Five"));
  EXPECT_EQ(GetMenuItemID(root, 3), 5u);
  SetLastError(0);
  EXPECT_FALSE(InsertMenuW(root, 777, MF_BYCOMMAND | MF_STRING, 6, u"Six"));
  EXPECT_EQ(GetLastError(), kItemNotFound);
  EXPECT_EQ(GetMenuItemCount(root), 4);
}

TEST_F(MenuTree, ByCommandReachesIntoPopUpsAtAnyDepth) {
  EXPECT_EQ(EnableMenuItem(root, 3, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(root, 3, MF_BYCOMMAND | MF_ENABLED), 1);  // was MF_GRAYED
  EXPECT_EQ(CheckMenuItem(root, 2, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(CheckMenuItem(root, 2, MF_BYCOMMAND | MF_UNCHECKED), 8u);  // was MF_CHECKED
  EXPECT_TRUE(InsertMenuW(root, 3, MF_BYCOMMAND | MF_STRING, 30, u"Before three"));
  EXPECT_EQ(GetMenuItemCount(deep), 2);
  EXPECT_EQ(GetMenuItemID(deep, 0), 30u);
  EXPECT_TRUE(ModifyMenuW(root, 30, MF_BYCOMMAND | MF_STRING, 31, u"Changed"));
  EXPECT_EQ(GetMenuItemID(deep, 0), 31u);
  MENUITEMINFOW info{sizeof(MENUITEMINFOW), MIIM_ID};
  ASSERT_TRUE(GetMenuItemInfoW(root, 31, FALSE, &info));
  EXPECT_EQ(info.wID, 31u);
  EXPECT_TRUE(DeleteMenu(root, 31, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(deep), 1);
  // By position means this menu's own items only.
  EXPECT_EQ(static_cast<DWORD>(EnableMenuItem(root, 2, MF_BYPOSITION | MF_GRAYED)), 0u);  // "Four"
  EXPECT_EQ(GetMenuState(root, 4, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
}

TEST_F(MenuTree, AMenuNeverHoldsItself) {
  SetLastError(0);
  EXPECT_FALSE(AppendMenuW(root, MF_POPUP, reinterpret_cast<UINT_PTR>(root), u"Self"));
  EXPECT_EQ(GetLastError(), kInvalidParameter);
  EXPECT_FALSE(AppendMenuW(deep, MF_POPUP, reinterpret_cast<UINT_PTR>(root), u"Loop"));
  EXPECT_FALSE(InsertMenuW(deep, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Loop"));
  EXPECT_FALSE(ModifyMenuW(deep, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Loop"));
  MENUITEMINFOW info{sizeof(MENUITEMINFOW), MIIM_SUBMENU};
  info.hSubMenu = root;
  EXPECT_FALSE(SetMenuItemInfoW(deep, 0, TRUE, &info));
  EXPECT_EQ(GetMenuItemID(deep, 0), 3u);  // left as it was
  // A search for a command that is nowhere still ends.
  EXPECT_EQ(GetMenuState(root, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
}

TEST_F(MenuTree, ItemInformationByMask) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(MENUITEMINFOW) - 1;
  info.fMask = MIIM_ID;
  SetLastError(0);
  EXPECT_FALSE(GetMenuItemInfoW(root, 0, TRUE, &info));
  EXPECT_EQ(GetLastError(), kInvalidParameter);
  EXPECT_FALSE(SetMenuItemInfoW(root, 0, TRUE, &info));
  EXPECT_FALSE(GetMenuItemInfoW(root, 0, TRUE, nullptr));

  // The text: its length without a buffer, truncated into a short one.
  info = {sizeof(MENUITEMINFOW), MIIM_TYPE | MIIM_SUBMENU | MIIM_STATE | MIIM_ID};
  ASSERT_TRUE(GetMenuItemInfoW(root, 1, TRUE, &info));
  EXPECT_EQ(info.cch, 3u);
  EXPECT_EQ(info.fType, MFT_STRING);
  EXPECT_EQ(info.hSubMenu, sub);
  EXPECT_EQ(info.fState, MFS_ENABLED);
  WCHAR buffer[3] = {u'?', u'?', u'?'};
  info.dwTypeData = buffer;
  info.cch = 3;
  ASSERT_TRUE(GetMenuItemInfoW(root, 1, TRUE, &info));
  EXPECT_EQ(std::u16string(buffer), u"Su");
  EXPECT_EQ(info.cch, 3u);

  // Setting parts: state, id, data, type and text; the rest stays.
  MENUITEMINFOW change{sizeof(MENUITEMINFOW), MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_TYPE};
  change.fState = MFS_CHECKED | MFS_GRAYED;
  change.wID = 44;
  change.dwItemData = 0xFEEDu;
  change.fType = MFT_STRING | MFT_RADIOCHECK;
  WCHAR text[] = u"Forty-four";
  change.dwTypeData = text;
  ASSERT_TRUE(SetMenuItemInfoW(root, 4, FALSE, &change));
  EXPECT_EQ(GetMenuItemID(root, 2), 44u);
  EXPECT_EQ(GetMenuState(root, 44, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), MF_CHECKED | MF_GRAYED);
  WCHAR back[32];
  MENUITEMINFOW read{sizeof(MENUITEMINFOW), MIIM_STATE | MIIM_DATA | MIIM_TYPE};
  read.dwTypeData = back;
  read.cch = 32;
  ASSERT_TRUE(GetMenuItemInfoW(root, 44, FALSE, &read));
  EXPECT_EQ(std::u16string(back), u"Forty-four");
  EXPECT_EQ(read.dwItemData, 0xFEEDu);
  EXPECT_EQ(read.fType, MFT_RADIOCHECK);
  EXPECT_EQ(read.fState & MFS_CHECKED, MFS_CHECKED);

  // A separator by type; a pop-up taken away with MIIM_SUBMENU and null.
  MENUITEMINFOW separator{sizeof(MENUITEMINFOW), MIIM_TYPE};
  separator.fType = MFT_SEPARATOR;
  ASSERT_TRUE(SetMenuItemInfoW(root, 0, TRUE, &separator));
  EXPECT_EQ(GetMenuState(root, 0, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  MENUITEMINFOW noPopup{sizeof(MENUITEMINFOW), MIIM_SUBMENU};
  ASSERT_TRUE(SetMenuItemInfoW(root, 1, TRUE, &noPopup));
  EXPECT_EQ(GetSubMenu(root, 1), nullptr);
  EXPECT_TRUE(DestroyMenu(sub));  // the caller's again
}

TEST_F(MenuTree, RadioChecksAGroupWithADot) {
  ASSERT_TRUE(AppendMenuW(root, MF_STRING | MF_CHECKED, 5, u"Five"));
  EXPECT_TRUE(CheckMenuRadioItem(root, 2, 3, 2, MF_BYPOSITION));  // "Four" and "Five"
  MENUITEMINFOW info{sizeof(MENUITEMINFOW), MIIM_TYPE | MIIM_STATE};
  ASSERT_TRUE(GetMenuItemInfoW(root, 4, FALSE, &info));
  EXPECT_EQ(info.fType & MFT_RADIOCHECK, MFT_RADIOCHECK);
  EXPECT_EQ(info.fState & MFS_CHECKED, MFS_CHECKED);
  EXPECT_EQ(GetMenuState(root, 5, MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Items of different menus are no group.
  EXPECT_FALSE(CheckMenuRadioItem(root, 1, 3, 1, MF_BYCOMMAND));
}

}  // namespace
