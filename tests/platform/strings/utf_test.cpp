#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "strings/utf.h"

namespace {

using handheld::strings::fromUtf8;
using handheld::strings::fromUtf8Prefix;
using handheld::strings::fromUtf8Strict;
using handheld::strings::toUtf8;
using handheld::strings::toUtf8Strict;

constexpr char16_t kReplacement = u'\uFFFD';

TEST(UtfTest, KnownEncodings) {
  EXPECT_EQ(toUtf8(u"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(fromUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\U0001F600");
  EXPECT_EQ(toUtf8(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
  // Embedded NULs are text like any other.
  EXPECT_EQ(fromUtf8(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(UtfTest, EveryCodePointRoundTrips) {
  std::u16string all;
  for (char32_t code = 0; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    if (code < 0x10000) {
      all.push_back(static_cast<char16_t>(code));
    } else {
      all.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      all.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
  }
  const auto utf8 = toUtf8Strict(all);
  ASSERT_TRUE(utf8.has_value());
  EXPECT_EQ(fromUtf8Strict(*utf8), all);
}

TEST(UtfTest, UnpairedSurrogatesAreReplacedOrRejected) {
  const std::u16string loneHigh{u'a', char16_t{0xD83D}, u'b'};
  const std::u16string loneLow{char16_t{0xDE00}, u'x'};
  const std::u16string highAtEnd{u'x', char16_t{0xD83D}};
  const std::u16string reversed{char16_t{0xDE00}, char16_t{0xD83D}};
  EXPECT_EQ(toUtf8(loneHigh), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(toUtf8(loneLow), "\xEF\xBF\xBDx");
  EXPECT_EQ(toUtf8(highAtEnd), "x\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD");
  for (const auto& text : {loneHigh, loneLow, highAtEnd, reversed}) EXPECT_FALSE(toUtf8Strict(text));
}

TEST(UtfTest, IllFormedBytesBecomeOneReplacementPerMaximalPart) {
  struct Case {
    std::string_view bytes;
    std::u16string expected;
  };
  const std::u16string r(1, kReplacement);
  const Case cases[] = {
      {"\x80", r},                                   // lone continuation byte
      {"\xC0\xAF", r + r},                           // overlong '/'
      {"\xE0\x80\x80", r + r + r},                   // overlong NUL
      {"\xED\xA0\x80", r + r + r},                   // an encoded surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},           // beyond U+10FFFF
      {"\xF5\x80", r + r},                           // a lead byte that never occurs
      {"\xFF", r},
      {"\xE2\x82" "A", r + u"A"},                    // sequence cut short, then ASCII
      {"\xF0\x9F\x98", r},                           // cut short at the end
      {"\xC3" "\xC3\xA9", r + u"\u00E9"},            // a new lead byte ends the broken one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fromUtf8(c.bytes), c.expected) << testing::PrintToString(std::string(c.bytes));
    EXPECT_FALSE(fromUtf8Strict(c.bytes)) << testing::PrintToString(std::string(c.bytes));
  }
}

TEST(UtfTest, PrefixStopsAtTheUnitLimitWithoutSplittingPairs) {
  EXPECT_EQ(fromUtf8Prefix("ab\xC3\xA9" "cd", 3), u"ab\u00E9");
  EXPECT_EQ(fromUtf8Prefix("a\xF0\x9F\x98\x80", 2), u"a");
  EXPECT_EQ(fromUtf8Prefix("a\xF0\x9F\x98\x80", 3), u"a\U0001F600");
  EXPECT_EQ(fromUtf8Prefix("a\xFFz", 10), u"a\uFFFDz");
  EXPECT_EQ(fromUtf8Prefix(nullptr, 10), u"");
  // Nothing past the characters returned is read.
  const char unterminated[2] = {'x', 'y'};
  EXPECT_EQ(fromUtf8Prefix(unterminated, 2), u"xy");
}

}  // namespace
