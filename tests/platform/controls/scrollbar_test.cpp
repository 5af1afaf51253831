// Scroll bars: the values SetScrollInfo keeps (clamping, return values, errors), window bars
// taking their room from the client area, the "SCROLLBAR" control's messages, and the stylus
// on a bar giving WM_VSCROLL with every SB_ code in both screen modes.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <thread>

#include "ipc/client.h"
#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {
namespace {

class ScrollBarTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"Scrolled", GetSysColorBrush(COLOR_WINDOW));
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
                     WM_CAPTURECHANGED, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW,
                     WM_MOVE, WM_NCCREATE, WM_CREATE});
    // The thumb track position is readable while SB_THUMBTRACK is sent.
    recorder.react(WM_VSCROLL, [this](HWND window, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (LOWORD(wParam) == SB_THUMBTRACK && !lParam) {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS | SIF_POS};
        GetScrollInfo(window, SB_VERT, &info);
        trackPositions.push_back(info.nTrackPos);
      }
      return 0;
    });
  }

  HWND create(RECT r, DWORD style) {
    return CreateWindowExW(0, u"Scrolled", u"scrolled", WS_POPUP | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
  }

  static void setBar(HWND window, int bar, int min, int max, UINT page, int pos) {
    SCROLLINFO info{sizeof(info), SIF_ALL, min, max, page, pos, 0};
    SetScrollInfo(window, bar, &info, TRUE);
  }

  // Runs handheld-ctl on another thread while this one dispatches what arrives.
  void drive(const std::string& arguments) {
    recorder.clear();
    trackPositions.clear();
    int code = -1;
    recorder.pumpWhile([&] { code = ctl(arguments); });
    ipc::DeviceClient::get().call<ipc::ClockGet>({});  // the input has arrived after this
    recorder.pumpPending();
    ASSERT_EQ(code, 0) << arguments;
  }

  // The SB_ codes of the WM_VSCROLL messages `to` received, in order.
  std::vector<int> codes(HWND to, LPARAM* lParam = nullptr) const {
    std::vector<int> result;
    for (const auto& m : recorder.messages()) {
      if (m.window != to || m.message != WM_VSCROLL) continue;
      result.push_back(LOWORD(m.wParam));
      if (lParam) *lParam = m.lParam;
    }
    return result;
  }

  // "#RRGGBB" of a screen pixel.
  std::string pixel(int x, int y) {
    std::string out;
    EXPECT_EQ(ctl("pixel " + std::to_string(x) + " " + std::to_string(y), &out), 0);
    return out.substr(0, out.find('\n'));
  }

  bool sawStylusInClient() const {
    for (const auto& m : recorder.messages())
      if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP || m.message == WM_MOUSEMOVE) return true;
    return false;
  }

  MessageRecorder recorder;
  std::vector<int> trackPositions;
};

TEST(ScrollBarValues, DeclarationsHaveThePlatformsValues) {
  EXPECT_EQ(WM_HSCROLL, 0x0114);
  EXPECT_EQ(WM_VSCROLL, 0x0115);
  EXPECT_EQ(SB_HORZ, 0);
  EXPECT_EQ(SB_VERT, 1);
  EXPECT_EQ(SB_CTL, 2);
  EXPECT_EQ(SB_BOTH, 3);
  EXPECT_EQ(SB_LINEUP, 0);
  EXPECT_EQ(SB_LINEDOWN, 1);
  EXPECT_EQ(SB_PAGEUP, 2);
  EXPECT_EQ(SB_PAGEDOWN, 3);
  EXPECT_EQ(SB_THUMBPOSITION, 4);
  EXPECT_EQ(SB_THUMBTRACK, 5);
  EXPECT_EQ(SB_TOP, 6);
  EXPECT_EQ(SB_BOTTOM, 7);
  EXPECT_EQ(SB_ENDSCROLL, 8);
  EXPECT_EQ(SIF_RANGE, 0x01u);
  EXPECT_EQ(SIF_PAGE, 0x02u);
  EXPECT_EQ(SIF_POS, 0x04u);
  EXPECT_EQ(SIF_DISABLENOSCROLL, 0x08u);
  EXPECT_EQ(SIF_TRACKPOS, 0x10u);
  EXPECT_EQ(SIF_ALL, 0x17u);
  EXPECT_EQ(ESB_ENABLE_BOTH, 0u);
  EXPECT_EQ(ESB_DISABLE_BOTH, 3u);
  EXPECT_EQ(ESB_DISABLE_LTUP, 1u);
  EXPECT_EQ(ESB_DISABLE_RTDN, 2u);
  EXPECT_EQ(SBS_HORZ, 0);
  EXPECT_EQ(SBS_VERT, 1);
  EXPECT_EQ(SBM_SETPOS, 0x00E0);
  EXPECT_EQ(SBM_GETPOS, 0x00E1);
  EXPECT_EQ(SBM_SETRANGE, 0x00E2);
  EXPECT_EQ(SBM_GETRANGE, 0x00E3);
  EXPECT_EQ(SBM_ENABLE_ARROWS, 0x00E4);
  EXPECT_EQ(SBM_SETRANGEREDRAW, 0x00E6);
  EXPECT_EQ(SBM_SETSCROLLINFO, 0x00E9);
  EXPECT_EQ(SBM_GETSCROLLINFO, 0x00EA);
  EXPECT_EQ(HTHSCROLL, 6);
  EXPECT_EQ(HTVSCROLL, 7);
  EXPECT_EQ(sizeof(SCROLLINFO), 28u);
}

