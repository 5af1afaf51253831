// The help viewer's command line and links: which file and topic each leads to.
#include <gtest/gtest.h>

#include "help_address.h"

namespace handheld::peghelp {
namespace {

using Kind = LinkTarget::Kind;

TEST(HelpCommandLine, NamesAFileInWindowsOrByFullPath) {
  EXPECT_EQ(parseHelpCommandLine(u"file:Pinnotes.htm#Edit"), (HelpAddress{u"\\Windows\\Pinnotes.htm", u"Edit"}));
  EXPECT_EQ(parseHelpCommandLine(u"file:\\Windows\\Pinnotes.htm#PToday"),
            (HelpAddress{u"\\Windows\\Pinnotes.htm", u"PToday"}));
  EXPECT_EQ(parseHelpCommandLine(u"file:Pinnotes.htm"), (HelpAddress{u"\\Windows\\Pinnotes.htm", u""}));
  EXPECT_EQ(parseHelpCommandLine(u"file:\\My Documents\\Help\\guide.htm#T"),
            (HelpAddress{u"\\My Documents\\Help\\guide.htm", u"T"}));
  // Written loosely: quotes, spaces, another case, no scheme, forward slashes.
  EXPECT_EQ(parseHelpCommandLine(u"  \"FILE:test.htm#B\" "), (HelpAddress{u"\\Windows\\test.htm", u"B"}));
  EXPECT_EQ(parseHelpCommandLine(u"test.htm#B"), (HelpAddress{u"\\Windows\\test.htm", u"B"}));
  EXPECT_EQ(parseHelpCommandLine(u"file:/Windows/Help/x.htm"), (HelpAddress{u"\\Windows\\Help\\x.htm", u""}));
  // The anchor is everything after the first '#'.
  EXPECT_EQ(parseHelpCommandLine(u"file:a.htm#x#y"), (HelpAddress{u"\\Windows\\a.htm", u"x#y"}));
}

TEST(HelpCommandLine, RefusesWhatNamesNoFile) {
  for (std::u16string_view bad : {u"", u"   ", u"file:", u"file:#Edit", u"#Edit", u"file:..\\..\\x.htm",
                                  u"file:a<b.htm", u"file:a\x01.htm"})
    EXPECT_FALSE(parseHelpCommandLine(bad)) << std::string(bad.begin(), bad.end());
  // ".." that stays inside the root is fine.
  EXPECT_EQ(parseHelpCommandLine(u"file:..\\Temp\\x.htm"), (HelpAddress{u"\\Temp\\x.htm", u""}));
}

TEST(HelpLinks, StayInTheFileOrTryTheFoldersInOrder) {
  const HelpAddress inWindows{u"\\Windows\\test.htm", u"B"};
  const HelpAddress elsewhere{u"\\My Documents\\Help\\guide.htm", u"T"};

  LinkTarget same = resolveHelpLink(u"#C", inWindows);
  EXPECT_EQ(same.kind, Kind::Topic);
  EXPECT_EQ(same.candidates, (std::vector<HelpAddress>{{u"\\Windows\\test.htm", u"C"}}));

  LinkTarget other = resolveHelpLink(u"other.htm#Far", elsewhere);
  EXPECT_EQ(other.kind, Kind::Topic);
  EXPECT_EQ(other.candidates, (std::vector<HelpAddress>{{u"\\My Documents\\Help\\other.htm", u"Far"},
                                                       {u"\\Windows\\other.htm", u"Far"}}));
  // From \Windows both places are one.
  EXPECT_EQ(resolveHelpLink(u"other.htm#Far", inWindows).candidates,
            (std::vector<HelpAddress>{{u"\\Windows\\other.htm", u"Far"}}));
  // A full path has one place; "file:" forms are read as on the command line.
  EXPECT_EQ(resolveHelpLink(u"file:\\Windows\\x.htm#A", elsewhere).candidates,
            (std::vector<HelpAddress>{{u"\\Windows\\x.htm", u"A"}}));
  EXPECT_EQ(resolveHelpLink(u"file:///Windows/x.htm", elsewhere).candidates,
            (std::vector<HelpAddress>{{u"\\Windows\\x.htm", u""}}));
  EXPECT_EQ(resolveHelpLink(u"file:x.htm#A", elsewhere).candidates.front(),
            (HelpAddress{u"\\My Documents\\Help\\x.htm", u"A"}));
  // Escaped characters and forward slashes.
  EXPECT_EQ(resolveHelpLink(u"sub/page%20two.htm#A%C3%A9", inWindows).candidates,
            (std::vector<HelpAddress>{{u"\\Windows\\sub\\page two.htm", u"A\u00e9"}}));
  EXPECT_EQ(resolveHelpLink(u"../Temp/x.htm", elsewhere).candidates.front(),
            (HelpAddress{u"\\My Documents\\Temp\\x.htm", u""}));
}

TEST(HelpLinks, OtherSchemesGoToTheBrowserAndBrokenOnesNowhere) {
  const HelpAddress current{u"\\Windows\\test.htm", u"B"};
  for (std::u16string_view url : {u"http://example.com/help", u"HTTPS://example.com", u"mailto:someone@example.com"}) {
    LinkTarget target = resolveHelpLink(url, current);
    EXPECT_EQ(target.kind, Kind::External);
    EXPECT_EQ(target.url, url);
    EXPECT_TRUE(target.candidates.empty());
  }
  for (std::u16string_view bad : {u"", u"  ", u"..\\..\\..\\x.htm", u"c:x.htm", u"a|b.htm"})
    EXPECT_EQ(resolveHelpLink(bad, current).kind, Kind::Invalid) << std::string(bad.begin(), bad.end());
}

}  // namespace
}  // namespace handheld::peghelp
