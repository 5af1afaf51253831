#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

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

TEST(LstrTest, CompareIsAWordSortWithNullFirst) {
  EXPECT_EQ(lstrcmpW(u"abc", u"abc"), 0);
  EXPECT_EQ(lstrcmpW(u"abc", u"abd"), -1);
  EXPECT_EQ(lstrcmpW(u"abcd", u"abc"), 1);
  // Letters by the alphabet, case only as the tie-break (small first).
  EXPECT_EQ(lstrcmpW(u"B", u"a"), 1);
  EXPECT_EQ(lstrcmpW(u"abc", u"ABC"), -1);
  EXPECT_EQ(lstrcmpW(u"ABC", u"abd"), -1);
  // Accented letters beside their base letter; the accent only after the letters.
  EXPECT_EQ(lstrcmpW(u"\u00E9t\u00E9", u"f"), -1);                   // été before f
  EXPECT_EQ(lstrcmpW(u"e", u"\u00E9"), -1);
  EXPECT_EQ(lstrcmpW(u"r\u00E9sum\u00E9", u"resumes"), -1);
  EXPECT_EQ(lstrcmpW(u"\u0160imon", u"Tomas"), -1);                    // Šimon
  EXPECT_EQ(lstrcmpW(u"\u0141\u00F3d\u017A", u"Lodzia"), -1);        // Łódź
  EXPECT_EQ(lstrcmpW(u"Z\u00FCrich", u"Zurich"), 1);
  EXPECT_EQ(lstrcmpW(u"\u00E6", u"af"), -1);                           // æ as "ae"
  EXPECT_EQ(lstrcmpW(u"ad", u"\u00E6"), -1);
  EXPECT_NE(lstrcmpW(u"Stra\u00DFe", u"Strasse"), 0);
  // Symbols, then digits, then letters; hyphen and apostrophe keep words together.
  EXPECT_EQ(lstrcmpW(u"!", u"1"), -1);
  EXPECT_EQ(lstrcmpW(u"9", u"a"), -1);
  EXPECT_EQ(lstrcmpW(u"a b", u"ab"), -1);
  EXPECT_EQ(lstrcmpW(u"coop", u"co-op"), -1);
  EXPECT_EQ(lstrcmpW(u"co-op", u"cooperate"), -1);
  EXPECT_EQ(lstrcmpW(u"cant", u"can't"), -1);
  EXPECT_LT(lstrcmpW(nullptr, u""), 0);
  EXPECT_GT(lstrcmpW(u"", nullptr), 0);
  EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
}

TEST(LstrTest, CompareIgnoringCaseKeepsAccentsAndFoldsGreekAndCyrillic) {
  EXPECT_EQ(lstrcmpiW(u"Hello World", u"hELLO wORLD"), 0);
  EXPECT_EQ(lstrcmpiW(u"\u00C9T\u00C9", u"\u00E9t\u00E9"), 0);      // ÉTÉ / été
  EXPECT_EQ(lstrcmpiW(u"\u0178", u"\u00FF"), 0);                    // Ÿ / ÿ
  EXPECT_EQ(lstrcmpiW(u"\u0141\u00F3d\u017A", u"\u0142\u00D3D\u0179"), 0);  // Łódź
  EXPECT_EQ(lstrcmpiW(u"\u0416\u0401", u"\u0436\u0451"), 0);        // ЖЁ / жё
  EXPECT_EQ(lstrcmpiW(u"\u03A3\u0386", u"\u03C3\u03AC"), 0);        // ΣΆ / σά
  EXPECT_NE(lstrcmpiW(u"\u00D7", u"\u00F7"), 0);                    // × and ÷ are no letters
  EXPECT_EQ(lstrcmpiW(u"\u00C9cole", u"ecole"), 1);                  // the accent still counts
  EXPECT_LT(lstrcmpiW(u"_a", u"A"), 0);
  EXPECT_LT(lstrcmpiW(u"apple", u"BANANA"), 0);
  std::vector<std::u16string> words = {u"zebra", u"\u00C4pfel", u"apple", u"Banana", u"co-op",
                                       u"coop", u"Cooper", u"\u00E9clair", u"Eagle"};
  std::sort(words.begin(), words.end(),
            [](const auto& a, const auto& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(words, (std::vector<std::u16string>{u"\u00C4pfel", u"apple", u"Banana", u"coop", u"co-op",
                                                u"Cooper", u"Eagle", u"\u00E9clair", u"zebra"}));
  // The platform's own names (files, classes, registry) stay ordinal without case.
  EXPECT_TRUE(handheld::strings::equalNoCase(u"My Documents", u"MY DOCUMENTS"));
  EXPECT_FALSE(handheld::strings::equalNoCase(u"abc", u"abcd"));
  EXPECT_GT(handheld::strings::compareNoCase(u"\u00E9t\u00E9", u"f"), 0);
}

TEST(LstrTest, CompareStringFlagsLengthsAndResults) {
  const LCID user = 0x0400;
  EXPECT_EQ(CompareStringW(user, 0, u"a", -1, u"b", -1), 1);
  EXPECT_EQ(CompareStringW(user, 0, u"a", -1, u"a", -1), 2);
  EXPECT_EQ(CompareStringW(user, 0, u"b", -1, u"a", -1), 3);
  EXPECT_EQ(CompareStringW(user, 0, u"abcdef", 3, u"abc", -1), 2);
  EXPECT_EQ(CompareStringW(user, 0, u"abc", 2, u"abc", 3), 1);
  EXPECT_EQ(CompareStringW(user, 0x1, u"ABC", -1, u"abc", -1), 2);          // NORM_IGNORECASE
  EXPECT_EQ(CompareStringW(user, 0, u"\u00E9t\u00E9", -1, u"ete", -1), 3);
  EXPECT_EQ(CompareStringW(user, 0x2, u"\u00E9t\u00E9", -1, u"ete", -1), 2);  // NORM_IGNORENONSPACE
  EXPECT_EQ(CompareStringW(user, 0x2, u"Stra\u00DFe", -1, u"Strasse", -1), 2);
  EXPECT_EQ(CompareStringW(user, 0x3, u"\u00C9T\u00C9", -1, u"ete", -1), 2);
  EXPECT_EQ(CompareStringW(user, 0x4, u"co-op!", -1, u"coop", -1), 2);     // NORM_IGNORESYMBOLS
  EXPECT_EQ(CompareStringW(user, 0x4, u"a b", -1, u"ab", -1), 2);
  // A word sort puts "co-op" after "coop"; a string sort (SORT_STRINGSORT) before it, as a
  // symbol sorts before a letter.
  EXPECT_EQ(CompareStringW(user, 0, u"co-op", -1, u"coop", -1), 3);
  EXPECT_EQ(CompareStringW(user, 0x1000, u"co-op", -1, u"coop", -1), 1);

  SetLastError(0);
  EXPECT_EQ(CompareStringW(user, 0x80000000u, u"a", -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), 1004u);  // ERROR_INVALID_FLAGS
  EXPECT_EQ(CompareStringW(user, 0, nullptr, -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), 87u);  // ERROR_INVALID_PARAMETER
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
