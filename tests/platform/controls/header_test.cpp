// The header: its items, layout, hit testing, taps on headings and the sort arrows.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "controls_fixture.h"

namespace handheld::testing {
namespace {

class Headers : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.react(WM_NOTIFY, [this](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      const auto* notice = reinterpret_cast<const NMHEADERW*>(lParam);
      if (notice->hdr.code == HDN_ITEMCLICK) clicked.push_back(notice->iItem);
      return 0;
    });
  }

  HWND header(DWORD style = HDS_BUTTONS) {
    HWND h = control(WC_HEADER, u"", style, 3, {0, 0, 200, 20});
    EXPECT_NE(h, nullptr);
    insert(h, 0, u"Time", 100);
    insert(h, 1, u"Title", 60);
    return h;
  }

  static int insert(HWND h, int index, const char16_t* text, int width) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<LPWSTR>(text);
    item.cxy = width;
    item.fmt = HDF_LEFT | HDF_STRING;
    return static_cast<int>(SendMessageW(h, HDM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
  }

  static void tap(HWND h, int x) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
  }

  std::vector<int> clicked;
};

TEST_F(Headers, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(WC_HEADER), u"SysHeader32");
  EXPECT_EQ(HDS_BUTTONS, 0x0002);
  EXPECT_EQ(HDI_WIDTH, 0x1u);
  EXPECT_EQ(HDI_TEXT, 0x2u);
  EXPECT_EQ(HDI_FORMAT, 0x4u);
  EXPECT_EQ(HDI_LPARAM, 0x8u);
  EXPECT_EQ(HDF_SORTDOWN, 0x0200);
  EXPECT_EQ(HDF_SORTUP, 0x0400);
  EXPECT_EQ(HDF_STRING, 0x4000);
  EXPECT_EQ(HDM_GETITEMCOUNT, 0x1200u);
  EXPECT_EQ(HDM_DELETEITEM, 0x1202u);
  EXPECT_EQ(HDM_LAYOUT, 0x1205u);
  EXPECT_EQ(HDM_HITTEST, 0x1206u);
  EXPECT_EQ(HDM_GETITEMRECT, 0x1207u);
  EXPECT_EQ(HDM_INSERTITEM, 0x120Au);
  EXPECT_EQ(HDM_GETITEM, 0x120Bu);
  EXPECT_EQ(HDM_SETITEM, 0x120Cu);
  EXPECT_EQ(HDN_ITEMCLICK, static_cast<UINT>(-322));
}

TEST_F(Headers, ItemsAndBadIndices) {
  HWND h = header();
  EXPECT_EQ(SendMessageW(h, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(insert(h, 50, u"Last", 10), 2);  // beyond the end: appended
  WCHAR buffer[4];
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = buffer;
  item.cchTextMax = 4;
  ASSERT_TRUE(SendMessageW(h, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(std::u16string(buffer), u"Tit");
  EXPECT_EQ(item.cxy, 60);
  EXPECT_FALSE(SendMessageW(h, HDM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageW(h, HDM_GETITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageW(h, HDM_GETITEMW, 0, 0));
  EXPECT_FALSE(SendMessageW(h, HDM_SETITEMW, 7, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageW(h, HDM_DELETEITEM, 7, 0));
  EXPECT_EQ(SendMessageW(h, HDM_INSERTITEMW, 0, 0), -1);
  EXPECT_TRUE(SendMessageW(h, HDM_DELETEITEM, 2, 0));
  RECT r{};
  ASSERT_TRUE(SendMessageW(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.right, 160);
  HDHITTESTINFO hit{};
  hit.pt = {130, 5};
  EXPECT_EQ(SendMessageW(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, HHT_ONHEADER);
  hit.pt = {180, 5};
  EXPECT_EQ(SendMessageW(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, HHT_NOWHERE);
  EXPECT_EQ(SendMessageW(h, HDM_HITTEST, 0, 0), -1);
}

TEST_F(Headers, LayoutTakesTheTopOfTheArea) {
  HWND h = header();
  RECT area{0, 0, 180, 120};
  WINDOWPOS place{};
  HDLAYOUT layout{&area, &place};
  ASSERT_TRUE(SendMessageW(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
  EXPECT_EQ(place.cy, 18);  // the dialog font's 14 pixels and two lines above and below
  EXPECT_EQ(place.cx, 180);
  EXPECT_EQ(area.top, 18);
  EXPECT_FALSE(SendMessageW(h, HDM_LAYOUT, 0, 0));
}

TEST_F(Headers, ATapOnAHeadingClicksIt) {
  HWND h = header();
  tap(h, 130);
  EXPECT_EQ(clicked, std::vector<int>{1});
  // Lifted over another heading: no click.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 5));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(130, 5));
  EXPECT_EQ(clicked.size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);
  // Without HDS_BUTTONS the headings are no buttons.
  HWND flat = header(0);
  tap(flat, 10);
  EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(Headers, SortArrowsAndThePressedLook) {
  HWND h = header();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Four rows centred in the 20 pixels above the bottom line; the tip 3 lines plus the
  // arrow's half width left of the heading's right edge.
  EXPECT_EQ(pixel(h, 93, 8), face);
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  item.fmt = HDF_STRING | HDF_SORTUP;
  ASSERT_TRUE(SendMessageW(h, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  // Up: the tip on the first row, the widest row at the bottom.
  EXPECT_EQ(pixel(h, 93, 7), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(pixel(h, 90, 7), face);
  EXPECT_EQ(pixel(h, 90, 10), GetSysColor(COLOR_BTNTEXT));
  item.fmt = HDF_STRING | HDF_SORTDOWN;
  SendMessageW(h, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(pixel(h, 90, 7), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(pixel(h, 90, 10), face);
  nlohmann::json state = nlohmann::json::object();
  SendMessageW(h, 0x03F0, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(state["items"][0]["sort"], "down");
  EXPECT_EQ(state["items"][1]["sort"], nullptr);
  EXPECT_EQ(state["items"][1]["text"], "Title");
  // Held down, the heading shows the selection colours.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 5));
  EXPECT_EQ(pixel(h, 150, 2), GetSysColor(COLOR_HIGHLIGHT));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(130, 5));
  EXPECT_EQ(pixel(h, 150, 2), face);
}

}  // namespace
}  // namespace handheld::testing
