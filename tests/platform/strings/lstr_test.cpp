#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

#include "strings/case_fold.h"

namespace {

TEST(LstrTest, CopiesAndLengthsTolerateNull) {
  EXPECT_EQ(lstrlenW(nullptr), 0);
  WCHAR buffer[8];
  EXPECT_EQ(lstrcatW(lstrcpyW(buffer, u"ab"), u"cd"), buffer);
  EXPECT_EQ(lstrlenW(buffer), 4);
  EXPECT_EQ(lstrcpyW(buffer, nullptr), nullptr);
  EXPECT_EQ(lstrcatW(nullptr, u"x"), nullptr);
  EXPECT_EQ(std::u16string(buffer), u"abcd");
}

TEST(LstrTest, BoundedCopyKeepsRoomForTheTerminator) {
  WCHAR buffer[8];
  lstrcpynW(buffer, u"abcdef", 4);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  lstrcpynW(buffer, u"ab", 8);
  EXPECT_EQ(std::u16string(buffer), u"ab");
  lstrcpynW(buffer, u"abcdef", 1);
  EXPECT_EQ(std::u16string(buffer), u"");

  WCHAR untouched[2] = {u'z', u'z'};
  lstrcpynW(untouched, u"abc", 0);
  EXPECT_EQ(untouched[0], u'z');

  // The source is read no further than maxLength - 1 units, so it need not be terminated.
  const WCHAR unterminated[3] = {u'x', u'y', u'z'};
  lstrcpynW(buffer, unterminated, 4);
  EXPECT_EQ(std::u16string(buffer), u"xyz");
}

TEST(LstrTest, CompareOrdersByCodeUnitAndNullFirst) {
  EXPECT_EQ(lstrcmpW(u"abc", u"abc"), 0);
  EXPECT_LT(lstrcmpW(u"abc", u"abd"), 0);
  EXPECT_GT(lstrcmpW(u"abcd", u"abc"), 0);
  EXPECT_LT(lstrcmpW(u"B", u"a"), 0);
  EXPECT_LT(lstrcmpW(nullptr, u""), 0);
  EXPECT_GT(lstrcmpW(u"", nullptr), 0);
  EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
}

TEST(LstrTest, CompareIgnoringCaseFoldsLatinGreekAndCyrillic) {
  EXPECT_EQ(lstrcmpiW(u"Hello World", u"hELLO wORLD"), 0);
  EXPECT_EQ(lstrcmpiW(u"\u00C9T\u00C9", u"\u00E9t\u00E9"), 0);      // ÉTÉ / été
  EXPECT_EQ(lstrcmpiW(u"\u0178", u"\u00FF"), 0);                    // Ÿ / ÿ
  EXPECT_EQ(lstrcmpiW(u"\u0141\u00F3d\u017A", u"\u0142\u00D3D\u0179"), 0);  // Łódź
  EXPECT_EQ(lstrcmpiW(u"\u0416\u0401", u"\u0436\u0451"), 0);        // ЖЁ / жё
  EXPECT_EQ(lstrcmpiW(u"\u03A3\u0386", u"\u03C3\u03AC"), 0);        // ΣΆ / σά
  EXPECT_NE(lstrcmpiW(u"\u00D7", u"\u00F7"), 0);                    // × and ÷ are no letters
  // Folding goes to lower case, so '_' sorts before letters as in a directory listing.
  EXPECT_LT(lstrcmpiW(u"_a", u"A"), 0);
  EXPECT_LT(lstrcmpiW(u"apple", u"BANANA"), 0);
  EXPECT_TRUE(handheld::strings::equalNoCase(u"My Documents", u"MY DOCUMENTS"));
  EXPECT_FALSE(handheld::strings::equalNoCase(u"abc", u"abcd"));
}

TEST(LstrTest, DecimalParsing) {
  EXPECT_EQ(_wtoi(u"42"), 42);
  EXPECT_EQ(_wtoi(u" \t\n-17xyz"), -17);
  EXPECT_EQ(_wtoi(u"+8"), 8);
  EXPECT_EQ(_wtoi(u"- 5"), 0);
  EXPECT_EQ(_wtoi(u"abc"), 0);
  EXPECT_EQ(_wtoi(u""), 0);
  EXPECT_EQ(_wtoi(nullptr), 0);
  EXPECT_EQ(_wtoi(u"0012"), 12);
  EXPECT_EQ(_wtol(u"-123456789"), -123456789L);
}

TEST(LstrTest, DecimalParsingSaturatesAtThe32BitRange) {
  EXPECT_EQ(_wtoi(u"2147483647"), INT_MAX);
  EXPECT_EQ(_wtoi(u"2147483648"), INT_MAX);
  EXPECT_EQ(_wtoi(u"-2147483648"), INT_MIN);
  EXPECT_EQ(_wtoi(u"-2147483649"), INT_MIN);
  EXPECT_EQ(_wtoi(u"99999999999999999999999999"), INT_MAX);
  // long is 32 bits on the device, whatever the host says.
  EXPECT_EQ(_wtol(u"99999999999"), 2147483647L);
  EXPECT_EQ(_wtol(u"-99999999999"), -2147483647L - 1);
}

}  // namespace
