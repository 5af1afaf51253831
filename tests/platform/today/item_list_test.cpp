// Reading the registered items and writing the page's settings back.
#include <gtest/gtest.h>

#include "item_list.h"
#include "today_fixture.h"

namespace handheld::testing {
namespace {

using shell::readTodayItems;
using shell::TodayItemInfo;

class TodayItemList : public TodayTest {};

TEST_F(TodayItemList, SortsByOrderThenNameAndReadsEveryValue) {
  setItem(u"Zulu", 1, 7, u"\\Tests\\Z.dll", 4, 0, 0);
  setItem(u"Alpha", 1, 0, u"\\Tests\\A.dll");
  setItem(u"Date", 3, 0, u"", 0);
  // Missing "Order" goes last, missing "Enabled" shows, a string "Order" counts as missing.
  setString(itemKey(u"Loose"), u"DLL", u"\\Tests\\L.dll");
  setString(itemKey(u"Loose"), u"Order", u"0");
  const auto items = readTodayItems();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].name, u"Alpha");
  EXPECT_EQ(items[1].name, u"Zulu");
  EXPECT_FALSE(items[1].enabled);
  EXPECT_FALSE(items[1].options);
  EXPECT_EQ(items[1].flags, 7u);
  EXPECT_EQ(items[1].dll, u"\\Tests\\Z.dll");
  EXPECT_EQ(items[2].name, u"Date");
  EXPECT_TRUE(items[2].isDateBand());
  EXPECT_TRUE(items[2].dll.empty());
  EXPECT_EQ(items[3].name, u"Loose");
  EXPECT_TRUE(items[3].enabled);
  EXPECT_EQ(items[3].type, 4u);  // a library without a type is a custom item
  EXPECT_EQ(items[3].dll, u"\\Tests\\L.dll");
}

TEST_F(TodayItemList, WritesEnabledAndOrderOfEachItem) {
  setItem(u"Good", 1, 0, goodItem);
  auto items = readTodayItems();
  ASSERT_EQ(items.size(), 2u);
  for (auto& item : items) {
    item.enabled = !item.enabled;
    item.order += 10;
  }
  EXPECT_TRUE(shell::writeTodayItemSettings(items));
  EXPECT_EQ(getDword(itemKey(u"Good"), u"Enabled"), 0u);
  EXPECT_EQ(getDword(itemKey(u"Good"), u"Order"), 11u);
  EXPECT_EQ(getDword(itemKey(u"Date"), u"Enabled"), 0u);
  EXPECT_EQ(getDword(itemKey(u"Date"), u"Order"), 10u);
}

TEST_F(TodayItemList, TheDefaultHiveHasTheDateBandAndTheTheme) {
  const auto items = readTodayItems();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, u"Date");
  EXPECT_EQ(items[0].type, 0u);
  EXPECT_TRUE(items[0].enabled);
  EXPECT_EQ(items[0].order, 0u);
  EXPECT_EQ(getDword(u"SOFTWARE\\Microsoft\\Today", u"BackgroundColor"), 0x00FFFFFFu);
  EXPECT_EQ(getDword(u"SOFTWARE\\Microsoft\\Today", u"TextColor"), 0x00000000u);
  EXPECT_EQ(getDword(u"SOFTWARE\\Microsoft\\Today", u"HighlightColor"), 0x00904800u);
  EXPECT_EQ(getDword(u"SOFTWARE\\Microsoft\\Today", u"HighlightTextColor"), 0x00FFFFFFu);
}

}  // namespace
}  // namespace handheld::testing
