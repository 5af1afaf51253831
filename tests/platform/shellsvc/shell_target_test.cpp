// What ShellExecuteEx runs for each kind of target, with the associations given by the test:
// web and mail addresses, help topics, programs, documents through their extension's
// command, and the refusals.
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <map>
#include <set>

#include "shellsvc/execute/shell_target.h"

namespace handheld::shellsvc {
namespace {

class ShellTarget : public ::testing::Test {
 protected:
  Resolution resolve(std::u16string_view file, std::u16string_view parameters = u"") {
    Associations associations{
        [this](std::u16string_view extension) -> std::optional<std::u16string> {
          auto it = commands.find(std::u16string(extension));
          if (it == commands.end()) return std::nullopt;
          return it->second;
        },
        [this](std::u16string_view path) { return files.count(std::u16string(path)) > 0; }};
    return resolveTarget(file, parameters, associations);
  }
  void expectLaunch(std::u16string_view file, std::u16string_view parameters, std::u16string_view program,
                    std::u16string_view arguments) {
    auto r = resolve(file, parameters);
    ASSERT_TRUE(r.launch) << "error " << r.error;
    EXPECT_EQ(r.launch->program, program);
    EXPECT_EQ(r.launch->arguments, arguments);
  }
  void expectError(std::u16string_view file, DWORD error) {
    auto r = resolve(file);
    EXPECT_FALSE(r.launch);
    EXPECT_EQ(r.error, error);
  }