TEST_F(ScrollBarTest, SetScrollInfoClampsThePositionAndReturnsIt) {
  HWND w = create({0, 0, 200, 200}, WS_VSCROLL);
  ASSERT_TRUE(w);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 200, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, TRUE), 91);  // 100 - (10 - 1)
  info.nPos = -5;
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, FALSE), 0);
  info = {sizeof(info), SIF_PAGE, 0, 0, 0, 0, 0};
  info.nPage = 0;
  SetScrollInfo(w, SB_VERT, &info, TRUE);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 500, TRUE), 0);  // the previous position
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 100);           // a page of 0 reaches nMax
  info = {sizeof(info), SIF_PAGE | SIF_POS, 0, 0, 30, 0, 0};
  info.nPos = 100;
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, TRUE), 71);  // a new page pulls the position in

  SCROLLINFO read{sizeof(read), SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &read));
  EXPECT_EQ(read.nMin, 0);
  EXPECT_EQ(read.nMax, 100);
  EXPECT_EQ(read.nPage, 30u);
  EXPECT_EQ(read.nPos, 71);
  EXPECT_EQ(read.nTrackPos, 71);  // no drag: the position

  // A page larger than the range shrinks to it.
  setBar(w, SB_VERT, 10, 19, 50, 0);
  read = {sizeof(read), SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &read));
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nPos, 10);

  int low = -1, high = -1;
  EXPECT_TRUE(SetScrollRange(w, SB_VERT, -20, 20, TRUE));
  EXPECT_TRUE(GetScrollRange(w, SB_VERT, &low, &high));
  EXPECT_EQ(low, -20);
  EXPECT_EQ(high, 20);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 10);
}

TEST_F(ScrollBarTest, BadArgumentsFailAsThePlatformDoes) {
  HWND w = create({0, 0, 100, 100}, WS_VSCROLL);
  HWND plain = create({0, 0, 100, 100}, 0);
  ASSERT_TRUE(w && plain);
  SCROLLINFO info{0, SIF_POS, 0, 0, 0, 5, 0};
  SetLastError(0);
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, TRUE), 0);
  EXPECT_EQ(GetLastError(), 87u);  // a wrong cbSize
  info = {sizeof(info), 0x100, 0, 0, 0, 5, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, nullptr, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(w, 7, &info, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(w, SB_VERT, nullptr));

  SCROLLINFO read{sizeof(read), SIF_ALL};
  SetLastError(0);
  EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &read));
  EXPECT_EQ(GetLastError(), 1447u);  // ERROR_NO_SCROLLBARS
  EXPECT_EQ(GetScrollPos(plain, SB_HORZ), 0);

  SetLastError(0);
  EXPECT_FALSE(SetScrollRange(w, SB_VERT, -1, INT_MAX, TRUE));
  EXPECT_EQ(GetLastError(), 1448u);  // ERROR_INVALID_SCROLLBAR_RANGE
  int low = 5, high = 5;
  EXPECT_FALSE(GetScrollRange(reinterpret_cast<HWND>(0x1234), SB_VERT, &low, &high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);

  // The older size without nTrackPos is accepted and leaves that field alone.
  SCROLLINFO older{offsetof(SCROLLINFO, nTrackPos), SIF_ALL, 0, 0, 0, 0, -77};
  EXPECT_TRUE(GetScrollInfo(w, SB_VERT, &older));
  EXPECT_EQ(older.nTrackPos, -77);
}

