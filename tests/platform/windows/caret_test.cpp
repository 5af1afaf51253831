// The caret: inverted pixels at its place on the screen, hides and shows that count, painting
// that takes it off and puts it back, one caret per thread, and a blink timer that runs only
// while the caret shows in the foreground.
#include <gtest/gtest.h>

#include <thread>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

constexpr UINT kSystemTimer = 0x0118;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr DWORD kAccessDenied = 5;

class Caret : public WindowsTest {
 protected:
  // The screen pixel once everything this process drew has reached the server (a call on the
  // same connection comes after it).
  uint32_t pixel(int x, int y) {
    GetForegroundWindow();
    auto reply = device().call<ipc::ScreenPixel>({x, y});
    return reply && reply->error == 0 ? reply->color : 0xFF000000u;
  }
  // Blink ticks of the caret's window dispatched within the time.
  int blinks(HWND window, DWORD milliseconds) {
    int count = 0;
    const DWORD end = GetTickCount() + milliseconds;
    for (DWORD now = GetTickCount(); static_cast<int32_t>(end - now) > 0; now = GetTickCount()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == kSystemTimer && m.hwnd == window) ++count;
        DispatchMessageW(&m);
      }
    }
    return count;
  }
};

TEST_F(Caret, InvertsItsPlaceAndCountsHidesAndShows) {
  ASSERT_TRUE(SetCaretBlinkTime(INFINITE));  // steady, so that pixels can be compared
  HWND w = create(WS_POPUP | WS_VISIBLE, nullptr, {20, 40, 120, 140});
  ASSERT_NE(w, nullptr);
  UpdateWindow(w);
  ASSERT_EQ(pixel(30, 50), kWhite);

  ASSERT_TRUE(CreateCaret(w, nullptr, 3, 12));
  ASSERT_TRUE(SetCaretPos(10, 10));
  EXPECT_EQ(pixel(30, 50), kWhite);  // made hidden
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_EQ(pixel(30, 50), kBlack);
  EXPECT_EQ(pixel(32, 61), kBlack);  // 3 wide, 12 high
  EXPECT_EQ(pixel(33, 50), kWhite);
  EXPECT_EQ(pixel(30, 62), kWhite);
  POINT at{};
  ASSERT_TRUE(GetCaretPos(&at));
  EXPECT_EQ(at.x, 10);
  EXPECT_EQ(at.y, 10);

  // Two hides need two shows; a show too many does not save up for a later hide.
  ASSERT_TRUE(HideCaret(w));
  ASSERT_TRUE(HideCaret(nullptr));
  ASSERT_TRUE(ShowCaret(nullptr));
  EXPECT_EQ(pixel(30, 50), kWhite);
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_EQ(pixel(30, 50), kBlack);
  ASSERT_TRUE(ShowCaret(w));
  ASSERT_TRUE(HideCaret(w));
  EXPECT_EQ(pixel(30, 50), kWhite);
  ASSERT_TRUE(ShowCaret(w));

  // Moving takes it off the old place.
  ASSERT_TRUE(SetCaretPos(50, 20));
  EXPECT_EQ(pixel(30, 50), kWhite);
  EXPECT_EQ(pixel(70, 60), kBlack);

  // A repaint of the window leaves the caret where it was, neither erased nor doubled.
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(pixel(70, 60), kBlack);
  EXPECT_EQ(pixel(30, 50), kWhite);

  // A grey caret turns white into grey.
  ASSERT_TRUE(CreateCaret(w, reinterpret_cast<HBITMAP>(1), 2, 5));
  EXPECT_EQ(pixel(70, 60), kWhite);  // the old caret went with its replacement
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_EQ(pixel(20, 40), 0x7F7F7Fu);
  ASSERT_TRUE(DestroyCaret());
  EXPECT_EQ(pixel(20, 40), kWhite);
  EXPECT_FALSE(DestroyCaret());
  EXPECT_FALSE(ShowCaret(nullptr));
  EXPECT_FALSE(SetCaretPos(1, 1));
  EXPECT_FALSE(GetCaretPos(&at));
}

TEST_F(Caret, BelongsToOneThreadAndGoesWithItsWindow) {
  HWND w = create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 50, 50});
  HWND other = create(WS_POPUP | WS_VISIBLE, nullptr, {60, 0, 110, 50});
  ASSERT_TRUE(CreateCaret(w, nullptr, 0, 0));
  EXPECT_FALSE(HideCaret(other));
  EXPECT_EQ(GetLastError(), kAccessDenied);
  BOOL created = TRUE, hidden = TRUE;
  DWORD error = 0;
  std::thread([&] {
    hidden = HideCaret(nullptr);  // this thread has no caret
    created = CreateCaret(w, nullptr, 2, 2);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(hidden);
  EXPECT_FALSE(created);
  EXPECT_EQ(error, kAccessDenied);
  EXPECT_FALSE(CreateCaret(nullptr, nullptr, 2, 2));
  EXPECT_FALSE(CreateCaret(w, nullptr, -1, 2));

  ASSERT_TRUE(DestroyWindow(w));
  POINT at{};
  EXPECT_FALSE(GetCaretPos(&at));
}

TEST_F(Caret, BlinksOnlyWhileShownInTheForeground) {
  EXPECT_EQ(GetCaretBlinkTime(), 500u);
  EXPECT_FALSE(SetCaretBlinkTime(0));
  ASSERT_TRUE(SetCaretBlinkTime(30));
  EXPECT_EQ(GetCaretBlinkTime(), 30u);
  HWND w = create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 50, 50});
  HWND other = create(WS_POPUP | WS_VISIBLE, nullptr, {60, 0, 110, 50});
  ASSERT_TRUE(SetForegroundWindow(w));
  ASSERT_EQ(GetForegroundWindow(), w);

  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 8));
  EXPECT_EQ(blinks(w, 150), 0);  // made hidden
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_GE(blinks(w, 150), 2);
  ASSERT_TRUE(HideCaret(w));
  EXPECT_EQ(blinks(w, 150), 0);
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_GE(blinks(w, 150), 2);

  // In the background it stands still: no timer runs for it.
  ASSERT_TRUE(SetForegroundWindow(other));
  EXPECT_EQ(blinks(w, 150), 0);
  ASSERT_TRUE(SetForegroundWindow(w));
  EXPECT_GE(blinks(w, 150), 2);

  // A program's own timers with the same id are apart from it.
  ASSERT_EQ(SetTimer(w, 1, 10000, nullptr), 1u);
  ASSERT_TRUE(KillTimer(w, 1));
  EXPECT_GE(blinks(w, 150), 2);

  ASSERT_TRUE(DestroyCaret());
  EXPECT_EQ(blinks(w, 150), 0);
}

}  // namespace
}  // namespace handheld::testing
