// The static: text alignment, images, notifications, colours.
#include <gtest/gtest.h>

#include "controls_fixture.h"
#include "platform/controls/resource.h"

namespace handheld::testing {
namespace {

// A tap on a static with SS_NOTIFY tells the parent at once.
const NamedSequence kNotifyTapSeq = {"tap on a notifying static", {
    {WM_LBUTTONDOWN, kSent},
    {WM_COMMAND, kParent | kWParam, MAKEWPARAM(5, STN_CLICKED)},
    {WM_LBUTTONUP, kSent},
}};

const NamedSequence kQuietTapSeq = {"tap on a static", {
    {WM_LBUTTONDOWN, kSent},
    {WM_LBUTTONUP, kSent},
}};

class Statics : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CTLCOLORSTATIC});
  }

  HWND staticControl(DWORD style, const char16_t* text = u"Text", RECT r = {10, 10, 110, 40}, int id = 5) {
    HWND s = control(u"STATIC", text, style, id, r);
    EXPECT_NE(s, nullptr);
    recorder.watch(s);
    recorder.clear();
    return s;
  }

  // The first and last column with text in it (dark pixels), over the control's width.
  std::pair<int, int> inkColumns(HWND s) {
    RECT client;
    GetClientRect(s, &client);
    recorder.pumpPending();
    HDC hdc = GetDC(s);
    int first = -1, last = -1;
    for (int x = 0; x < client.right; ++x)
      for (int y = 0; y < client.bottom; ++y)
        if (GetRValue(GetPixel(hdc, x, y)) < 128) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    ReleaseDC(s, hdc);
    return {first, last};
  }
};

TEST_F(Statics, ValuesThePlatformGives) {
  EXPECT_EQ(SS_LEFT, 0x0);
  EXPECT_EQ(SS_CENTER, 0x1);
  EXPECT_EQ(SS_RIGHT, 0x2);
  EXPECT_EQ(SS_ICON, 0x3);
  EXPECT_EQ(SS_LEFTNOWORDWRAP, 0xC);
  EXPECT_EQ(SS_BITMAP, 0xE);
  EXPECT_EQ(SS_TYPEMASK, 0x1F);
  EXPECT_EQ(SS_NOPREFIX, 0x80);
  EXPECT_EQ(SS_NOTIFY, 0x100);
  EXPECT_EQ(SS_CENTERIMAGE, 0x200);
  EXPECT_EQ(STM_SETIMAGE, 0x0172);
  EXPECT_EQ(STM_GETIMAGE, 0x0173);
  EXPECT_EQ(STN_CLICKED, 0);
  EXPECT_EQ(IMAGE_BITMAP, 0u);
  EXPECT_EQ(IMAGE_ICON, 1u);
}

TEST_F(Statics, NotifyOnlyWithSsNotify) {
  HWND quiet = staticControl(SS_LEFT);
  SendMessageW(quiet, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(quiet, WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(recorder.matches(kQuietTapSeq, quiet));
  DestroyWindow(quiet);
  HWND notifying = staticControl(SS_LEFT | SS_NOTIFY);
  SendMessageW(notifying, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(notifying, WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(recorder.matches(kNotifyTapSeq, notifying));
  EXPECT_EQ(SendMessageW(notifying, WM_GETDLGCODE, 0, 0), 0x100);
}

TEST_F(Statics, TextAlignments) {
  auto left = inkColumns(staticControl(SS_LEFT, u"Hi", {10, 10, 210, 30}, 1));
  auto center = inkColumns(staticControl(SS_CENTER, u"Hi", {10, 40, 210, 60}, 2));
  auto right = inkColumns(staticControl(SS_RIGHT, u"Hi", {10, 70, 210, 90}, 3));
  ASSERT_GE(left.first, 0);
  EXPECT_LT(left.first, 3);
  EXPECT_NEAR((center.first + center.second) / 2, 100, 3);
  EXPECT_GT(right.second, 196);
  // Without word wrap a long line stays one line, cut at the edge.
  HWND single = staticControl(SS_LEFTNOWORDWRAP, u"a few words that do not fit", {10, 100, 60, 140}, 4);
  RECT client;
  GetClientRect(single, &client);
  recorder.pumpPending();
  HDC hdc = GetDC(single);
  bool inkBelowFirstLine = false;
  for (int y = 20; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (GetRValue(GetPixel(hdc, x, y)) < 128) inkBelowFirstLine = true;
  ReleaseDC(single, hdc);
  EXPECT_FALSE(inkBelowFirstLine);
}

TEST_F(Statics, ImagesThroughStmSetImage) {
  HWND picture = staticControl(SS_BITMAP, u"", {10, 10, 110, 40});
  HBITMAP first = CreateBitmap(8, 6, 1, 32, nullptr);
  HBITMAP second = CreateBitmap(4, 4, 1, 32, nullptr);
  EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
  RECT r;
  GetClientRect(picture, &r);
  EXPECT_EQ(r.right, 8);  // the static takes the bitmap's size
  EXPECT_EQ(r.bottom, 6);
  EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(second));
  EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0), 0);  // the wrong type
  EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_ICON, 1), 0);
  // A text static answers 0 but repaints: windows use it to redraw their separator lines.
  HWND text = staticControl(SS_LEFT, u"x", {10, 60, 110, 80}, 6);
  recorder.pumpPending();
  EXPECT_EQ(SendMessageW(text, STM_SETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_TRUE(GetUpdateRect(text, nullptr, FALSE));
  DeleteObject(first);
  DeleteObject(second);
}

INT_PTR CALLBACK plainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(Statics, IconFromTheTemplate) {
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PICTURE), parent, plainDialog, 0);
  ASSERT_NE(dialog, nullptr);
  HWND icon = GetDlgItem(dialog, IDC_PICTURE);
  EXPECT_NE(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  RECT r;
  GetClientRect(icon, &r);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));  // the static takes the icon's size
  DestroyWindow(dialog);
}

TEST_F(Statics, ParentBrushMakesSolidLines) {
  recorder.react(WM_CTLCOLORSTATIC, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOWFRAME));
  });
  HWND line = staticControl(SS_LEFT, u"", {0, 50, 240, 51});
  EXPECT_EQ(pixel(line, 120, 0), RGB(0, 0, 0));
  recorder.react(WM_CTLCOLORSTATIC, [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; });
  InvalidateRect(line, nullptr, FALSE);
  EXPECT_EQ(pixel(line, 120, 0), GetSysColor(COLOR_STATIC));  // no brush: the defaults
}

}  // namespace
}  // namespace handheld::testing
