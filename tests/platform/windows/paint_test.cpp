// Update regions and painting: erase only when asked, UpdateWindow at once, hidden windows
// unpainted, the class brush drawn into the window's surface with children clipped out.
#include <gtest/gtest.h>

#include "windows_fixture.h"

namespace handheld::testing {
namespace {

class Painting : public WindowsTest {
 protected:
  // A visible window that has had its first paint.
  HWND paintedWindow(RECT r = {0, 0, 100, 100}) {
    HWND w = create(WS_VISIBLE, nullptr, r);
    recorder.pumpPending();
    recorder.clear();
    return w;
  }
};

TEST_F(Painting, UpdateRegionsGrowAndShrink) {
  HWND w = paintedWindow();
  RECT r;
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
  RECT a{10, 10, 20, 20}, b{50, 60, 70, 80};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, TRUE);
  ASSERT_TRUE(GetUpdateRect(w, &r, FALSE));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 80);
  ValidateRect(w, &b);
  ASSERT_TRUE(GetUpdateRect(w, &r, FALSE));
  EXPECT_EQ(r.right, 20);
  RECT outside{500, 500, 600, 600};
  ValidateRect(w, nullptr);
  InvalidateRect(w, &outside, TRUE);  // clipped to the client area: nothing
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({}));
}

TEST_F(Painting, EraseOnlyWhenAskedAndPaintOnlyOnce) {
  HWND w = paintedWindow();
  InvalidateRect(w, nullptr, FALSE);
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted}}));
  recorder.clear();
  InvalidateRect(w, nullptr, FALSE);
  InvalidateRect(w, nullptr, TRUE);
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted}, {WM_ERASEBKGND, kSent}}));
}

TEST_F(Painting, UpdateWindowPaintsAtOnce) {
  HWND w = paintedWindow();
  HWND child = create(WS_CHILD | WS_VISIBLE, w, {10, 10, 30, 30}, 1);
  recorder.pumpPending();
  recorder.clear();
  InvalidateRect(w, nullptr, TRUE);
  InvalidateRect(child, nullptr, FALSE);
  ASSERT_TRUE(UpdateWindow(w));
  EXPECT_TRUE(recorder.matches({{WM_PAINT, kSent, 0, 0, w}, {WM_ERASEBKGND, kSent, 0, 0, w}, {WM_PAINT, kSent, 0, 0, child}}));
  recorder.clear();
  EXPECT_TRUE(UpdateWindow(w));  // nothing left to paint
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({}));
}

TEST_F(Painting, HiddenWindowsAreNotPaintedAndShowingPaintsThemWhole) {
  HWND w = create(0);
  InvalidateRect(w, nullptr, TRUE);
  RECT r;
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
  recorder.pumpPending();
  recorder.clear();
  ShowWindow(w, SW_SHOWNA);
  ASSERT_TRUE(GetUpdateRect(w, &r, FALSE));
  EXPECT_EQ(r.right, 100);
  ShowWindow(w, SW_HIDE);
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
}

TEST_F(Painting, AProcedureThatDoesNotValidateIsNotAskedForEver) {
  HWND w = paintedWindow();
  recorder.react(WM_PAINT, [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; });
  InvalidateRect(w, nullptr, FALSE);
  recorder.pumpPending();
  EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted}}));
  RECT r;
  EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
}

TEST_F(Painting, TheClassBrushFillsTheSurfaceAndChildrenAreClippedOut) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  WNDCLASSW blueClass{};
  blueClass.lpfnWndProc = DefWindowProcW;
  blueClass.hbrBackground = blue;
  blueClass.lpszClassName = u"Blue";
  ASSERT_NE(RegisterClassW(&blueClass), 0);
  HWND parent = create(0, nullptr, {0, 0, 100, 100});
  SetClassLongPtrW(parent, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(red));
  HWND child = CreateWindowExW(0, u"Blue", u"", WS_CHILD | WS_VISIBLE, 20, 20, 30, 30, parent, nullptr,
                               nullptr, nullptr);
  ShowWindow(parent, SW_SHOW);
  recorder.pumpPending();

  // Paint the parent again: its DC may not touch the child.
  InvalidateRect(parent, nullptr, TRUE);
  UpdateWindow(parent);
  HDC parentDc = GetDC(parent);
  EXPECT_EQ(GetPixel(parentDc, 5, 5), RGB(255, 0, 0));
  ReleaseDC(parent, parentDc);
  HDC childDc = GetDC(child);
  EXPECT_EQ(GetPixel(childDc, 5, 5), RGB(0, 0, 255));
  ReleaseDC(child, childDc);

  PAINTSTRUCT paint;
  InvalidateRect(child, nullptr, FALSE);
  HDC hdc = BeginPaint(child, &paint);
  ASSERT_NE(hdc, nullptr);
  EXPECT_FALSE(paint.fErase);
  EXPECT_EQ(paint.rcPaint.right, 30);
  EXPECT_TRUE(EndPaint(child, &paint));
  EXPECT_FALSE(EndPaint(child, &paint));  // released once only
  EXPECT_EQ(ReleaseDC(child, reinterpret_cast<HDC>(0x1234)), 0);
}

}  // namespace
}  // namespace handheld::testing
