#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "strings/format.h"

namespace {

constexpr size_t kLimit = 1024;
constexpr WCHAR kGuard = u'#';

// Formats through wvsprintfW into a buffer with guard units past the platform's limit, and
// checks the terminator, the returned length and the guards.
std::u16string print(const WCHAR* format, ...) {
  std::vector<WCHAR> buffer(kLimit + 64, kGuard);
  va_list arguments;
  va_start(arguments, format);
  const int length = wvsprintfW(buffer.data(), format, arguments);
  va_end(arguments);
  EXPECT_GE(length, 0);
  EXPECT_LT(static_cast<size_t>(length), kLimit);
  EXPECT_EQ(buffer[static_cast<size_t>(length)], u'\0');
  for (size_t i = kLimit; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kGuard) << "written past the limit at " << i;
  return std::u16string(buffer.data(), static_cast<size_t>(length));
}

TEST(FormatTest, Integers) {
  EXPECT_EQ(print(u"%d %i %u", 42, -7, 7u), u"42 -7 7");
  EXPECT_EQ(print(u"%d", std::numeric_limits<int32_t>::min()), u"-2147483648");
  EXPECT_EQ(print(u"%u", -1), u"4294967295");
  EXPECT_EQ(print(u"%x %X", 0xbeefu, 0xbeefu), u"beef BEEF");
  EXPECT_EQ(print(u"%x", -1), u"ffffffff");
  EXPECT_EQ(print(u"%#x %#X %#x", 255, 255, 0), u"0xff 0XFF 0");
  EXPECT_EQ(print(u"%ld %lu %lx", LONG{-5}, DWORD{4000000000u}, LONG{-2}), u"-5 4000000000 fffffffe");
  EXPECT_EQ(print(u"%hd %hu", 70000, -1), u"4464 65535");
  EXPECT_EQ(print(u"%I64d %I64u", std::numeric_limits<int64_t>::min(), UINT64_MAX),
            u"-9223372036854775808 18446744073709551615");
  EXPECT_EQ(print(u"%+d %+d % d", 5, -5, 5), u"+5 -5  5");
}

TEST(FormatTest, WidthAlignmentPaddingAndPrecision) {
  EXPECT_EQ(print(u"[%5d]", 42), u"[   42]");
  EXPECT_EQ(print(u"[%-5d]", 42), u"[42   ]");
  EXPECT_EQ(print(u"[%05d]", -42), u"[-0042]");
  EXPECT_EQ(print(u"[%08X]", 0xABCu), u"[00000ABC]");
  EXPECT_EQ(print(u"[%#06x]", 0xab), u"[0x00ab]");
  EXPECT_EQ(print(u"[%-05d]", 3), u"[3    ]");  // '-' wins over '0'
  EXPECT_EQ(print(u"[%.3d]", 7), u"[007]");
  EXPECT_EQ(print(u"[%.3d]", -7), u"[-007]");
  EXPECT_EQ(print(u"[%08.3d]", 7), u"[     007]");  // a precision turns zero padding off
  EXPECT_EQ(print(u"[%.0d]", 0), u"[]");
  EXPECT_EQ(print(u"[%2d]", 12345), u"[12345]");
}

TEST(FormatTest, Text) {
  EXPECT_EQ(print(u"%s, %s!", u"Hello", u"world"), u"Hello, world!");
  EXPECT_EQ(print(u"%s", static_cast<const WCHAR*>(nullptr)), u"(null)");
  EXPECT_EQ(print(u"[%6s|%-6s]", u"ab", u"cd"), u"[    ab|cd    ]");
  EXPECT_EQ(print(u"[%.3s]", u"abcdef"), u"[abc]");
  EXPECT_EQ(print(u"[%5.2s]", u"abcdef"), u"[   ab]");
  EXPECT_EQ(print(u"%S", "h\xC3\xA9llo \xF0\x9F\x98\x80"), u"h\u00E9llo \U0001F600");
  EXPECT_EQ(print(u"%S", static_cast<const char*>(nullptr)), u"(null)");
  EXPECT_EQ(print(u"%hs|%ls|%ws", "n", u"w", u"w"), u"n|w|w");
  EXPECT_EQ(print(u"[%.2S]", "\xC3\xA9\xC3\xA9\xC3\xA9"), u"[\u00E9\u00E9]");
  // With a precision the text need not be terminated.
  const WCHAR unterminated[3] = {u'x', u'y', u'z'};
  const char narrowUnterminated[3] = {'x', 'y', 'z'};
  EXPECT_EQ(print(u"%.3s %.1S", unterminated, narrowUnterminated), u"xyz x");
}

TEST(FormatTest, CharactersPercentAndOddFormats) {
  EXPECT_EQ(print(u"%c%c%c", u'O', u'K', 0x263A), u"OK\u263A");
  EXPECT_EQ(print(u"[%3c|%-3c]", u'a', u'b'), u"[  a|b  ]");
  EXPECT_EQ(print(u"%C%hc", 'n', 0xE9), u"n\uFFFD");
  EXPECT_EQ(print(u"100%%"), u"100%");
  EXPECT_EQ(print(u"%y"), u"y");  // an unknown conversion prints its letter
  EXPECT_EQ(print(u"abc%-5"), u"abc");  // a format cut inside a conversion ends there
  EXPECT_EQ(print(u"abc%"), u"abc");
}

TEST(FormatTest, FloatingPoint) {
  EXPECT_EQ(print(u"%f", 1.5), u"1.500000");
  EXPECT_EQ(print(u"%.2f", 3.14159), u"3.14");
  EXPECT_EQ(print(u"%.2f%%", 99.5), u"99.50%");
  EXPECT_EQ(print(u"%.1f KB", 1023.96), u"1024.0 KB");
  EXPECT_EQ(print(u"%.0f", 0.6), u"1");
  EXPECT_EQ(print(u"[%7.2f]", -2.255), u"[  -2.25]");  // stored as -2.25499999...
  EXPECT_EQ(print(u"[%07.2f]", -1.5), u"[-001.50]");
  EXPECT_EQ(print(u"[%-7.1f]", 2.26), u"[2.3    ]");
  EXPECT_EQ(print(u"%+.1f", 0.26), u"+0.3");
  EXPECT_EQ(print(u"%f", INFINITY), u"inf");
  EXPECT_EQ(print(u"[%05f]", -INFINITY), u"[ -inf]");  // no zero padding for non-numbers
  EXPECT_EQ(print(u"%f", NAN), u"nan");
  EXPECT_EQ(print(u"%.1f", 1e300).size(), 303u);
  // A precision past the cap of 100 decimals prints 100.
  EXPECT_EQ(print(u"%.5000f", 1.0).size(), 102u);
}

TEST(FormatTest, OutputIsCutAtTheLimit) {
  const std::u16string wide = print(u"%2000d", 1);
  EXPECT_EQ(wide.size(), kLimit - 1);
  EXPECT_EQ(wide.find_first_not_of(u' '), std::u16string::npos);

  const std::u16string longText(3000, u'x');
  EXPECT_EQ(print(u"ab%s", longText.c_str()).size(), kLimit - 1);
  EXPECT_EQ(print(u"%2147483647d", 1).size(), kLimit - 1);
  EXPECT_EQ(print(u"%.99999999999999999999d", 1).size(), kLimit - 1);

  const std::u16string longFormat(5000, u'f');
  EXPECT_EQ(print(longFormat.c_str()).size(), kLimit - 1);
}

TEST(FormatTest, BoundedFormatterHonoursAnyCapacity) {
  using handheld::strings::formatTo;
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), kGuard);
  EXPECT_EQ(formatTo(buffer, 0, u"abc"), 0u);
  EXPECT_EQ(buffer[0], kGuard);
  EXPECT_EQ(formatTo(nullptr, 5, u"abc"), 0u);

  EXPECT_EQ(formatTo(buffer, 1, u"abc"), 0u);
  EXPECT_EQ(buffer[0], u'\0');
  EXPECT_EQ(buffer[1], kGuard);

  EXPECT_EQ(formatTo(buffer, 4, u"%d-%s", 12, u"xyz"), 3u);
  EXPECT_EQ(std::u16string(buffer), u"12-");
  EXPECT_EQ(buffer[4], kGuard);

  // A cut between the halves of a surrogate pair drops the lone half.
  EXPECT_EQ(formatTo(buffer, 3, u"a%s", u"\U0001F600"), 1u);
  EXPECT_EQ(std::u16string(buffer), u"a");
  EXPECT_EQ(formatTo(buffer, 4, u"a%s", u"\U0001F600"), 3u);
  EXPECT_EQ(std::u16string(buffer), u"a\U0001F600");
  EXPECT_EQ(formatTo(buffer, 8, nullptr), 0u);
}

TEST(FormatTest, WsprintfReturnsTheLengthWritten) {
  WCHAR buffer[kLimit];
  EXPECT_EQ(wsprintfW(buffer, u"%s=%d", u"n", 10), 4);
  EXPECT_EQ(std::u16string(buffer), u"n=10");
}

}  // namespace
