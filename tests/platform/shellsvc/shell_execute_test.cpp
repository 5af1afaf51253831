// ShellExecuteEx on a device, from this test process: each kind of target starts the program
// it should with the command line it should (as the device's process list records them), the
// device programs say what they were given, and nothing outside the device image runs.
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "device_control.h"
#include "strings/utf.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

struct Outcome {
  BOOL ok = FALSE;
  long long code = 0;  // hInstApp
  DWORD error = 0;
  HANDLE process = nullptr;
};

class ShellExecute : public DeviceFixture {
 protected:
  Outcome execute(const std::u16string& file, const std::u16string& parameters = u"",
                  ULONG mask = SEE_MASK_NOCLOSEPROCESS, LPCWSTR verb = u"open") {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    SetLastError(0);
    Outcome out;
    out.ok = ShellExecuteEx(&info);
    out.error = GetLastError();
    out.code = static_cast<long long>(reinterpret_cast<INT_PTR>(info.hInstApp));
    out.process = info.hProcess;
    return out;
  }
  // The device's record of the last process started as `devicePath`.
  std::optional<ipc::ProcessEntry> startedAs(const std::u16string& devicePath) {
    std::optional<ipc::ProcessEntry> found;
    if (auto list = device().call<ipc::ListProcesses>({}))
      for (const auto& p : list->processes)
        if (p.devicePath == devicePath && (!found || p.pid > found->pid)) found = p;
    return found;
  }
  void expectStarted(const Outcome& out, const std::u16string& devicePath, const std::u16string& commandLine) {
    EXPECT_TRUE(out.ok) << "error " << out.error;
    EXPECT_GT(out.code, 32);
    auto entry = startedAs(devicePath);
    ASSERT_TRUE(entry) << strings::toUtf8(devicePath) << " was not started";
    EXPECT_EQ(strings::toUtf8(entry->commandLine), strings::toUtf8(commandLine));
  }
  void expectRefused(const Outcome& out, long long code, DWORD error) {
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.code, code);
    EXPECT_EQ(out.error, error);
    EXPECT_EQ(out.process, nullptr);
  }
  void end(HANDLE process) {
    if (!process) return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
  void installAs(const std::string& program, const std::string& devicePath) {
    std::string error;
    ASSERT_TRUE(automation::installProgram(buildDir() / "bin" / "handheld-device", root(),
                                           buildDir() / "tests" / "programs" / program, devicePath, error))
        << error;
  }
  void writeHost(const std::string& relative, const std::string& text = "x") {
    std::filesystem::create_directories((root() / relative).parent_path());
    std::ofstream(root() / relative) << text;
  }
  std::string deviceLog() {
    std::ifstream in(root() / ".device" / "device.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void associate(const std::u16string& extension, const std::u16string& kind, const std::u16string& command) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, extension.c_str(), 0, nullptr, 0, 0, nullptr, &key, &disposition), 0);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kind.c_str()),
                   static_cast<DWORD>((kind.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kind + u"\\shell\\open\\command").c_str(), 0, nullptr, 0, 0,
                              nullptr, &key, &disposition),
              0);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
  }
};

TEST_F(ShellExecute, ProgramsRunDirectlyWithTheirParameters) {
  const std::u16string probe = installTestProgram("probe.exe");
  Outcome out = execute(probe, u"exit 3");
  expectStarted(out, probe, u"exit 3");
  ASSERT_NE(out.process, nullptr);
  EXPECT_EQ(WaitForSingleObject(out.process, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(out.process, &code));
  EXPECT_EQ(code, 3u);
  CloseHandle(out.process);
  // Without SEE_MASK_NOCLOSEPROCESS the caller gets no handle.
  out = execute(probe, u"exit 0", 0);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.process, nullptr);
  // No verb is "open" too.
  out = execute(probe, u"exit 0", 0, nullptr);
  EXPECT_TRUE(out.ok);
}

