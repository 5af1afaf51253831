// Input from automation reaching window procedures: the stylus to the window under the point
// (front-most, deepest enabled child, client coordinates) or to the capture, keys and text to
// the focus window with the characters TranslateMessage makes of them, a tap reaching a
// window of another program, and a killed client's hold let go.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <windows.h>

#include <chrono>
#include <csignal>

#include "ipc/client.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

extern char** environ;

namespace handheld::testing {
namespace {

class InputRoutingTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"Recorded");
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_CAPTURECHANGED});
  }

  HWND create(RECT r, HWND parent = nullptr, DWORD style = WS_VISIBLE) {
    style |= parent ? WS_CHILD : WS_POPUP;
    return CreateWindowExW(0, u"Recorded", u"input", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, nullptr, nullptr, nullptr);
  }

  // Runs handheld-ctl on another thread while this one dispatches what arrives.
  void drive(const std::string& arguments) {
    recorder.clear();
    int code = -1;
    recorder.pumpWhile([&] { code = ctl(arguments); });
    // The input reached this process on its own connection, which the command's reply did
    // not wait for; a round trip on that connection comes back only after it.
    ipc::DeviceClient::get().call<ipc::ClockGet>({});
    recorder.pumpPending();
    ASSERT_EQ(code, 0) << arguments;
  }

  MessageRecorder recorder;
};

TEST_F(InputRoutingTest, StylusGoesToTheFrontWindowsDeepestEnabledChild) {
  HWND back = create({0, 0, 200, 200});
  HWND front = create({100, 100, 200, 200});
  HWND child = create({10, 10, 60, 60}, front);
  HWND disabled = create({10, 70, 60, 90}, front, WS_VISIBLE | WS_DISABLED);
  ASSERT_TRUE(back && front && child && disabled);

  drive("tap 125 130");  // inside the child at (15, 20) of its client area
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted | kWParam | kLParam, MK_LBUTTON, MAKELPARAM(15, 20), child},
                                {WM_LBUTTONUP, kPosted | kWParam | kLParam, 0, MAKELPARAM(15, 20), child}}));
  drive("tap 115 175");  // on the disabled child: its parent takes it
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kLParam, 0, MAKELPARAM(15, 75), front}, {WM_LBUTTONUP}}));
  drive("tap 50 50");
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kLParam, 0, MAKELPARAM(50, 50), back}, {WM_LBUTTONUP}}));
  drive("tap 230 300");  // the bare desktop
  EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(InputRoutingTest, TheCaptureTakesEveryStylusMessage) {
  HWND left = create({0, 0, 100, 100});
  HWND right = create({120, 0, 220, 100});
  ASSERT_TRUE(left && right);
  SetCapture(left);
  drive("drag 150 50 170 60 0");
  auto messages = recorder.messages();
  ASSERT_GE(messages.size(), 3u);
  for (const auto& m : messages) EXPECT_EQ(m.window, left);
  EXPECT_EQ(messages.front().message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(messages.front().lParam, MAKELPARAM(150, 50));
  EXPECT_EQ(messages.back().message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(messages.back().lParam, MAKELPARAM(170, 60));
  ReleaseCapture();
  drive("tap 150 50");
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, 0, 0, 0, right}, {WM_LBUTTONUP, 0, 0, 0, right}}));
}

