// A bar goes with its owner: hidden with it, shown again with it (not when the program hid the
// bar), made while the owner is still hidden shown only when it shows, and the owner's
// procedure given back when the last bar goes.
#include <gtest/gtest.h>

#include "menu_bar_fixture.h"

namespace handheld::testing {
namespace {

using MenuBarOwners = MenuBarTest;

TEST_F(MenuBarOwners, HidesAndShowsWithItsOwner) {
  const LONG_PTR procedure = GetWindowLongPtrW(owner, GWLP_WNDPROC);
  HWND bar = make(IDM_MAIN_BAR);
  ASSERT_NE(bar, nullptr);
  ShowWindow(owner, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(bar));
  ShowWindow(owner, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(bar));
  // Hidden by the program, it stays hidden when the owner comes back.
  ShowWindow(bar, SW_HIDE);
  ShowWindow(owner, SW_HIDE);
  ShowWindow(owner, SW_SHOW);
  EXPECT_FALSE(IsWindowVisible(bar));
  DestroyWindow(bar);
  EXPECT_EQ(GetWindowLongPtrW(owner, GWLP_WNDPROC), procedure);
  // The owner still works as before.
  SendMessageW(owner, WM_COMMAND, 5, 0);
  EXPECT_EQ(commands().size(), 1u);
}

TEST_F(MenuBarOwners, MadeWhileTheOwnerIsHiddenShowsWithIt) {
  HWND later = create(0, nullptr, {0, 0, 240, 320});
  SHMENUBARINFO i = info(IDM_MAIN_BAR);
  i.hwndParent = later;
  ASSERT_TRUE(SHCreateMenuBar(&i));
  EXPECT_FALSE(IsWindowVisible(i.hwndMB));
  ShowWindow(later, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(i.hwndMB));
  DestroyWindow(later);
  EXPECT_FALSE(IsWindow(i.hwndMB));
}

// A program that wraps the owner's procedure after the bar did keeps its wrapper when the bar
// goes, and the bar's wrapper keeps passing messages on.
LRESULT CALLBACK laterWrapper(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC wrapped = nullptr;
int wrapperCalls = 0;
LRESULT CALLBACK laterWrapper(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++wrapperCalls;
  return CallWindowProcW(wrapped, window, message, wParam, lParam);
}

TEST_F(MenuBarOwners, LeavesALaterWrapperInPlace) {
  HWND bar = make(IDM_MAIN_BAR);
  ASSERT_NE(bar, nullptr);
  wrapped = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterWrapper)));
  DestroyWindow(bar);
  EXPECT_EQ(GetWindowLongPtrW(owner, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(laterWrapper));
  wrapperCalls = 0;
  SendMessageW(owner, WM_APP, 0, 0);
  EXPECT_EQ(wrapperCalls, 1);
  SendMessageW(owner, WM_COMMAND, 6, 0);
  EXPECT_EQ(commands().size(), 1u);
  // A new bar on the same owner still follows it.
  HWND again = make(IDM_MAIN_BAR);
  ShowWindow(owner, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(again));
}

}  // namespace
}  // namespace handheld::testing