TEST_F(ShellExecute, WebAddressesOpenInTheBrowserWhichShowsThem) {
  // As the about box's links do: the browser by name, the address as parameters.
  Outcome byName = execute(u"iexplore.exe", u"http://www.example.org/");
  expectStarted(byName, u"iexplore.exe", u"http://www.example.org/");
  end(byName.process);

  Outcome out = execute(u"https://example.org/news");
  expectStarted(out, u"\\Windows\\iexplore.exe", u"https://example.org/news");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  std::string tree;
  ASSERT_EQ(ctl("tree --pid " + std::to_string(startedAs(u"\\Windows\\iexplore.exe")->pid), &tree), 0);
  EXPECT_NE(tree.find("https://example.org/news"), std::string::npos) << tree;
  EXPECT_NE(tree.find("no network"), std::string::npos) << tree;
  EXPECT_NE(deviceLog().find("iexplore.exe command line: https://example.org/news"), std::string::npos);
  end(out.process);

  out = execute(u"www.example.org");
  expectStarted(out, u"\\Windows\\iexplore.exe", u"www.example.org");
  end(out.process);
}

TEST_F(ShellExecute, MailAddressesOpenTheComposer) {
  Outcome out = execute(u"MailTo:support@example.org");
  expectStarted(out, u"\\Windows\\TMail.exe", u"-to \"support@example.org\"");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_NE(deviceLog().find("\\Windows\\TMail.exe command line: -to \"support@example.org\""), std::string::npos)
      << deviceLog();
  end(out.process);
}

TEST_F(ShellExecute, HelpTopicsAndPagesOpenInTheHelpViewer) {
  installAs("probe.exe", "\\Windows\\PegHelp.exe");
  Outcome out = execute(u"file:Pinnotes.htm#Edit");
  expectStarted(out, u"\\Windows\\PegHelp.exe", u"file:Pinnotes.htm#Edit");
  end(out.process);
  writeHost("My Documents/page.htm");
  out = execute(u"\\My Documents\\page.htm#Top");
  expectStarted(out, u"\\Windows\\PegHelp.exe", u"file:\\My Documents\\page.htm#Top");
  end(out.process);
  writeHost("My Documents/other.HTML");
  out = execute(u"\\My Documents\\other.HTML");
  expectStarted(out, u"\\Windows\\PegHelp.exe", u"file:\\My Documents\\other.HTML");
  end(out.process);
}

TEST_F(ShellExecute, NotesOpenInTheirProgram) {
  installAs("probe.exe", "\\Program Files\\Pinnotes\\Pinnotes.exe");
  writeHost("My Documents/My Pinnotes/Pinnote0.stk");
  Outcome out = execute(u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  expectStarted(out, u"\\Program Files\\Pinnotes\\Pinnotes.exe", u"\\My Documents\\My Pinnotes\\Pinnote0.stk");
  end(out.process);
}

TEST_F(ShellExecute, WhatCannotBeOpenedFailsWithTheReason) {
  writeHost("My Documents/x.zzz");
  expectRefused(execute(u"\\My Documents\\x.zzz"), 31, 1155);
  expectRefused(execute(u"\\My Documents\\missing.stk"), 2, 2);
  expectRefused(execute(u"\\Windows\\missing.exe"), 2, 2);
  expectRefused(execute(u"\\Tests\\probe.exe", u"", SEE_MASK_NOCLOSEPROCESS, u"print"), 31, 1155);
  SHELLEXECUTEINFOW wrongSize{};
  wrongSize.cbSize = sizeof wrongSize - 1;
  wrongSize.lpFile = u"iexplore.exe";
  EXPECT_FALSE(ShellExecuteEx(&wrongSize));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  EXPECT_FALSE(ShellExecuteEx(nullptr));
}

TEST_F(ShellExecute, NothingOutsideTheDeviceImageRuns) {
  writeHost("My Documents/x.bad");
  writeHost("My Documents/x.up");
  associate(u".bad", u"badfile", u"/bin/sh -c %1");
  associate(u".up", u"upfile", u"\\Windows\\..\\..\\..\\bin\\sh %1");
  expectRefused(execute(u"\\My Documents\\x.bad"), 5, 5);
  expectRefused(execute(u"\\My Documents\\x.up"), 5, 5);
  expectRefused(execute(u"/bin/true.exe"), 5, 5);
  expectRefused(execute(u"..\\..\\bin\\true.exe"), 5, 5);
  // A link the image did not place is refused by the launcher.
  std::filesystem::create_symlink("/bin/true", root() / "Windows" / "planted.exe");
  expectRefused(execute(u"\\Windows\\planted.exe"), 5, 5);
  if (auto list = device().call<ipc::ListProcesses>({}))
    for (const auto& p : list->processes)
      if (!p.devicePath.empty()) ADD_FAILURE() << "started " << strings::toUtf8(p.devicePath);
}

}  // namespace
}  // namespace handheld::testing