TEST_F(ScrollBarTest, BarsTakeTheirRoomFromTheClientAreaAndGiveItBack) {
  HWND w = create({0, 0, 200, 150}, WS_VSCROLL | WS_HSCROLL);
  ASSERT_TRUE(w);
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200 - 13);
  EXPECT_EQ(client.bottom, 150 - 13);

  recorder.clear();
  EXPECT_TRUE(ShowScrollBar(w, SB_VERT, FALSE));
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_TRUE(recorder.matches({{WM_SIZE, kSent | kLParam, 0, MAKELPARAM(200, 137)}}, w));

  // A range that needs no scrolling hides the bar; one that does shows it again.
  setBar(w, SB_HORZ, 0, 50, 51, 0);
  GetClientRect(w, &client);
  EXPECT_EQ(client.bottom, 150);
  setBar(w, SB_HORZ, 0, 50, 10, 0);
  GetClientRect(w, &client);
  EXPECT_EQ(client.bottom, 137);
  ShowScrollBar(w, SB_BOTH, TRUE);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 187);

  // SIF_DISABLENOSCROLL keeps it shown, disabled; a scrollable range enables it again.
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  SetScrollInfo(w, SB_VERT, &info, TRUE);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 187);
  EXPECT_FALSE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_BOTH));  // already so
  setBar(w, SB_VERT, 0, 99, 20, 0);
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_LTUP));
  EXPECT_FALSE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_LTUP));
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_ENABLE_BOTH));
}

TEST_F(ScrollBarTest, TheControlKeepsItsValuesThroughItsMessages) {
  HWND parent = create({0, 0, 200, 200}, 0);
  HWND bar = CreateWindowExW(0, u"scrollbar", u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 13, 120,
                             parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  ASSERT_TRUE(bar);
  int low = -1, high = -1;
  SendMessageW(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 0);  // a control starts with an empty range
  EXPECT_EQ(high, 0);
  SendMessageW(bar, SBM_SETRANGE, 0, 50);
  EXPECT_EQ(SendMessageW(bar, SBM_SETPOS, 60, TRUE), 0);
  EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 50);
  SCROLLINFO info{sizeof(info), SIF_PAGE | SIF_POS, 0, 0, 11, 50, 0};
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 40);
  SCROLLINFO read{sizeof(read), SIF_ALL};
  EXPECT_EQ(SendMessageW(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&read)), TRUE);
  EXPECT_EQ(read.nMax, 50);
  EXPECT_EQ(read.nPage, 11u);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40);
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 3, TRUE), 40);
  EXPECT_TRUE(SendMessageW(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_BOTH, 0));
  // An empty range leaves the control shown.
  SetScrollRange(bar, SB_CTL, 0, 0, TRUE);
  EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(ScrollBarTest, TheStylusOnTheBarScrollsAndNeverReachesTheClient) {
  // QVGA: the bar is x 187..199; arrows y 0..12 and 187..199; the track between.
  HWND w = create({0, 0, 200, 200}, WS_VSCROLL);
  ASSERT_TRUE(w);
  setBar(w, SB_VERT, 0, 99, 20, 0);  // thumb 34 px at y 13..46, 80 positions over 140 px
  UpdateWindow(w);

  drive("tap 193 193");
  LPARAM lParam = -1;
  EXPECT_EQ(codes(w, &lParam), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(lParam, 0);
  EXPECT_FALSE(sawStylusInClient());

  drive("hold 193 193 1000");
  auto held = codes(w);
  ASSERT_GE(held.size(), 5u);  // the press, at least three repeats, the end
  EXPECT_EQ(held.back(), SB_ENDSCROLL);
  for (size_t i = 0; i + 1 < held.size(); ++i) EXPECT_EQ(held[i], SB_LINEDOWN);
  EXPECT_LE(held.size(), 12u);  // 400 ms before the first repeat, then every 100

  drive("tap 193 150");
  EXPECT_EQ(codes(w), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  drive("tap 193 5");
  EXPECT_EQ(codes(w), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));

  drive("drag 193 20 193 90 400");  // the thumb down by 70 of 140 px: position 40
  auto dragged = codes(w, &lParam);
  ASSERT_GE(dragged.size(), 3u);
  EXPECT_EQ(dragged[dragged.size() - 1], SB_ENDSCROLL);
  EXPECT_EQ(dragged[dragged.size() - 2], SB_THUMBPOSITION);
  for (size_t i = 0; i + 2 < dragged.size(); ++i) EXPECT_EQ(dragged[i], SB_THUMBTRACK);
  ASSERT_FALSE(trackPositions.empty());
  EXPECT_EQ(trackPositions.back(), 40);
  for (const auto& m : recorder.messages())
    if (m.message == WM_VSCROLL && LOWORD(m.wParam) == SB_THUMBPOSITION) EXPECT_EQ(HIWORD(m.wParam), 40);
  EXPECT_FALSE(sawStylusInClient());
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);  // the program sets the position, not the bar

  drive("tap 50 50");  // the client still gets its own taps
  EXPECT_TRUE(sawStylusInClient());
  EXPECT_TRUE(codes(w).empty());
}

