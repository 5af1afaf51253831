// The shell services' window state as the shell hears of it (this test process stands in for
// the shell), dialog sizing below the navigation bar, and hot keys taking a button away from
// the window in front.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <optional>

#include "ipc/client.h"
#include "ipc/protocol.h"
#include "platform/windows/windows_fixture.h"

namespace handheld::testing {
namespace {

// What the server pushed to the stand-in shell; filled on the client's reader thread.
std::mutex g_lock;
std::optional<ipc::ShellForeground> g_pushed;

class ShellServices : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    {
      std::lock_guard guard(g_lock);
      g_pushed.reset();
    }
    auto& client = ipc::DeviceClient::get();
    client.onPush<ipc::ShellForeground>([](ipc::ShellForeground& pushed) {
      std::lock_guard guard(g_lock);
      g_pushed = pushed;
    });
    client.notify(ipc::ShellAttach{});
  }

  // Waits until the latest push satisfies `check`.
  bool pushedSoon(const std::function<bool(const ipc::ShellForeground&)>& check) {
    return recorder.pumpUntil([&] {
      std::lock_guard guard(g_lock);
      return g_pushed && check(*g_pushed);
    });
  }
  static uint32_t value(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

  HWND frontWindow(const char16_t* title = u"Front") {
    HWND window = create(WS_VISIBLE, nullptr, {10, 40, 110, 140}, 0, title);
    SetForegroundWindow(window);
    return window;
  }
};

TEST(ShellServiceValues, AsProgramsUseThem) {
  EXPECT_EQ(SHIDIM_FLAGS, 0x0001);
  EXPECT_EQ(SHIDIF_DONEBUTTON, 0x0001);
  EXPECT_EQ(SHIDIF_SIZEDLG, 0x0002);
  EXPECT_EQ(SHIDIF_SIZEDLGFULLSCREEN, 0x0004);
  EXPECT_EQ(SHIDIF_SIPDOWN, 0x0008);
  EXPECT_EQ(SHIDIF_FULLSCREENNOMENUBAR, 0x0010);
  EXPECT_EQ(SHIDIF_EMPTYMENU, 0x0020);
  EXPECT_EQ(SHFS_SHOWTASKBAR, 0x0001);
  EXPECT_EQ(SHFS_HIDETASKBAR, 0x0002);
  EXPECT_EQ(SHFS_SHOWSIPBUTTON, 4);
  EXPECT_EQ(SHFS_HIDESIPBUTTON, 8);
  EXPECT_EQ(SHFS_SHOWSTARTICON, 0x0010);
  EXPECT_EQ(SHFS_HIDESTARTICON, 0x0020);
  EXPECT_EQ(WM_HOTKEY, 786);
  EXPECT_EQ(WM_HELP, 83);
  EXPECT_EQ(ERROR_HOTKEY_ALREADY_REGISTERED, 1409);
  EXPECT_EQ(ERROR_HOTKEY_NOT_REGISTERED, 1419);
  SHINITDLGINFO info{1, reinterpret_cast<HWND>(2), 3};
  EXPECT_EQ(info.dwMask, 1u);
  EXPECT_EQ(info.dwFlags, 3u);
}

TEST_F(ShellServices, InitDialogSizesBelowTheNavigationBar) {
  HWND dialog = create(WS_VISIBLE, nullptr, {10, 40, 110, 140});
  RECT r;
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  GetWindowRect(dialog, &r);
  // QVGA at 96 dpi: a 26-pixel navigation bar on top and a 26-pixel menu bar below.
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 294);

  info.dwFlags = SHIDIF_FULLSCREENNOMENUBAR;
  ASSERT_TRUE(SHInitDialog(&info));
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.bottom, 320);

  // An empty menu bar keeps its band, and the dialog gets one.
  info.dwFlags = SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_EMPTYMENU;
  ASSERT_TRUE(SHInitDialog(&info));
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.bottom, 294);
  HWND bar = FindWindowW(u"HandheldMenuBar", nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetWindow(bar, GW_OWNER), dialog);

  // The input panel goes down for SHIDIF_SIPDOWN.
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  info.dwFlags = SHIDIF_SIPDOWN;
  ASSERT_TRUE(SHInitDialog(&info));
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);

  // Only the done button: the size stays.
  MoveWindow(dialog, 5, 50, 60, 70, TRUE);
  info.dwFlags = SHIDIF_DONEBUTTON;
  ASSERT_TRUE(SHInitDialog(&info));
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom, 120);
  // The dialog takes its bar with it.
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(ShellServices, AFullScreenWindowLeavesItsCaptionToTheNavigationBar) {
  HWND window = create(WS_VISIBLE | WS_CAPTION, nullptr, {10, 40, 110, 140});
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 100 - 2 - GetSystemMetrics(SM_CYCAPTION));  // its own caption band

  SHINITDLGINFO info{SHIDIM_FLAGS, window, SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, WS_BORDER);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 240 - 2);
  EXPECT_EQ(client.bottom, 268 - 2);

  // Sizing alone keeps a window's caption.
  HWND dialog = create(WS_VISIBLE | WS_CAPTION, nullptr, {10, 40, 110, 140});
  info = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  DestroyWindow(dialog);
  DestroyWindow(window);
}

