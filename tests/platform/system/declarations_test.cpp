// Values of the headers that programs pass on: a wrong number would build and misbehave.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(Declarations, StylesQualitiesAndNoticesHaveThePlatformsValues) {
  EXPECT_EQ(SETTINGCHANGE_RESET, 0x3002);
  EXPECT_EQ(CLEARTYPE_COMPAT_QUALITY, 6);
  EXPECT_EQ(NONANTIALIASED_QUALITY, 3);
  EXPECT_EQ(CLEARTYPE_QUALITY, 5);
  EXPECT_EQ(LBS_NOINTEGRALHEIGHT, 0x0100);
  EXPECT_EQ(CBS_SIMPLE, 0x0001);
  EXPECT_EQ(CBS_DROPDOWN, 0x0002);
  EXPECT_EQ(CBS_DROPDOWNLIST, 0x0003);
  EXPECT_EQ(CBS_AUTOHSCROLL, 0x0040);
  EXPECT_EQ(CBS_OEMCONVERT, 0x0080);
  EXPECT_EQ(CBS_SORT, 0x0100);
  EXPECT_EQ(CBS_HASSTRINGS, 0x0200);
  EXPECT_EQ(CBS_NOINTEGRALHEIGHT, 0x0400);
  EXPECT_EQ(CBS_DISABLENOSCROLL, 0x0800);
  EXPECT_EQ(CBS_UPPERCASE, 0x2000);
  EXPECT_EQ(CBS_LOWERCASE, 0x4000);
  EXPECT_EQ(CF_UNICODETEXT, 13);
  EXPECT_EQ(ERROR_CLIPBOARD_NOT_OPEN, 1418);
  EXPECT_EQ(COLOR_INFOBK & ~SYS_COLOR_INDEX_FLAG, 24);
}

// Every colour up to COLOR_INFOBK (and the device's two static colours) has a value and a
// brush of that colour; an index past them has neither.
TEST(Declarations, EverySystemColourHasItsBrush) {
  for (int index = 0; index <= 26; ++index) {
    HBRUSH brush = GetSysColorBrush(index | SYS_COLOR_INDEX_FLAG);
    ASSERT_NE(brush, nullptr) << index;
    LOGBRUSH log{};
    ASSERT_EQ(GetObjectW(brush, sizeof log, &log), static_cast<int>(sizeof log)) << index;
    EXPECT_EQ(log.lbColor, GetSysColor(index)) << index;
    EXPECT_EQ(GetSysColorBrush(index), brush) << index;
  }
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(COLOR_INFOTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColorBrush(27), nullptr);
}

}  // namespace
