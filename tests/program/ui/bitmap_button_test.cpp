// Bitmap buttons: a press and a release post the command to the parent once, wherever the
// stylus is lifted; a release alone posts nothing; buttons sharing a class keep their parents.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"
#include "ui/bitmap_button.h"

namespace handheld::testing {
namespace {

constexpr UINT kCommand = 104;

class BitmapButtons : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    instance_ = GetModuleHandleW(nullptr);
    parents_.registerClass(u"Parent");
    parents_.ignore({WM_PAINT, WM_ERASEBKGND, WM_CAPTURECHANGED, WM_PARENTNOTIFY, WM_NCPAINT});
  }
  HWND makeParent() {
    return CreateWindowExW(0, u"Parent", u"parent", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, instance_,
                           nullptr);
  }
  // The command messages that reached `parent`.
  int commandsAt(HWND parent) {
    parents_.pumpPending();
    int count = 0;
    for (const RecordedMessage& m : parents_.messages()) {
      if (m.window == parent && m.message == WM_USER + kCommand) {
        EXPECT_TRUE(m.posted);
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
        ++count;
      }
    }
    return count;
  }

  HINSTANCE instance_ = nullptr;
  MessageRecorder parents_;
};

TEST_F(BitmapButtons, ReleaseAfterPressPostsOnceInsideOrOutside) {
  HWND parent = makeParent();
  BitmapButton button;
  HWND window = button.create(parent, instance_, IDB_EXPIRY_BUTTON, u"PopupBtnClass", kCommand, 10, 10, 16, 16);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), parent);
  EXPECT_EQ(GetDlgCtrlID(window), static_cast<int>(kCommand));

  SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), window);
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(commandsAt(parent), 1);

  parents_.clear();
  SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(200, -40));  // lifted far outside
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));      // a second lift: no press
  EXPECT_EQ(commandsAt(parent), 1);

  // A release without a press, and a button whose bitmap is missing, post nothing / still work.
  parents_.clear();
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(commandsAt(parent), 0);
  BitmapButton blank;
  HWND blankWindow = blank.create(parent, instance_, 999, u"PopupBtnClass", kCommand, 30, 10, 16, 16);
  ASSERT_NE(blankWindow, nullptr);
  UpdateWindow(blankWindow);
  SendMessageW(blankWindow, WM_LBUTTONDOWN, 0, 0);
  SendMessageW(blankWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(commandsAt(parent), 1);

  button.destroy();
  EXPECT_FALSE(IsWindow(window));
  DestroyWindow(parent);
}

TEST_F(BitmapButtons, ButtonsOfOneClassPostToTheirOwnParents) {
  HWND first = makeParent();
  HWND second = makeParent();
  BitmapButton a;
  BitmapButton b;
  HWND aWindow = a.create(first, instance_, IDB_DATE_BUTTON, u"ClockBtnClass", kCommand, 0, 0, 16, 16);
  HWND bWindow = b.create(second, instance_, IDB_DATE_BUTTON_HIRES, u"ClockBtnClass", kCommand, 0, 0, 32, 32);
  ASSERT_NE(aWindow, nullptr);
  ASSERT_NE(bWindow, nullptr);
  SendMessageW(bWindow, WM_LBUTTONDOWN, 0, 0);
  SendMessageW(bWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(commandsAt(first), 0);
  EXPECT_EQ(commandsAt(second), 1);
  SendMessageW(aWindow, WM_LBUTTONDOWN, 0, 0);
  SendMessageW(aWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(commandsAt(first), 1);

  b.move(40, 0, 32, 32);
  RECT rect;
  GetWindowRect(bWindow, &rect);
  POINT origin = {0, 0};
  ClientToScreen(second, &origin);
  EXPECT_EQ(rect.left - origin.x, 40);
  EXPECT_EQ(rect.right - rect.left, 32);
  DestroyWindow(first);
  DestroyWindow(second);
}

}  // namespace
}  // namespace handheld::testing