  std::map<std::u16string, std::u16string> commands{
      {u".stk", u"\"\\Program Files\\Pinnotes\\Pinnotes.exe\" %1"},
      {u".htm", u"\\Windows\\PegHelp.exe file:%1"},
      {u".txt", u"\\Windows\\viewer.exe"},
      {u".bad", u"/bin/sh -c %1"},
      {u".up", u"\\Windows\\..\\..\\bin\\sh %1"},
      {u".drv", u"C:\\Windows\\x.exe %1"},
      {u".nil", u"   "}};
  std::set<std::u16string> files{u"\\My Documents\\My Pinnotes\\Pinnote0.stk", u"\\Windows\\Pinnotes.htm",
                                 u"\\My Documents\\a.txt", u"\\My Documents\\x.bad", u"\\My Documents\\x.up",
                                 u"\\My Documents\\x.drv", u"\\My Documents\\x.nil", u"\\Windows\\TMail.exe"};
};

TEST_F(ShellTarget, WebAddressesOpenInTheBrowserWhateverTheirCase) {
  expectLaunch(u"http://www.example.org/", u"", u"\\Windows\\iexplore.exe", u"http://www.example.org/");
  expectLaunch(u"HTTPS://example.org/a?b=c", u"", u"\\Windows\\iexplore.exe", u"HTTPS://example.org/a?b=c");
  expectLaunch(u"www.example.org", u"", u"\\Windows\\iexplore.exe", u"www.example.org");
  expectLaunch(u"  http://x  ", u"", u"\\Windows\\iexplore.exe", u"http://x");
}

TEST_F(ShellTarget, MailAddressesGoToTheComposerOrItsFallback) {
  expectLaunch(u"mailto:support@example.org", u"", u"\\Windows\\TMail.exe", u"-to \"support@example.org\"");
  expectLaunch(u"MAILTO:a@b.c?subject=x", u"", u"\\Windows\\TMail.exe", u"-to \"a@b.c\"");
  files.erase(u"\\Windows\\TMail.exe");
  expectLaunch(u"mailto:a@b.c", u"", u"\\Windows\\PMail.exe", u"-to \"a@b.c\"");
}

TEST_F(ShellTarget, HelpTopicsOpenInTheHelpViewerAsGiven) {
  expectLaunch(u"file:Pinnotes.htm#Edit", u"", u"\\Windows\\PegHelp.exe", u"file:Pinnotes.htm#Edit");
  expectLaunch(u"FILE:\\Windows\\Pinnotes.htm", u"", u"\\Windows\\PegHelp.exe", u"FILE:\\Windows\\Pinnotes.htm");
}

TEST_F(ShellTarget, ProgramsRunWithTheirParameters) {
  expectLaunch(u"iexplore.exe", u"http://example.org", u"iexplore.exe", u"http://example.org");
  expectLaunch(u"\\Program Files\\Pinnotes\\VUpdate.EXE", u"-app=\"VORLA Pinnotes\" -OEM",
               u"\\Program Files\\Pinnotes\\VUpdate.EXE", u"-app=\"VORLA Pinnotes\" -OEM");
  expectLaunch(u"\\Program Files\\Pinnotes\\Pinnotes.exe", u"", u"\\Program Files\\Pinnotes\\Pinnotes.exe", u"");
}

TEST_F(ShellTarget, DocumentsOpenThroughTheirExtensionsCommand) {
  expectLaunch(u"\\My Documents\\My Pinnotes\\Pinnote0.stk", u"", u"\\Program Files\\Pinnotes\\Pinnotes.exe",
               u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  // The anchor stays with the topic but is no part of the file looked for.
  expectLaunch(u"\\Windows\\Pinnotes.htm#PToday", u"", u"\\Windows\\PegHelp.exe",
               u"file:\\Windows\\Pinnotes.htm#PToday");
  // A command without "%1" gets the document at its end.
  expectLaunch(u"\\My Documents\\a.txt", u"", u"\\Windows\\viewer.exe", u"\\My Documents\\a.txt");
}

TEST_F(ShellTarget, WhatCannotBeOpenedSaysWhy) {
  expectError(u"\\My Documents\\x.zzz", ERROR_NO_ASSOCIATION);
  expectError(u"\\My Documents\\noextension", ERROR_NO_ASSOCIATION);
  expectError(u"\\My Documents\\x.nil", ERROR_NO_ASSOCIATION);
  expectError(u"\\My Documents\\gone.stk", ERROR_FILE_NOT_FOUND);
  expectError(u"", ERROR_FILE_NOT_FOUND);
  expectError(u"   ", ERROR_FILE_NOT_FOUND);
}

TEST_F(ShellTarget, NothingOutsideTheDeviceIsRun) {
  expectError(u"\\My Documents\\x.bad", ERROR_ACCESS_DENIED);  // a host program
  expectError(u"\\My Documents\\x.up", ERROR_ACCESS_DENIED);   // climbing out of the root
  expectError(u"\\My Documents\\x.drv", ERROR_ACCESS_DENIED);  // a drive
  expectError(u"/usr/bin/xterm.exe", ERROR_ACCESS_DENIED);
  expectError(u"\\Windows\\..\\..\\x.exe", ERROR_ACCESS_DENIED);
  expectError(u"C:\\Windows\\x.exe", ERROR_ACCESS_DENIED);
  expectError(u"..\\x.stk", ERROR_ACCESS_DENIED);
}

TEST(ShellErrors, AsTheHeadersOfThePlatformHaveThem) {
  EXPECT_EQ(SE_ERR_FNF, 2);
  EXPECT_EQ(SE_ERR_PNF, 3);
  EXPECT_EQ(SE_ERR_ACCESSDENIED, 5);
  EXPECT_EQ(SE_ERR_NOASSOC, 31);
  EXPECT_EQ(SEE_MASK_NOCLOSEPROCESS, 0x40u);
  EXPECT_EQ(SEE_MASK_FLAG_NO_UI, 0x400u);
  EXPECT_EQ(ERROR_NO_ASSOCIATION, 1155);
  EXPECT_EQ(shellErrorFor(ERROR_FILE_NOT_FOUND), 2);
  EXPECT_EQ(shellErrorFor(ERROR_PATH_NOT_FOUND), 3);
  EXPECT_EQ(shellErrorFor(ERROR_ACCESS_DENIED), 5);
  EXPECT_EQ(shellErrorFor(ERROR_NO_ASSOCIATION), 31);
}

}  // namespace
}  // namespace handheld::shellsvc
