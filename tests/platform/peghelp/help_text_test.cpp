// Help file bytes as text: UTF-8 kept, Latin-1 converted, binary refused.
#include <gtest/gtest.h>

#include "help_text.h"

namespace handheld::peghelp {
namespace {

TEST(HelpText, KeepsUtf8AndConvertsLatin1) {
  EXPECT_EQ(kMaxHelpFileBytes, 1048576u);
  HelpText utf8 = decodeHelpBytes("\xEF\xBB\xBF<p>caf\xC3\xA9</p>");
  EXPECT_EQ(utf8.refusal, "");
  EXPECT_EQ(utf8.utf8, "<p>caf\xC3\xA9</p>");  // the byte-order mark goes
  HelpText latin1 = decodeHelpBytes("<p>caf\xE9 \xA9</p>");
  EXPECT_EQ(latin1.refusal, "");
  EXPECT_EQ(latin1.utf8, "<p>caf\xC3\xA9 \xC2\xA9</p>");
  // A stray control character or two is text still.
  EXPECT_EQ(decodeHelpBytes("a\x01" "b\x1b" "c\tline\r\n").refusal, "");
}

TEST(HelpText, RefusesBinaryData) {
  EXPECT_EQ(decodeHelpBytes(std::string("<p>a\0b</p>", 10)).refusal, "the file holds binary data, not text");
  std::string noise;
  for (int i = 0; i < 400; ++i) noise += static_cast<char>(1 + (i * 7) % 255);
  EXPECT_EQ(decodeHelpBytes(noise).refusal, "the file holds binary data, not text");
  EXPECT_EQ(decodeHelpBytes(noise).utf8, "");
}

}  // namespace
}  // namespace handheld::peghelp