TEST_F(ShellServices, InitDialogOnTheLargeScreenScalesTheBars) {
  ASSERT_EQ(ctl("screen vga"), 0);
  HWND dialog = create(WS_VISIBLE, nullptr, {10, 40, 110, 140});
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  RECT r;
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.top, 52);
  EXPECT_EQ(r.right, 480);
  EXPECT_EQ(r.bottom, 588);
}

TEST_F(ShellServices, BadRequestsAreRefused) {
  SetLastError(0);
  EXPECT_FALSE(SHInitDialog(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HWND dialog = create(WS_VISIBLE);
  SHINITDLGINFO noMask{0, dialog, SHIDIF_DONEBUTTON};
  EXPECT_FALSE(SHInitDialog(&noMask));
  SHINITDLGINFO noWindow{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x7777), SHIDIF_DONEBUTTON};
  EXPECT_FALSE(SHInitDialog(&noWindow));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

  SetLastError(0);
  EXPECT_FALSE(SHFullScreen(dialog, SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(SHFullScreen(dialog, 0));
  EXPECT_FALSE(SHFullScreen(dialog, 0x40));
  EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
}

TEST_F(ShellServices, DoneButtonAndFullScreenStateReachTheShell) {
  HWND window = frontWindow(u"Notes");
  ASSERT_TRUE(pushedSoon([&](const auto& p) { return p.handle == value(window) && p.title == u"Notes"; }));
  {
    std::lock_guard guard(g_lock);
    EXPECT_EQ(g_pushed->state, 0u);
    EXPECT_EQ(g_pushed->pid, static_cast<uint32_t>(getpid()));
  }

  SHINITDLGINFO info{SHIDIM_FLAGS, window, SHIDIF_DONEBUTTON};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.handle == value(window) && p.state == ipc::kShellDoneButton; }));

  ASSERT_TRUE(SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON));
  EXPECT_TRUE(pushedSoon([&](const auto& p) {
    return p.state == (ipc::kShellDoneButton | ipc::kShellTaskBarHidden | ipc::kShellSipButtonHidden);
  }));
  ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_HIDESTARTICON));
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.state == (ipc::kShellDoneButton | ipc::kShellStartIconHidden); }));

  // The title follows the window; the state belongs to the window, not to whatever is in front.
  SetWindowTextW(window, u"Renamed");
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.title == u"Renamed"; }));
  HWND other = frontWindow(u"Other");
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.handle == value(other) && p.state == 0; }));
  SetForegroundWindow(window);
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.handle == value(window) && p.state != 0; }));

  // Turning the done button off, and a window that goes takes its state along.
  info.dwFlags = 0;
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.state == ipc::kShellStartIconHidden; }));
  DestroyWindow(window);
  EXPECT_TRUE(pushedSoon([&](const auto& p) { return p.handle != value(window); }));
}

TEST_F(ShellServices, HotKeyTakesTheButtonFromTheWindowInFront) {
  HWND front = frontWindow();
  HWND owner = create(0, nullptr, {0, 0, 10, 10}, 0, u"Hot key owner");
  HWND rival = create(0, nullptr, {0, 0, 10, 10}, 0, u"Rival");
  ASSERT_TRUE(RegisterHotKey(owner, 7, 0, VK_APP5));
  SetLastError(0);
  EXPECT_FALSE(RegisterHotKey(rival, 8, 0, VK_APP5));
  EXPECT_EQ(GetLastError(), 1409u);
  EXPECT_FALSE(RegisterHotKey(reinterpret_cast<HWND>(0x7777), 1, 0, VK_APP1));
  recorder.clear();

  ASSERT_EQ(ctl("button press 0xC5"), 0);
  ASSERT_TRUE(recorder.pumpUntil([&] {
    for (const auto& m : recorder.messages())
      if (m.window == owner && m.message == WM_HOTKEY) return true;
    return false;
  }));
  ASSERT_TRUE(waitIdle());
  int hotKeys = 0;
  for (const auto& m : recorder.messages()) {
    if (m.message == WM_HOTKEY) {
      ++hotKeys;
      EXPECT_TRUE(m.posted);
      EXPECT_EQ(m.wParam, 7u);
      EXPECT_EQ(m.lParam, 0x00C50000);
    }
    EXPECT_FALSE(m.window == front && (m.message == WM_KEYDOWN || m.message == WM_KEYUP)) << "the key also reached the window in front";
  }
  EXPECT_EQ(hotKeys, 1);  // once per press: the key's way up does not fire again

  EXPECT_TRUE(UnregisterHotKey(owner, 7));
  SetLastError(0);
  EXPECT_FALSE(UnregisterHotKey(owner, 7));
  EXPECT_EQ(GetLastError(), 1419u);
  recorder.clear();
  ASSERT_EQ(ctl("button press 0xC5"), 0);
  EXPECT_TRUE(recorder.pumpUntil([&] {
    for (const auto& m : recorder.messages())
      if (m.window == front && m.message == WM_KEYDOWN && m.wParam == 0xC5) return true;
    return false;
  }));

  // A hot key goes with its window: the key is free for another.
  ASSERT_TRUE(RegisterHotKey(owner, 9, 0, VK_APP1));
  DestroyWindow(owner);
  ASSERT_TRUE(waitIdle());
  EXPECT_TRUE(RegisterHotKey(rival, 9, 0, VK_APP1));
}

}  // namespace
}  // namespace handheld::testing
