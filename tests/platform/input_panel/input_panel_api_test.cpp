// The input panel and the system parameters from a program on a running device: SHSipInfo
// and the Sip functions, the announcement of every change, each window's own wish restored
// on activation, and the SHHandleWM helpers.
#include <gtest/gtest.h>
#include <windows.h>
#include <aygshell.h>

#include <cstring>
#include <string>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class InputPanelApi : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"PanelTest");
  }
  void TearDown() override {
    for (HWND w : windows) DestroyWindow(w);
    DeviceFixture::TearDown();
  }

  HWND makeWindow(RECT r = {0, 26, 240, 294}) {
    HWND w = CreateWindowExW(0, u"PanelTest", u"", WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    windows.push_back(w);
    return w;
  }

  static SIPINFO info() {
    SIPINFO sip{};
    sip.cbSize = sizeof sip;
    EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
    return sip;
  }
  static bool up() { return (info().fdwFlags & 1) != 0; }

  int settingChanges(HWND window) {
    int count = 0;
    for (const auto& m : recorder.messages())
      if (m.window == window && m.message == WM_SETTINGCHANGE && m.wParam == 224) ++count;
    return count;
  }

  MessageRecorder recorder;
  std::vector<HWND> windows;
};

bool sameRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

TEST_F(InputPanelApi, SystemParametersAnswerWhatTheDeviceIs) {
  char16_t type[32] = {};
  ASSERT_TRUE(SystemParametersInfoW(257, sizeof type, type, 0));
  EXPECT_EQ(std::u16string(type), u"PocketPC");
  char16_t small[8] = {};  // "PocketPC" needs nine characters with its terminator
  SetLastError(0);
  EXPECT_FALSE(SystemParametersInfoW(257, sizeof small, small, 0));
  EXPECT_EQ(GetLastError(), 122u);
  char16_t oem[64] = {};
  ASSERT_TRUE(SystemParametersInfoW(258, sizeof oem, oem, 0));
  EXPECT_GT(std::u16string(oem).size(), 0u);

  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(48, 0, &work, 0));
  EXPECT_TRUE(sameRect(work, 0, 26, 240, 294));
  for (UINT other : {47u, 0u, 9999u}) {
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoW(other, 0, &work, 0)) << other;
    EXPECT_EQ(GetLastError(), 87u) << other;
  }
  EXPECT_FALSE(SystemParametersInfoW(48, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfoW(257, 64, nullptr, 0));

  // The work area follows the screen.
  ASSERT_EQ(ctl("screen vga"), 0);
  ASSERT_TRUE(SystemParametersInfoW(48, 0, &work, 0));
  EXPECT_TRUE(sameRect(work, 0, 52, 480, 588));
}

TEST_F(InputPanelApi, PanelInfoAtBothStructureSizes) {
  EXPECT_EQ(SIPF_OFF, 0);
  EXPECT_EQ(SIPF_ON, 1);
  EXPECT_EQ(SIPF_DOCKED, 2);
  EXPECT_EQ(SIPF_LOCKED, 4);
  EXPECT_EQ(SIP_UP, 0);
  EXPECT_EQ(SIP_DOWN, 1);
  EXPECT_EQ(SIP_FORCEDOWN, 2);
  EXPECT_EQ(SIP_UNCHANGED, 3);
  EXPECT_EQ(SIP_INPUTDIALOG, 4);
  EXPECT_EQ(SHA_INPUTDIALOG, 1);

  SIPINFO sip = info();
  EXPECT_EQ(sip.fdwFlags, 2u);  // docked, down
  EXPECT_TRUE(sameRect(sip.rcVisibleDesktop, 0, 26, 240, 320));
  EXPECT_TRUE(sameRect(sip.rcSipRect, 0, 214, 240, 294));

  // A 32-bit program's 48 bytes: answered, and not one byte written beyond them.
  unsigned char bytes[64];
  std::memset(bytes, 0xAB, sizeof bytes);
  const DWORD size32 = 48;
  std::memcpy(bytes, &size32, sizeof size32);
  ASSERT_TRUE(SipGetInfo(reinterpret_cast<SIPINFO*>(bytes)));
  DWORD flags = 0;
  LONG visibleBottom = 0;
  std::memcpy(&flags, bytes + 4, 4);
  std::memcpy(&visibleBottom, bytes + 8 + 12, 4);
  EXPECT_EQ(flags, 2u);
  EXPECT_EQ(visibleBottom, 320);
  for (size_t i = 44; i < sizeof bytes; ++i) EXPECT_EQ(bytes[i], 0xAB) << i;

  for (DWORD wrong : {0u, 47u, 52u, 1000u}) {
    SIPINFO bad{};
    bad.cbSize = wrong;
    SetLastError(0);
    EXPECT_FALSE(SipGetInfo(&bad)) << wrong;
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_FALSE(SipSetInfo(&bad)) << wrong;
  }
  EXPECT_FALSE(SipGetInfo(nullptr));
  EXPECT_FALSE(SHSipInfo(48, 0, &sip, 0));  // only the panel's two actions
}