TEST_F(ScrollBarTest, DisabledBarsAndArrowsIgnoreTheStylus) {
  HWND w = create({0, 0, 200, 200}, WS_VSCROLL);
  ASSERT_TRUE(w);
  setBar(w, SB_VERT, 0, 99, 20, 0);
  EnableScrollBar(w, SB_VERT, ESB_DISABLE_RTDN);
  drive("tap 193 193");
  EXPECT_TRUE(codes(w).empty());
  drive("tap 193 5");
  EXPECT_EQ(codes(w), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
  EnableScrollBar(w, SB_VERT, ESB_DISABLE_BOTH);
  drive("tap 193 150");
  EXPECT_TRUE(codes(w).empty());
}

TEST_F(ScrollBarTest, TheControlTellsItsParentWithItsHandle) {
  HWND parent = create({0, 0, 200, 200}, 0);
  HWND bar = CreateWindowExW(0, u"SCROLLBAR", u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 20, 13, 100,
                             parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  ASSERT_TRUE(bar);
  SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
  drive("tap 26 115");  // its lower arrow
  LPARAM lParam = 0;
  EXPECT_EQ(codes(parent, &lParam), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(lParam, reinterpret_cast<LPARAM>(bar));
}

TEST_F(ScrollBarTest, VgaDoublesTheBar) {
  std::string out;
  ASSERT_EQ(ctl("screen vga", &out), 0) << out;
  ASSERT_EQ(GetSystemMetrics(SM_CXVSCROLL), 26);
  ASSERT_EQ(GetSystemMetrics(SM_CYHSCROLL), 26);
  HWND w = create({0, 0, 400, 400}, WS_VSCROLL);
  ASSERT_TRUE(w);
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 374);
  setBar(w, SB_VERT, 0, 99, 20, 0);
  UpdateWindow(w);
  drive("tap 387 390");
  EXPECT_EQ(codes(w), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  drive("tap 387 300");
  EXPECT_EQ(codes(w), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  drive("tap 370 300");
  EXPECT_TRUE(codes(w).empty());
  EXPECT_TRUE(sawStylusInClient());
  EXPECT_EQ(pixel(375, 100), "#000000");  // the track's side, two pixels wide
  EXPECT_EQ(pixel(376, 100), "#E0E0E0");
}

// The bar is drawn in the frame beside the client area: outlined arrow boxes with their
// triangles, an outlined thumb at the top, the track below it.
TEST_F(ScrollBarTest, TheBarIsDrawnBesideTheClientArea) {
  HWND w = create({0, 0, 200, 200}, WS_VSCROLL | WS_HSCROLL);
  ASSERT_TRUE(w);
  setBar(w, SB_VERT, 0, 99, 20, 0);
  setBar(w, SB_HORZ, 0, 9, 0, 9);
  UpdateWindow(w);
  EXPECT_EQ(pixel(100, 100), "#FFFFFF");  // the client area
  EXPECT_EQ(pixel(193, 0), "#000000");    // the up arrow's outline
  EXPECT_EQ(pixel(193, 5), "#000000");    // its triangle's tip
  EXPECT_EQ(pixel(189, 5), "#C0C0C0");    // its face
  EXPECT_EQ(pixel(193, 13), "#000000");   // the thumb's outline, at the top of the track
  EXPECT_EQ(pixel(193, 30), "#C0C0C0");   // the thumb's face
  EXPECT_EQ(pixel(187, 100), "#000000");  // the track's side
  EXPECT_EQ(pixel(193, 100), "#E0E0E0");  // the track
  EXPECT_EQ(pixel(173, 193), "#000000");  // the horizontal thumb, at the far end
  EXPECT_EQ(pixel(170, 193), "#C0C0C0");
  EXPECT_EQ(pixel(193, 193), "#C0C0C0");  // the corner between the bars
}

}  // namespace
}  // namespace handheld::testing
