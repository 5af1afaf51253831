// The shell program on a device that starts it by itself: the navigation bar and the Today
// screen, "ok" and "X" for the window in front, the start menu, help requests and the record
// button, and a shell that ends without taking the device along.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "button_table.h"
#include "installed_programs.h"
#include "platform/windows/windows_fixture.h"

namespace handheld::testing {
namespace {

// What the help-request window received; its HELPINFO lives only during the call.
HELPINFO g_help{};
int g_helpCount = 0;

LRESULT CALLBACK helpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP) {
    g_help = *reinterpret_cast<const HELPINFO*>(lParam);
    ++g_helpCount;
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class ShellProgram : public WindowsTest {
 protected:
  void SetUp() override {
    startupPrograms = true;
    WindowsTest::SetUp();
    ASSERT_TRUE(shellUp());
  }

  bool shellUp() {
    for (int i = 0; i < 200; ++i) {
      if (FindWindowW(u"ShellNavigationBar", nullptr) && waitIdle()) return true;
      Sleep(50);
    }
    return false;
  }
  std::string ctlOutput(const std::string& arguments) {
    std::string out;
    EXPECT_EQ(ctl(arguments, &out), 0) << arguments;
    return out;
  }
  // A full-screen window of this process in front of the shell's.
  HWND programWindow(const char16_t* title) {
    HWND window = create(WS_VISIBLE, nullptr, {0, 26, 240, 294}, 0, title);
    SetForegroundWindow(window);
    EXPECT_TRUE(waitIdle());
    return window;
  }
  bool received(HWND window, UINT message, WPARAM wParam) {
    return recorder.pumpUntil([&] {
      for (const auto& m : recorder.messages())
        if (m.window == window && m.message == message && m.wParam == wParam) return true;
      return false;
    });
  }
  // Taps the start button and waits for the menu.
  std::string openStartMenu() {
    EXPECT_EQ(ctl("tap 20 13"), 0);
    std::string menu;
    for (int i = 0; i < 100 && ctl("menu", &menu) != 0; ++i) Sleep(50);
    return menu;
  }
};

TEST_F(ShellProgram, NavigationBarAndTodayScreenAppearWithTheDevice) {
  HWND bar = FindWindowW(u"ShellNavigationBar", nullptr);
  HWND desktop = FindWindowW(u"ShellDesktop", nullptr);
  ASSERT_NE(desktop, nullptr);
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 26);
  GetWindowRect(desktop, &r);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.bottom, 320);
  EXPECT_EQ(GetForegroundWindow(), desktop);
  EXPECT_NE(ctlOutput("ps").find("shell.exe"), std::string::npos);

  // The bar and the Today screen below it are drawn: not one colour.
  const std::string barPixel = ctlOutput("pixel 120 20"), todayPixel = ctlOutput("pixel 120 200");
  EXPECT_EQ(barPixel, "#002878\n");
  EXPECT_NE(barPixel, todayPixel);
  EXPECT_NE(todayPixel, "#000000\n");  // not the bare screen

  // The device greets with its start-up chime: 0.6 s from the image's file.
  const std::string played = ctlOutput("speaker-log");
  EXPECT_NE(played.find("source=\"\\Windows\\startup.wav\""), std::string::npos) << played;
  EXPECT_NE(played.find("format=pcm16/mono/22050 length=0.600"), std::string::npos) << played;
}

