// The mail composer's command line and the text of a kept message.
#include <gtest/gtest.h>

#include "mail_command.h"
#include "outbox.h"

namespace handheld::mail {
namespace {

TEST(MailCommand, TheRecipientIsTheWordAfterTo) {
  EXPECT_EQ(recipientFrom(u"-to \"support@example.org\" -OId"), u"support@example.org");
  EXPECT_EQ(recipientFrom(u"-to \"Ann Smith <ann@example.org>\""), u"Ann Smith <ann@example.org>");
  EXPECT_EQ(recipientFrom(u"  -OId   -TO bare@example.org"), u"bare@example.org");
  EXPECT_EQ(recipientFrom(u"-to \"unclosed@example.org"), u"unclosed@example.org");
  EXPECT_EQ(recipientFrom(u"-to \"\" -OId"), u"");
  EXPECT_EQ(recipientFrom(u"-to"), u"");
  EXPECT_EQ(recipientFrom(u""), u"");
  EXPECT_EQ(recipientFrom(u"-OId"), u"");
  EXPECT_EQ(recipientFrom(u"\"-to\" x@y"), u"x@y");
  EXPECT_EQ(recipientFrom(u"-tox a@b"), u"");
}

TEST(MailOutbox, AMessageIsHeaderLinesAnEmptyLineAndTheBody) {
  EXPECT_EQ(messageText({u"a@b.c", u"Hello", u"Line one\r\nLine two"}),
            "To: a@b.c\r\nSubject: Hello\r\n\r\nLine one\r\nLine two");
  EXPECT_EQ(messageText({u"", u"", u""}), "To: \r\nSubject: \r\n\r\n");
  // Text beyond ASCII is kept as UTF-8.
  EXPECT_EQ(messageText({u"j\u00f6rg@example.org", u"\u20ac", u""}),
            "To: j\xc3\xb6rg@example.org\r\nSubject: \xe2\x82\xac\r\n\r\n");
}

TEST(MailOutbox, HeaderFieldsCannotAddHeaderLines) {
  EXPECT_EQ(messageText({u"a@b.c\r\nBcc: x@y", u"Hi\nThere", u"body"}),
            "To: a@b.c  Bcc: x@y\r\nSubject: Hi There\r\n\r\nbody");
}

}  // namespace
}  // namespace handheld::mail
