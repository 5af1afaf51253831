// Focus, capture and activation within one process.
#include <gtest/gtest.h>

#include <vector>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class Focus : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW,
                     WM_MOVE, WM_SIZE, WM_NCCREATE, WM_CREATE});
  }
};

TEST_F(Focus, FocusMovesWithKillAndSetFocus) {
  HWND top = create(WS_VISIBLE, nullptr, {0, 0, 200, 200});
  HWND one = create(WS_CHILD | WS_VISIBLE, top, {0, 0, 50, 50}, 1);
  HWND two = create(WS_CHILD | WS_VISIBLE, top, {60, 0, 110, 50}, 2);
  EXPECT_EQ(GetFocus(), top);  // activation gave it the focus
  recorder.clear();
  EXPECT_EQ(SetFocus(one), top);
  EXPECT_EQ(SetFocus(two), one);
  EXPECT_EQ(SetFocus(two), two);  // no change, no messages
  EXPECT_EQ(GetFocus(), two);
  EnableWindow(two, FALSE);  // a disabled window cannot keep the focus
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(recorder.matches({
      {WM_KILLFOCUS, kWParam, reinterpret_cast<WPARAM>(one), 0, top},
      {WM_SETFOCUS, kWParam, reinterpret_cast<WPARAM>(top), 0, one},
      {WM_KILLFOCUS, kWParam, reinterpret_cast<WPARAM>(two), 0, one},
      {WM_SETFOCUS, kWParam, reinterpret_cast<WPARAM>(one), 0, two},
      {WM_KILLFOCUS, kWParam, 0, 0, two},
      {WM_ENABLE, kWParam, FALSE, 0, two},
  }));
}

TEST_F(Focus, CaptureChanges) {
  HWND top = create(WS_VISIBLE);
  HWND one = create(WS_CHILD, top, {0, 0, 10, 10}, 1);
  recorder.clear();
  EXPECT_EQ(SetCapture(one), nullptr);
  EXPECT_EQ(SetCapture(top), one);
  EXPECT_EQ(GetCapture(), top);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(recorder.matches({
      {WM_CAPTURECHANGED, kLParam, 0, reinterpret_cast<LPARAM>(top), one},
      {WM_CAPTURECHANGED, kLParam, 0, 0, top},
  }));
}

TEST_F(Focus, ActivationBetweenTwoWindowsOfOneThread) {
  HWND a = create(WS_VISIBLE, nullptr, {0, 0, 50, 50}, 0, u"A");
  HWND b = create(WS_VISIBLE, nullptr, {0, 0, 50, 50}, 0, u"B");
  EXPECT_EQ(GetForegroundWindow(), b);
  recorder.clear();
  ASSERT_TRUE(SetForegroundWindow(a));
  EXPECT_TRUE(recorder.matches({
      {WM_ACTIVATE, kWParam | kLParam, WA_INACTIVE, reinterpret_cast<LPARAM>(a), b},
      {WM_ACTIVATE, kWParam | kLParam, WA_ACTIVE, reinterpret_cast<LPARAM>(b), a},
      {WM_KILLFOCUS, kWParam, reinterpret_cast<WPARAM>(a), 0, b},
      {WM_SETFOCUS, kWParam, reinterpret_cast<WPARAM>(b), 0, a},
  }));
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetActiveWindow(), a);

  std::vector<HWND> order;
  EnumWindows([](HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&order));
  EXPECT_EQ(order, (std::vector<HWND>{a, b}));
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);

  ASSERT_TRUE(BringWindowToTop(b));
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_EQ(SetActiveWindow(a), b);

  // The active window going away activates the next one.
  recorder.clear();
  DestroyWindow(a);
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_TRUE(recorder.matches({{WM_ACTIVATE, kWParam, WA_INACTIVE, 0, a},
                                {WM_ACTIVATE, kWParam, WA_ACTIVE, 0, b},
                                {WM_KILLFOCUS, 0, 0, 0, a},
                                {WM_SETFOCUS, 0, 0, 0, b},
                                {WM_DESTROY, 0, 0, 0, a},
                                {WM_NCDESTROY, 0, 0, 0, a}}));
}

}  // namespace
}  // namespace handheld::testing