// Setting the device clock shows the new time at once, not at the next minute of the old one.
TEST_F(ShellProgram, ClockFollowsTheDeviceClockWhenItIsSet) {
  const auto clockPixels = [&] {
    const std::filesystem::path shot = hostPath("clock.png");
    EXPECT_EQ(ctl("screenshot '" + shot.string() + "'"), 0);
    std::ifstream file(shot, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  ASSERT_EQ(ctl("clock freeze '2030-01-02 08:15:00'"), 0);
  ASSERT_TRUE(waitIdle());
  const std::string quarterPast = clockPixels();
  ASSERT_EQ(ctl("clock freeze '2030-01-02 09:47:00'"), 0);
  ASSERT_TRUE(waitIdle());
  EXPECT_NE(clockPixels(), quarterPast);
  ASSERT_EQ(ctl("clock freeze '2030-01-02 08:15:00'"), 0);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(clockPixels(), quarterPast);
}

TEST_F(ShellProgram, OkSendsIdOkToTheWindowAcrossProcesses) {
  HWND window = programWindow(u"Options");
  SHINITDLGINFO info{SHIDIM_FLAGS, window, SHIDIF_DONEBUTTON};
  ASSERT_TRUE(SHInitDialog(&info));
  ASSERT_TRUE(waitIdle());
  recorder.clear();
  ASSERT_EQ(ctl("tap 227 13"), 0);
  EXPECT_TRUE(received(window, WM_COMMAND, IDOK));
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(ShellProgram, CloseBoxPutsTheWindowBehindTodayWithoutClosingIt) {
  HWND window = programWindow(u"Notes");
  recorder.clear();
  ASSERT_EQ(ctl("tap 227 13"), 0);
  HWND desktop = FindWindowW(u"ShellDesktop", nullptr);
  EXPECT_TRUE(recorder.pumpUntil([&] { return GetForegroundWindow() == desktop; }));
  ASSERT_TRUE(waitIdle());
  EXPECT_TRUE(IsWindow(window));
  for (const auto& m : recorder.messages()) {
    EXPECT_NE(m.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_FALSE(m.message == WM_COMMAND && m.wParam == IDOK);
  }
}

TEST_F(ShellProgram, RecordButtonStartsPinnotes) {
  EXPECT_EQ(ctlOutput("ps").find("Pinnotes.exe"), std::string::npos);
  ASSERT_EQ(ctl("button press 0xC5"), 0);
  std::string ps;
  for (int i = 0; i < 100; ++i) {
    ps = ctlOutput("ps");
    if (ps.find("\\Program Files\\Pinnotes\\Pinnotes.exe") != std::string::npos) break;
    Sleep(50);
  }
  EXPECT_NE(ps.find("\\Program Files\\Pinnotes\\Pinnotes.exe"), std::string::npos) << ps;
}

TEST_F(ShellProgram, ButtonKeysAndTheInstalledPrograms) {
  EXPECT_EQ(shell::buttonKey(0xC1), u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C1");
  EXPECT_EQ(shell::buttonKey(0xC5), u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C5");
  EXPECT_EQ(shell::buttonAction(0xC5), u"\\Program Files\\Pinnotes\\Pinnotes.exe");
  EXPECT_EQ(shell::buttonName(0xC5), u"Button 5");
  EXPECT_EQ(shell::setButtonAction(0xC2, std::u16string(300, u'a')), ERROR_INVALID_PARAMETER);

  const auto programs = shell::installedPrograms();
  bool gallery = false, pinnotes = false;
  for (size_t i = 0; i < programs.size(); ++i) {
    EXPECT_NE(programs[i].name, u"shell");
    if (programs[i].name == u"ctlgallery") gallery = programs[i].path == u"\\Windows\\ctlgallery.exe";
    if (programs[i].name == u"Pinnotes") pinnotes = programs[i].path == u"\\Program Files\\Pinnotes\\Pinnotes.exe";
  }
  EXPECT_TRUE(gallery);
  EXPECT_TRUE(pinnotes);
}

TEST_F(ShellProgram, ApplicationButtonsFollowTheButtonTable) {
  HWND desktop = FindWindowW(u"ShellDesktop", nullptr);
  programWindow(u"Notes");
  ASSERT_NE(GetForegroundWindow(), desktop);
  ASSERT_EQ(ctl("button press 0xC1"), 0);  // the default: the Today screen
  EXPECT_TRUE(recorder.pumpUntil([&] { return GetForegroundWindow() == desktop; }));

  ASSERT_EQ(ctl("button press 0xC3"), 0);  // the default: the start menu
  std::string menu;
  for (int i = 0; i < 100 && ctl("menu", &menu) != 0; ++i) Sleep(50);
  EXPECT_NE(menu.find("\"Settings\""), std::string::npos) << menu;
  ASSERT_EQ(ctl("choose Settings"), 0);

  // The sheet covers the screen with its own "ok"; the navigation bar stands back meanwhile
  // and comes back when the sheet is closed.
  HWND bar = FindWindowW(u"ShellNavigationBar", nullptr);
  EXPECT_TRUE(recorder.pumpUntil([&] { return FindWindowW(nullptr, u"Settings") && !IsWindowVisible(bar); }));
  ASSERT_TRUE(waitIdle());
  ASSERT_EQ(ctl("tap 227 13"), 0);
  EXPECT_TRUE(recorder.pumpUntil([&] { return !FindWindowW(nullptr, u"Settings") && IsWindowVisible(bar); }));

  // A change of the table applies at the next press.
  ASSERT_EQ(shell::setButtonAction(0xC4, u"\\Windows\\ctlgallery.exe"), ERROR_SUCCESS);
  EXPECT_EQ(shell::buttonAction(0xC4), u"\\Windows\\ctlgallery.exe");
  ASSERT_EQ(ctl("button press 0xC4"), 0);
  std::string ps;
  for (int i = 0; i < 100; ++i) {
    ps = ctlOutput("ps");
    if (ps.find("ctlgallery.exe") != std::string::npos) break;
    Sleep(50);
  }
  EXPECT_NE(ps.find("\\Windows\\ctlgallery.exe"), std::string::npos) << ps;
}

TEST_F(ShellProgram, StartMenuListsTheProgramsAndStartsOne) {
  const std::string menu = openStartMenu();
  EXPECT_NE(menu.find("\"ctlgallery\""), std::string::npos) << menu;
  EXPECT_NE(menu.find("\"Pinnotes\""), std::string::npos) << menu;
  EXPECT_NE(menu.find("\"Settings\""), std::string::npos) << menu;
  EXPECT_NE(menu.find("\"Help\""), std::string::npos) << menu;
  EXPECT_EQ(menu.find("\"shell\""), std::string::npos) << menu;
  ASSERT_EQ(ctl("choose ctlgallery"), 0);
  std::string ps;
  for (int i = 0; i < 100; ++i) {
    ps = ctlOutput("ps");
    if (ps.find("ctlgallery.exe") != std::string::npos) break;
    Sleep(50);
  }
  EXPECT_NE(ps.find("\\Windows\\ctlgallery.exe"), std::string::npos) << ps;
}

TEST_F(ShellProgram, HelpReachesTheProgramInFrontWithItsHelpInfo) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = helpProc;
  wc.lpszClassName = u"HelpTarget";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, u"HelpTarget", u"Help target", WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  ASSERT_TRUE(waitIdle());
  g_helpCount = 0;
  g_help = {};
  openStartMenu();
  ASSERT_EQ(ctl("choose Help"), 0);
  ASSERT_TRUE(recorder.pumpUntil([] { return g_helpCount > 0; }));
  EXPECT_EQ(g_helpCount, 1);
  EXPECT_EQ(g_help.cbSize, sizeof(HELPINFO));
  EXPECT_EQ(g_help.iContextType, 1);  // HELPINFO_WINDOW
  EXPECT_EQ(g_help.hItemHandle, window);
  DestroyWindow(window);
}

TEST_F(ShellProgram, ShellThatEndsIsLoggedAndTheDeviceGoesOn) {
  DWORD pid = 0;
  GetWindowThreadProcessId(FindWindowW(u"ShellNavigationBar", nullptr), &pid);
  ASSERT_NE(pid, 0u);
  auto killed = device().call<ipc::KillProcess>({pid, 9});
  ASSERT_TRUE(killed);
  EXPECT_EQ(killed->error, 0u);
  EXPECT_TRUE(waitExit(pid).has_value());
  EXPECT_EQ(ctl("status"), 0);
  std::ifstream log(hostPath(".device/device.log"));
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("start-up program (process " + std::to_string(pid) + ") ended"), std::string::npos);
}

}  // namespace
}  // namespace handheld::testing