TEST_F(InputPanelApi, UpAndDownShrinkTheVisibleDesktopAndTellEveryWindow) {
  HWND first = makeWindow(), second = makeWindow();
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  SIPINFO sip = info();
  EXPECT_EQ(sip.fdwFlags, 3u);
  EXPECT_TRUE(sameRect(sip.rcVisibleDesktop, 0, 26, 240, 214));
  ASSERT_TRUE(recorder.pumpUntil([&] { return settingChanges(first) == 1 && settingChanges(second) == 1; }));
  // Already up: nothing changes, nobody is told.
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  EXPECT_TRUE(sameRect(info().rcVisibleDesktop, 0, 26, 240, 320));
  ASSERT_TRUE(recorder.pumpUntil([&] { return settingChanges(first) == 2 && settingChanges(second) == 2; }));
  int idle = -1;
  recorder.pumpWhile([&] { idle = ctl("wait-idle 10"); });
  ASSERT_EQ(idle, 0);
  EXPECT_EQ(settingChanges(first), 2);
  for (const auto& m : recorder.messages())
    if (m.message == WM_SETTINGCHANGE) EXPECT_EQ(m.lParam, 0);

  // SipSetInfo takes the flags of a structure read before; the panel's place is its own.
  sip = info();
  sip.fdwFlags |= SIPF_ON;
  sip.rcSipRect = RECT{0, 0, 10, 10};
  ASSERT_TRUE(SipSetInfo(&sip));
  EXPECT_TRUE(up());
  EXPECT_TRUE(sameRect(info().rcSipRect, 0, 214, 240, 294));
  sip.fdwFlags = 0x10;
  SetLastError(0);
  EXPECT_FALSE(SipSetInfo(&sip));
  EXPECT_EQ(GetLastError(), 87u);
  EXPECT_TRUE(up());
  SetLastError(0);
  EXPECT_FALSE(SipShowIM(2));
  EXPECT_EQ(GetLastError(), 87u);

  // The visible desktop follows the screen mode while the panel is up.
  ASSERT_EQ(ctl("screen vga"), 0);
  sip = info();
  EXPECT_TRUE(sameRect(sip.rcVisibleDesktop, 0, 52, 480, 428));
  EXPECT_TRUE(sameRect(sip.rcSipRect, 0, 428, 480, 588));
}

