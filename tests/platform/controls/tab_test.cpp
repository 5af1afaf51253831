// The tab control: items, the silent TCM_SETCURSEL, taps and keys asking the parent first
// (TCN_SELCHANGING may refuse), layout at the bottom, bad input and automation state.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <nlohmann/json.hpp>

#include "controls_fixture.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;

class Tabs : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.react(WM_NOTIFY, [this](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      codes.push_back(header->code);
      if (header->code == 0u - 552u && destroyOnChanging) DestroyWindow(header->hwndFrom);
      return header->code == 0u - 552u ? refuse : 0;
    });
  }

  HWND tabs(DWORD style = 0, std::initializer_list<const char16_t*> texts = {u"One", u"Two", u"Three"}) {
    HWND t = control(u"SysTabControl32", u"", style, 30, {0, 100, 200, 160});
    EXPECT_NE(t, nullptr);
    int i = 0;
    for (const char16_t* text : texts) {
      insert(t, i, text, 101 + i);  // params 101, 102, ...
      ++i;
    }
    codes.clear();
    return t;
  }

  static LRESULT insert(HWND t, WPARAM at, const char16_t* text, LPARAM param = 0) {
    std::u16string copy = text;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = copy.data();
    item.lParam = param;
    return SendMessageW(t, TCM_INSERTITEMW, at, reinterpret_cast<LPARAM>(&item));
  }

  static std::u16string textOf(HWND t, WPARAM index) {
    char16_t buffer[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 32;
    if (!SendMessageW(t, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return u"<none>";
    return buffer;
  }

  static RECT itemRect(HWND t, WPARAM index) {
    RECT r{};
    EXPECT_TRUE(SendMessageW(t, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    return r;
  }

  static void tap(HWND t, POINT at) {
    SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(t, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }

  static POINT middleOf(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  std::vector<UINT> codes;
  LRESULT refuse = 0;
  bool destroyOnChanging = false;
};

TEST_F(Tabs, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(WC_TABCONTROLW), u"SysTabControl32");
  EXPECT_EQ(TCS_BOTTOM, 0x0002);
  EXPECT_EQ(TCS_BUTTONS, 0x0100);
  EXPECT_EQ(TCS_FIXEDWIDTH, 0x0400);
  EXPECT_EQ(TCS_FOCUSNEVER, 0x8000);
  EXPECT_EQ(TCIF_TEXT, 0x1);
  EXPECT_EQ(TCIF_IMAGE, 0x2);
  EXPECT_EQ(TCIF_PARAM, 0x8);
  EXPECT_EQ(TCIF_STATE, 0x10);
  EXPECT_EQ(TCM_GETIMAGELIST, 0x1302);
  EXPECT_EQ(TCM_SETIMAGELIST, 0x1303);
  EXPECT_EQ(TCM_GETITEMCOUNT, 0x1304);
  EXPECT_EQ(TCM_DELETEITEM, 0x1308);
  EXPECT_EQ(TCM_DELETEALLITEMS, 0x1309);
  EXPECT_EQ(TCM_GETITEMRECT, 0x130A);
  EXPECT_EQ(TCM_GETCURSEL, 0x130B);
  EXPECT_EQ(TCM_SETCURSEL, 0x130C);
  EXPECT_EQ(TCM_HITTEST, 0x130D);
  EXPECT_EQ(TCM_ADJUSTRECT, 0x1328);
  EXPECT_EQ(TCM_GETCURFOCUS, 0x132F);
  EXPECT_EQ(TCM_SETCURFOCUS, 0x1330);
  EXPECT_EQ(TCM_GETITEMW, 0x133C);
  EXPECT_EQ(TCM_SETITEMW, 0x133D);
  EXPECT_EQ(TCM_INSERTITEMW, 0x133E);
  EXPECT_EQ(TCN_KEYDOWN, 0u - 550u);
  EXPECT_EQ(TCN_SELCHANGE, 0u - 551u);
  EXPECT_EQ(TCN_SELCHANGING, 0u - 552u);
  EXPECT_EQ(NM_CLICK, 0u - 2u);
  EXPECT_EQ(TCHT_NOWHERE, 0x1);
  EXPECT_EQ(TCHT_ONITEMICON, 0x2);
  EXPECT_EQ(TCHT_ONITEMLABEL, 0x4);
  EXPECT_EQ(TCHT_ONITEM, 0x6);
  EXPECT_EQ(sizeof(TCITEMW), 40u);
}

TEST_F(Tabs, ItemsInsertedReadChangedAndDeleted) {
  HWND t = tabs();
  EXPECT_EQ(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 0);  // the first tab came selected
  EXPECT_EQ(textOf(t, 2), u"Three");
  TCITEMW item{};
  item.mask = TCIF_PARAM | TCIF_IMAGE;
  ASSERT_TRUE(SendMessageW(t, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.lParam, 102);
  EXPECT_EQ(item.iImage, -1);
  // Inserting before the selected tab keeps that tab selected; past the end appends.
  SendMessageW(t, TCM_SETCURSEL, 1, 0);
  EXPECT_EQ(insert(t, 0, u"Zero"), 0);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(insert(t, 99, u"Last"), 4);
  EXPECT_EQ(textOf(t, 4), u"Last");
  std::u16string renamed = u"Renamed";
  item = {};
  item.mask = TCIF_TEXT;
  item.pszText = renamed.data();
  EXPECT_TRUE(SendMessageW(t, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(textOf(t, 0), u"Renamed");
  // A short buffer gets what fits and a terminator.
  char16_t small[4] = {u'x', u'x', u'x', u'x'};
  item = {};
  item.mask = TCIF_TEXT;
  item.pszText = small;
  item.cchTextMax = 4;
  EXPECT_TRUE(SendMessageW(t, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(std::u16string(small), u"Ren");
  // Deleting before the selection moves it; deleting the selected tab leaves none.
  EXPECT_TRUE(SendMessageW(t, TCM_DELETEITEM, 0, 0));
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(SendMessageW(t, TCM_DELETEITEM, 1, 0));
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_TRUE(SendMessageW(t, TCM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), -1);
  EXPECT_TRUE(codes.empty());  // none of this asks the parent
}

TEST_F(Tabs, BadInputAnswersFailureAndChangesNothing) {
  HWND t = tabs();
  EXPECT_EQ(SendMessageW(t, TCM_INSERTITEMW, 0, 0), -1);
  EXPECT_EQ(insert(t, static_cast<WPARAM>(-1), u"Bad"), -1);
  EXPECT_EQ(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_FALSE(SendMessageW(t, TCM_DELETEITEM, 3, 0));
  EXPECT_FALSE(SendMessageW(t, TCM_DELETEITEM, static_cast<WPARAM>(-1), 0));
  EXPECT_FALSE(SendMessageW(t, TCM_GETITEMW, 0, 0));
  EXPECT_EQ(textOf(t, 7), u"<none>");
  TCITEMW noBuffer{};
  noBuffer.mask = TCIF_TEXT;
  EXPECT_FALSE(SendMessageW(t, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&noBuffer)));
  EXPECT_FALSE(SendMessageW(t, TCM_SETITEMW, 5, reinterpret_cast<LPARAM>(&noBuffer)));
  EXPECT_EQ(SendMessageW(t, TCM_SETCURSEL, 3, 0), -1);
  EXPECT_EQ(SendMessageW(t, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 0);
  RECT r{};
  EXPECT_FALSE(SendMessageW(t, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageW(t, TCM_GETITEMRECT, 0, 0));
  EXPECT_EQ(SendMessageW(t, TCM_HITTEST, 0, 0), -1);
  EXPECT_EQ(SendMessageW(t, TCM_ADJUSTRECT, TRUE, 0), 0);
}

TEST_F(Tabs, SetCurSelIsSilentAndAnswersThePreviousSelection) {
  HWND t = tabs();
  EXPECT_EQ(SendMessageW(t, TCM_SETCURSEL, 2, 0), 0);
  EXPECT_EQ(SendMessageW(t, TCM_SETCURSEL, 1, 0), 2);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURFOCUS, 0, 0), 1);
  EXPECT_TRUE(codes.empty());
}

TEST_F(Tabs, ATapAsksThenChangesThenClicks) {
  HWND t = tabs();
  tap(t, middleOf(itemRect(t, 2)));
  EXPECT_EQ(codes, (std::vector<UINT>{0u - 552u, 0u - 551u, 0u - 2u}));
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(GetFocus(), t);
  codes.clear();
  tap(t, middleOf(itemRect(t, 2)));  // the selected tab: nothing to change
  EXPECT_EQ(codes, (std::vector<UINT>{0u - 2u}));
}

TEST_F(Tabs, TheParentMayRefuseTheChange) {
  HWND t = tabs();
  refuse = 1;
  tap(t, middleOf(itemRect(t, 1)));
  SendMessageW(t, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0u - 551u), 0);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0u - 552u), 2);
}

TEST_F(Tabs, TheParentMayDestroyTheControlWhileAsked) {
  HWND t = tabs();
  destroyOnChanging = true;
  tap(t, middleOf(itemRect(t, 1)));
  EXPECT_FALSE(IsWindow(t));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Tabs, ArrowKeysMoveTheSelectionOneTabAtATime) {
  HWND t = tabs();
  EXPECT_EQ(SendMessageW(t, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SendMessageW(t, WM_KEYDOWN, VK_LEFT, 1);  // already the first
  EXPECT_EQ(codes, (std::vector<UINT>{0u - 550u}));
  codes.clear();
  SendMessageW(t, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(codes, (std::vector<UINT>{0u - 550u, 0u - 552u, 0u - 551u}));
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 1);
  SendMessageW(t, WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 2);
  SendMessageW(t, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 2);
  SendMessageW(t, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(Tabs, TabsAtTheBottomAndTheDisplayAreaAboveThem) {
  HWND bottom = tabs(TCS_BOTTOM);
  RECT client{};
  GetClientRect(bottom, &client);
  const RECT first = itemRect(bottom, 0), second = itemRect(bottom, 1);
  EXPECT_EQ(first.bottom, client.bottom);
  EXPECT_EQ(first.left, 0);
  EXPECT_EQ(second.left, first.right);
  RECT display = client;
  SendMessageW(bottom, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  EXPECT_LE(display.bottom, first.top);
  EXPECT_GT(display.top, client.top - 1);
  SendMessageW(bottom, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(display.top, client.top);
  EXPECT_EQ(display.bottom, client.bottom);
  EXPECT_EQ(display.left, client.left);
  EXPECT_EQ(display.right, client.right);

  HWND top = tabs(0);
  EXPECT_EQ(itemRect(top, 0).top, 0);
  // Without TCS_FIXEDWIDTH a tab is as wide as its text; with it, as wide as the widest.
  HWND fixed = tabs(TCS_FIXEDWIDTH, {u"A", u"A much longer title"});
  HWND loose = tabs(0, {u"A", u"A much longer title"});
  const RECT f0 = itemRect(fixed, 0), f1 = itemRect(fixed, 1);
  const RECT l0 = itemRect(loose, 0), l1 = itemRect(loose, 1);
  EXPECT_EQ(f0.right - f0.left, f1.right - f1.left);
  EXPECT_LT(l0.right - l0.left, l1.right - l1.left);
}

TEST_F(Tabs, HitTestNamesTheTabUnderAPoint) {
  HWND t = tabs(TCS_BOTTOM);
  TCHITTESTINFO info{};
  info.pt = middleOf(itemRect(t, 1));
  EXPECT_EQ(SendMessageW(t, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 1);
  EXPECT_EQ(info.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
  info.pt = {5, 5};  // the display area above the tabs
  EXPECT_EQ(SendMessageW(t, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), -1);
  EXPECT_EQ(info.flags, static_cast<UINT>(TCHT_NOWHERE));
  tap(t, {5, 5});
  EXPECT_EQ(SendMessageW(t, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0u - 552u), 0);
}

TEST_F(Tabs, TheSelectedTabIsWhiteTheOthersGrey) {
  HWND t = tabs(TCS_BOTTOM);
  const RECT selected = itemRect(t, 0), other = itemRect(t, 1);
  EXPECT_EQ(pixel(t, selected.left + 3, selected.top + 3), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixel(t, other.left + 3, other.top + 3), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(t, other.left, other.top + 3), RGB(0, 0, 0));  // its frame
  // TCS_BOTTOM given after creation (as sheets' callbacks do) repaints the row there.
  DestroyWindow(t);
  HWND late = tabs(0);
  recorder.pumpPending();
  SetWindowLongW(late, GWL_STYLE, GetWindowLongW(late, GWL_STYLE) | TCS_BOTTOM);
  const RECT moved = itemRect(late, 1);
  EXPECT_EQ(pixel(late, moved.left + 3, moved.top + 3), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Tabs, AutomationStateListsTextsAndSelection) {
  HWND t = tabs();
  SendMessageW(t, TCM_SETCURSEL, 1, 0);
  nlohmann::json state = nlohmann::json::object();
  EXPECT_EQ(SendMessageW(t, kAutomationState, 0, reinterpret_cast<LPARAM>(&state)), 0);
  EXPECT_EQ(state["items"], nlohmann::json({"One", "Two", "Three"}));
  EXPECT_EQ(state["selection"], 1);
  SendMessageW(t, TCM_DELETEALLITEMS, 0, 0);
  state = nlohmann::json::object();
  SendMessageW(t, kAutomationState, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(state["items"], nlohmann::json::array());
  EXPECT_EQ(state["selection"], -1);
}

}  // namespace
}  // namespace handheld::testing
