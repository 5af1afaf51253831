// Icons, cursors and menus from a module's resources.
#include <gtest/gtest.h>
#include <windows.h>

#include "resource.h"

namespace {

HINSTANCE self() { return GetModuleHandleW(nullptr); }

COLORREF pixelAfterDrawing(HICON icon, int x, int y, int size) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all{0, 0, 64, 64};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
  COLORREF color = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return color;
}

TEST(Icons, BestSizeIsChosenAndTheMaskShowsTheBackground) {
  HANDLE small = LoadImageW(self(), MAKEINTRESOURCEW(IDI_TWO_SIZES), IMAGE_ICON, 16, 16, 0);
  HANDLE large = LoadImageW(self(), MAKEINTRESOURCEW(IDI_TWO_SIZES), IMAGE_ICON, 32, 32, 0);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  auto* smallIcon = static_cast<HICON>(small);
  auto* largeIcon = static_cast<HICON>(large);
  EXPECT_EQ(pixelAfterDrawing(smallIcon, 10, 5, 16), RGB(255, 0, 0));   // the 16-pixel image is red
  EXPECT_EQ(pixelAfterDrawing(smallIcon, 1, 5, 16), RGB(255, 255, 255));  // masked: background
  EXPECT_EQ(pixelAfterDrawing(largeIcon, 20, 5, 32), RGB(0, 0, 255));  // the 32-pixel image is blue
  EXPECT_EQ(pixelAfterDrawing(largeIcon, 7, 5, 32), RGB(255, 255, 255));
  EXPECT_TRUE(DestroyIcon(smallIcon));
  EXPECT_FALSE(DestroyIcon(smallIcon));
  EXPECT_TRUE(DestroyIcon(largeIcon));
}

TEST(Icons, NamedCursorSystemCursorAndMissingOnes) {
  HCURSOR named = LoadCursorW(self(), u"IDC_ARROW");
  ASSERT_NE(named, nullptr);
  EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), nullptr);
  EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_EQ(LoadIconW(self(), MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_EQ(SetCursor(named), nullptr);
  EXPECT_EQ(GetCursor(), named);
  EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, named, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(DrawIcon(nullptr, 0, 0, reinterpret_cast<HICON>(0x1234)));
}

TEST(Menus, LoadedFromATemplateWithStatesAndPopups) {
  HMENU menu = LoadMenuW(self(), MAKEINTRESOURCEW(IDM_MAIN));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemCount(file), 4);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_NEW));
  EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(-1));  // a pop-up has no command
  EXPECT_EQ(GetMenuState(menu, IDM_OPEN, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(menu, IDM_HELP, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  WCHAR text[16];
  EXPECT_EQ(GetMenuStringW(menu, IDM_EXIT, text, 16, MF_BYCOMMAND), 5);
  EXPECT_EQ(std::u16string(text), u"E&xit");

  // Commands are found inside pop-ups; the previous state comes back.
  EXPECT_EQ(EnableMenuItem(menu, IDM_OPEN, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(file, IDM_OPEN, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(CheckMenuItem(menu, IDM_HELP, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(menu, 4242, MF_BYCOMMAND | MF_GRAYED), -1);

  EXPECT_TRUE(DeleteMenu(file, IDM_NEW, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(file), 3);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(GetMenuItemCount(file), -1);  // destroyed with its parent
  EXPECT_FALSE(DestroyMenu(menu));
}

TEST(Menus, BuiltByHand) {
  HMENU popup = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(popup, MF_STRING, 10, u"One"));
  ASSERT_TRUE(AppendMenuW(popup, MF_STRING, 30, u"Three"));
  ASSERT_TRUE(InsertMenuW(popup, 30, MF_BYCOMMAND | MF_STRING, 20, u"Two"));
  EXPECT_EQ(GetMenuItemID(popup, 1), 20u);
  ASSERT_TRUE(ModifyMenuW(popup, 1, MF_BYPOSITION | MF_STRING | MF_GRAYED, 21, u"Two!"));
  EXPECT_EQ(GetMenuItemID(popup, 1), 21u);
  EXPECT_TRUE(CheckMenuRadioItem(popup, 10, 30, 21, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(popup, 21, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(GetMenuState(popup, 10, MF_BYCOMMAND) & MF_CHECKED, 0u);
  HMENU bar = CreateMenu();
  ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"Menu"));
  EXPECT_FALSE(AppendMenuW(bar, MF_POPUP, 0x4321, u"Bad"));
  EXPECT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(popup), 3);  // taken out, not destroyed
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_TRUE(DestroyMenu(popup));
}

}  // namespace