TEST_F(InputRoutingTest, KeysAndTextReachTheFocusWindowAsCharacters) {
  HWND top = create({0, 0, 100, 100});
  HWND edit = create({0, 0, 50, 50}, top);
  ASSERT_TRUE(top && edit);
  SetForegroundWindow(top);
  SetFocus(edit);
  drive("text 'aB\u00e9'");
  EXPECT_TRUE(recorder.matches({{WM_KEYDOWN, kWParam, 'A', 0, edit},
                                {WM_CHAR, kWParam, u'a', 0, edit},
                                {WM_KEYUP, kWParam, 'A', 0, edit},
                                {WM_KEYDOWN, kWParam, VK_SHIFT, 0, edit},
                                {WM_KEYDOWN, kWParam, 'B', 0, edit},
                                {WM_CHAR, kWParam, u'B', 0, edit},
                                {WM_KEYUP, kWParam, 'B', 0, edit},
                                {WM_KEYUP, kWParam, VK_SHIFT, 0, edit},
                                {WM_CHAR, kWParam, 0xE9, 0, edit}}));
  // The character is the one of the moment of the press, whatever the key state is when the
  // program gets round to translating it.
  recorder.clear();
  ASSERT_EQ(ctl("key down VK_SHIFT"), 0);
  ASSERT_EQ(ctl("key press 0x31"), 0);
  ASSERT_EQ(ctl("key up VK_SHIFT"), 0);
  recorder.pumpUntil([&] { return recorder.messages().size() >= 5; });
  EXPECT_TRUE(recorder.matches({{WM_KEYDOWN, kWParam, VK_SHIFT}, {WM_KEYDOWN, kWParam, '1'}, {WM_CHAR, kWParam, u'!'},
                                {WM_KEYUP, kWParam, '1'}, {WM_KEYUP, kWParam, VK_SHIFT}}));
  drive("button press 0xC1");
  EXPECT_TRUE(recorder.matches({{WM_KEYDOWN, kWParam, VK_APP1, 0, edit}, {WM_KEYUP, kWParam, VK_APP1, 0, edit}}));
}

// A hold whose handheld-ctl is killed ends there: the window gets the stylus up at once, and
// another client's tap is not kept waiting for the rest of the 20 s.
TEST_F(InputRoutingTest, AKilledHoldReleasesTheStylusAndLetsOthersIn) {
  HWND window = create({0, 0, 200, 200});
  ASSERT_TRUE(window);
  SetForegroundWindow(window);
  SetFocus(window);
  recorder.clear();
  const std::string ctlPath = (buildDir() / "bin" / "handheld-ctl").string();
  std::vector<std::string> args{ctlPath, "--root", root().string(), "hold", "40", "30", "20000"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t holder = 0;
  ASSERT_EQ(posix_spawn(&holder, ctlPath.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  EXPECT_TRUE(recorder.pumpUntil([&] { return !recorder.messages().empty(); }));
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kLParam, 0, MAKELPARAM(40, 30), window}}));

  recorder.clear();
  ASSERT_EQ(kill(holder, SIGKILL), 0);
  ASSERT_EQ(waitpid(holder, nullptr, 0), holder);
  EXPECT_TRUE(recorder.pumpUntil([&] { return !recorder.messages().empty(); }, 2000));
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONUP, kLParam, 0, MAKELPARAM(40, 30), window}}));

  const auto start = std::chrono::steady_clock::now();
  drive("tap 50 60");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kLParam, 0, MAKELPARAM(50, 60), window},
                                {WM_LBUTTONUP, kLParam, 0, MAKELPARAM(50, 60), window}}));
  drive("key press VK_RETURN");
  EXPECT_TRUE(recorder.matches({{WM_KEYDOWN, kWParam, VK_RETURN}, {WM_CHAR, kOptional}, {WM_KEYUP, kWParam, VK_RETURN}}));
}

TEST_F(InputRoutingTest, ATapReachesAnotherProgramsWindowProcedure) {
  HANDLE tapped = CreateEventW(nullptr, FALSE, FALSE, u"DisplayTapped");
  run(installTestProgram("display_probe.exe"), u"pattern 0 0 100 100 000000 DisplayTapped");
  ASSERT_EQ(device().call<ipc::WaitIdle>({10000})->error, 0u);
  ASSERT_EQ(ctl("tap 50 50"), 0);
  EXPECT_EQ(WaitForSingleObject(tapped, 5000), WAIT_OBJECT_0);
  CloseHandle(tapped);
}

}  // namespace
}  // namespace handheld::testing