TEST_F(InputPanelApi, EachWindowGetsItsOwnPanelBackWhenActivated) {
  HWND writer = makeWindow(), reader = makeWindow();
  HWND field = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, writer, nullptr, nullptr, nullptr);
  ASSERT_TRUE(SetForegroundWindow(writer));
  ASSERT_TRUE(SHSipPreference(field, SIP_UP));  // a child speaks for its top-level window
  EXPECT_TRUE(up());
  ASSERT_TRUE(SetForegroundWindow(reader));
  EXPECT_FALSE(up());  // it left the panel down when it lost the activation
  ASSERT_TRUE(SetForegroundWindow(writer));
  EXPECT_TRUE(up());
  ASSERT_TRUE(SetForegroundWindow(reader));
  EXPECT_FALSE(up());

  // The state a window leaves with is its wish too: raised by hand while it is active.
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(SetForegroundWindow(writer));
  ASSERT_TRUE(SHSipPreference(writer, SIP_DOWN));
  EXPECT_FALSE(up());
  ASSERT_TRUE(SetForegroundWindow(reader));
  EXPECT_TRUE(up());

  // An input dialog ignores its fields' wish to lower the panel; only forcing lowers it.
  ASSERT_TRUE(SetForegroundWindow(writer));
  ASSERT_TRUE(SHSipPreference(writer, SIP_INPUTDIALOG));
  ASSERT_TRUE(SHSipPreference(writer, SIP_UP));
  ASSERT_TRUE(SHSipPreference(writer, SIP_DOWN));
  EXPECT_TRUE(up());
  ASSERT_TRUE(SHSipPreference(writer, SIP_UNCHANGED));
  EXPECT_TRUE(up());
  ASSERT_TRUE(SHSipPreference(writer, SIP_FORCEDOWN));
  EXPECT_FALSE(up());

  SetLastError(0);
  EXPECT_FALSE(SHSipPreference(nullptr, SIP_UP));
  EXPECT_EQ(GetLastError(), 1400u);
  SetLastError(0);
  EXPECT_FALSE(SHSipPreference(writer, static_cast<SIPSTATE>(5)));
  EXPECT_EQ(GetLastError(), 87u);
  EXPECT_FALSE(up());
}

TEST_F(InputPanelApi, ActivationHelperKeepsFocusAndPanelAcrossDeactivation) {
  HWND window = makeWindow();
  HWND field = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window, nullptr, nullptr, nullptr);
  SHACTIVATEINFO activation{};
  SetLastError(0);
  EXPECT_FALSE(SHHandleWMActivate(window, WA_ACTIVE, 0, &activation, 0));  // no size given
  EXPECT_EQ(GetLastError(), 87u);
  EXPECT_FALSE(SHHandleWMActivate(window, WA_ACTIVE, 0, nullptr, 0));

  activation.cbSize = sizeof activation;
  ASSERT_TRUE(SetForegroundWindow(window));
  SetFocus(field);
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &activation, 0));
  EXPECT_EQ(activation.fActive, 0u);
  EXPECT_EQ(activation.fSipOnDeactivation, 1u);
  EXPECT_EQ(activation.hwndLastFocus, field);
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  SetFocus(window);
  ASSERT_TRUE(SHHandleWMActivate(window, WA_ACTIVE, 0, &activation, 0));
  EXPECT_EQ(activation.fActive, 1u);
  EXPECT_EQ(activation.fSipUp, 1u);
  EXPECT_TRUE(up());
  EXPECT_EQ(GetFocus(), field);

  // An input dialog leaves the panel as it is.
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  ASSERT_TRUE(SHHandleWMActivate(window, WA_ACTIVE, 0, &activation, SHA_INPUTDIALOG));
  EXPECT_FALSE(up());
  EXPECT_EQ(activation.fSipUp, 0u);

  // The structure's size on a 32-bit device is taken as well.
  SHACTIVATEINFO small{};
  small.cbSize = 12;
  EXPECT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &small, 0));
}

TEST_F(InputPanelApi, SettingChangeHelperFitsAFullScreenWindowToThePanel) {
  HWND window = makeWindow();
  SHACTIVATEINFO activation{};
  activation.cbSize = sizeof activation;
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(SHHandleWMSettingChange(window, 224, 0, &activation));
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_TRUE(sameRect(r, 0, 26, 240, 214));
  EXPECT_EQ(activation.fSipUp, 1u);
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  ASSERT_TRUE(SHHandleWMSettingChange(window, 224, 0, &activation));
  GetWindowRect(window, &r);
  EXPECT_TRUE(sameRect(r, 0, 26, 240, 294));
  EXPECT_EQ(activation.fSipUp, 0u);
  // Other setting changes leave the window alone.
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(SHHandleWMSettingChange(window, 0x3002, 0, &activation));
  GetWindowRect(window, &r);
  EXPECT_TRUE(sameRect(r, 0, 26, 240, 294));
}

}  // namespace
}  // namespace handheld::testing
