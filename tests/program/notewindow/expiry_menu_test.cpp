// The expiry-choices menu: every choice, in order, with its command and text.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "notewindow/expiry_menu.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class ExpiryMenu : public DeviceFixture {};

TEST_F(ExpiryMenu, ListsTheChoicesInOrder) {
  const std::pair<UINT, std::u16string> expected[] = {
      {118, u"Never expire"}, {111, u"10 minutes"}, {112, u"15 minutes"}, {113, u"30 minutes"},
      {114, u"1 hour"},       {115, u"2 hours"},    {116, u"Tomorrow"},   {117, u"Next week"},
  };
  HMENU menu = CreateExpiryMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(GetMenuItemID(menu, i), expected[i].first) << i;
    WCHAR text[32] = {};
    GetMenuStringW(menu, i, text, 32, MF_BYPOSITION);
    EXPECT_EQ(std::u16string(text), expected[i].second) << i;
    EXPECT_EQ(GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED | MF_SEPARATOR | MF_POPUP), 0u);
  }
  // Each call makes a menu of its own.
  HMENU second = CreateExpiryMenu();
  EXPECT_NE(second, menu);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(GetMenuItemCount(second), 8);
  EXPECT_TRUE(DestroyMenu(second));
}

}  // namespace
}  // namespace handheld::testing
