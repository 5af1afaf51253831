// Tap-and-hold on a device: gesture_probe.exe runs SHRecognizeGesture on each stylus down and
// logs what it heard, driven through handheld-ctl tap, hold and drag.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <string>

#include "shellsvc/gesture/hold_feedback.h"
#include "strings/utf.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

TEST(GestureValues, AsTheHeadersOfThePlatformHaveThem) {
  EXPECT_EQ(SHRG_RETURNCMD, 0x1u);
  EXPECT_EQ(SHRG_NOTIFYPARENT, 0x2u);
  EXPECT_EQ(SHRG_LONGDELAY, 0x8u);
  EXPECT_EQ(SHRG_NOANIMATION, 0x10u);
  EXPECT_EQ(GN_CONTEXTMENU, 1000);
  EXPECT_EQ(offsetof(NMRGINFO, ptAction), sizeof(NMHDR));
}

TEST(GestureValues, ABadRequestIsNoGesture) {
  EXPECT_EQ(SHRecognizeGesture(nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  SHRGINFO wrongSize{sizeof(SHRGINFO) + 1, nullptr, {0, 0}, SHRG_RETURNCMD};
  EXPECT_EQ(SHRecognizeGesture(&wrongSize), 0u);
}

class Gesture : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    pid_ = run(installTestProgram("gesture_probe.exe"));
    ASSERT_EQ(ctl("wait-idle 10"), 0);
    ASSERT_EQ(ctl("find GestureProbe", &probe_), 0);
    probe_.pop_back();
  }
  void act(const std::string& command) {
    ASSERT_EQ(ctl(command), 0) << command;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  // The flags of the next gestures; the log starts empty again.
  void useFlags(unsigned flags) {
    act("post " + probe_ + " WM_APP " + std::to_string(flags) + " 0");
    act("post " + probe_ + " 32769 0 0");
  }
  std::string log() {
    auto list = device().call<ipc::WindowList>({});
    if (list)
      for (const auto& w : list->windows)
        if (w.className == u"GestureProbe") return strings::toUtf8(w.text);
    return "(no probe)";
  }
  uint32_t screenPixel(int x, int y) {
    auto reply = device().call<ipc::ScreenPixel>({x, y});
    return reply ? reply->color : 0xFFFFFFFFu;
  }
  // Runs a ctl gesture and watches the screen while it lasts for the ring's first dot, which
  // sits straight above the stylus, 14 pixels away, in dark blue.
  bool dotSeenDuring(const std::string& gesture) {
    auto running = std::async(std::launch::async, [this, gesture] { return ctl(gesture); });
    bool seen = false;
    while (running.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
      seen = seen || screenPixel(100, 106) == 0x0000A0u;
    EXPECT_EQ(running.get(), 0);
    return seen;
  }

  uint32_t pid_ = 0;
  std::string probe_;
};

TEST_F(Gesture, AHoldNotifiesTheParentAndATapDoesNot) {
  act("tap 100 120");
  EXPECT_EQ(log(), "ret0");
  act("post " + probe_ + " 32769 0 0");
  act("hold 100 120 1500");
  // The parent hears GN_CONTEXTMENU from control 5 at the screen point; its answer comes back.
  EXPECT_EQ(log(), "notify1000:5:100,120 ret7");
}

TEST_F(Gesture, ReturnCmdAnswersItselfAndPlainFlagsNotifyTheWindow) {
  useFlags(SHRG_RETURNCMD);
  act("hold 60 80 1500");
  EXPECT_EQ(log(), "ret1000");
  useFlags(0);
  act("hold 60 80 1500");
  EXPECT_EQ(log(), "self1000 ret9");
  act("tap 60 80");
  EXPECT_EQ(log(), "self1000 ret9 ret0");
}

TEST_F(Gesture, MovingAwayEndsTheHoldButJitterDoesNot) {
  act("drag 100 120 140 160 1500");
  EXPECT_EQ(log(), "ret0");
  act("post " + probe_ + " 32769 0 0");
  // Within the drag distance (4 pixels at this size) the stylus still rests.
  act("drag 100 120 103 123 1500");
  EXPECT_EQ(log(), "notify1000:5:100,120 ret7");
}

TEST_F(Gesture, ALongDelayWaitsTwiceAsLong) {
  useFlags(SHRG_NOTIFYPARENT | SHRG_LONGDELAY);
  act("hold 100 120 700");
  EXPECT_EQ(log(), "ret0");
  act("hold 100 120 2500");
  EXPECT_EQ(log(), "ret0 notify1000:5:100,120 ret7");
}

TEST_F(Gesture, TheRingShowsWhileHoldingAndIsGoneAfter) {
  // The long delay keeps the ring up for a second; the screen is watched meanwhile.
  useFlags(SHRG_NOTIFYPARENT | SHRG_LONGDELAY);
  const uint32_t background = screenPixel(100, 106);
  EXPECT_TRUE(dotSeenDuring("hold 100 120 2500"));
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(screenPixel(100, 106), background);
  EXPECT_EQ(log(), "notify1000:5:100,120 ret7");

  useFlags(SHRG_NOTIFYPARENT | SHRG_LONGDELAY | SHRG_NOANIMATION);
  EXPECT_FALSE(dotSeenDuring("hold 100 120 2500"));
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(log(), "notify1000:5:100,120 ret7");
}

// The feedback in this process's own window: dots one by one, painted over when it ends.
class HoldFeedbackTest : public DeviceFixture {};

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HoldFeedbackTest, DrawsDotsClockwiseAndLeavesNothing) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = plainProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"FeedbackTestWindow";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window = CreateWindowExW(0, u"FeedbackTestWindow", u"", WS_VISIBLE, 0, 0, 120, 120, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(window);
  UpdateWindow(window);
  HDC hdc = GetDC(window);
  const COLORREF background = GetPixel(hdc, 50, 36);
  {
    shellsvc::HoldFeedback feedback(window, {50, 50}, true);
    EXPECT_EQ(shellsvc::HoldFeedback::kDots, 8);
    feedback.show(1);
    EXPECT_EQ(GetPixel(hdc, 50, 36), RGB(0, 0, 160));  // 12 o'clock
    EXPECT_EQ(GetPixel(hdc, 60, 40), background);     // the next dot is not there yet
    feedback.show(3);
    EXPECT_EQ(GetPixel(hdc, 60, 40), RGB(0, 0, 160));
    EXPECT_EQ(GetPixel(hdc, 64, 50), RGB(0, 0, 160));  // 3 o'clock
    EXPECT_EQ(GetPixel(hdc, 36, 50), background);     // 9 o'clock comes last
  }
  EXPECT_EQ(GetPixel(hdc, 50, 36), background);
  EXPECT_EQ(GetPixel(hdc, 64, 50), background);
  {
    shellsvc::HoldFeedback quiet(window, {50, 50}, false);
    quiet.show(8);
    EXPECT_EQ(GetPixel(hdc, 50, 36), background);
  }
  ReleaseDC(window, hdc);
  DestroyWindow(window);
}

}  // namespace
}  // namespace handheld::testing
