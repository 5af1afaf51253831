// The list view: items and sub-items, selection by stylus and keys with its notifications,
// refusals, columns and their headings, images, scrolling, finding and sorting, bad input,
// automation state and the look by pixels.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "controls_fixture.h"

namespace handheld::testing {
namespace {

constexpr UINT kAutomationState = 0x03F0;
constexpr int kId = 1;

// A WM_NOTIFY from the list as the parent saw it.
struct Notice {
  UINT code;
  int item;
  UINT newState = 0;
  UINT oldState = 0;
  bool operator==(const Notice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Notice& n) {
  return out << "{code " << static_cast<int>(n.code) << ", item " << n.item << ", new " << n.newState << ", old "
             << n.oldState << "}";
}

// A tap on a row: the stylus down (focus, then the selection), up, then NM_CLICK.
const NamedSequence kTapSeq = {"tap on a row", {
    {WM_LBUTTONDOWN, kSent},
    {WM_NOTIFY, kParent | kWParam, kId},  // NM_SETFOCUS
    {WM_NOTIFY, kParent | kWParam, kId},  // LVN_ITEMCHANGING
    {WM_NOTIFY, kParent | kWParam, kId},  // LVN_ITEMCHANGED
    {WM_LBUTTONUP, kSent},
    {WM_CAPTURECHANGED, kSent | kDefWinProc},
    {WM_NOTIFY, kParent | kWParam, kId},  // NM_CLICK
}};

class ListViews : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    recorder.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SETFOCUS, WM_KILLFOCUS, WM_GETDLGCODE,
                     WM_ACTIVATE, WM_NCCALCSIZE, WM_PARENTNOTIFY, WM_STYLECHANGING, WM_STYLECHANGED,
                     WM_NCPAINT, WM_SETFONT, WM_CTLCOLORSTATIC, WM_NCACTIVATE, WM_GETFONT});
    recorder.react(WM_NOTIFY, [this](HWND, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      Notice n{header->code, -2};
      if (header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED || header->code == LVN_INSERTITEM ||
          header->code == LVN_DELETEITEM || header->code == LVN_DELETEALLITEMS || header->code == LVN_COLUMNCLICK) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lParam);
        n = {header->code, header->code == LVN_COLUMNCLICK ? lv->iSubItem : lv->iItem, lv->uNewState, lv->uOldState};
      } else if (header->code == NM_CLICK || header->code == NM_DBLCLK) {
        n.item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
      } else if (header->code == LVN_KEYDOWN) {
        n.item = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
      }
      if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info->item.mask & LVIF_TEXT) {
          std::u16string given = u"Given " + std::u16string(1, static_cast<char16_t>(u'0' + info->item.iItem));
          lstrcpynW(info->item.pszText, given.c_str(), info->item.cchTextMax);
        }
        if (info->item.mask & LVIF_IMAGE) info->item.iImage = 7;
        return 0;
      }
      notices.push_back(n);
      if (onNotice) return onNotice(lParam);
      return 0;
    });
  }

  HWND list(DWORD style = 0, RECT r = {0, 0, 200, 150}) {
    HWND l = control(WC_LISTVIEW, u"", LVS_REPORT | style, kId, r);
    EXPECT_NE(l, nullptr);
    return l;
  }

  void column(HWND l, int index, const char16_t* text, int width) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<LPWSTR>(text);
    c.cx = width;
    EXPECT_EQ(SendMessageW(l, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&c)), index);
  }

  int insert(HWND l, int index, const std::u16string& text, LPARAM lParam = 0, int image = 0) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    item.lParam = lParam;
    item.iImage = image;
    return static_cast<int>(SendMessageW(l, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }

  // Two columns and `rows` rows "Row n" / "Sub n".
  HWND filled(int rows, DWORD style = 0, RECT r = {0, 0, 200, 150}) {
    HWND l = list(style, r);
    column(l, 0, u"Time", 100);
    column(l, 1, u"Title", 80);
    for (int i = 0; i < rows; ++i) {
      insert(l, i, u"Row " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)), 100 + i);
      setText(l, i, 1, u"Sub " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
    }
    return l;
  }

  void setText(HWND l, int index, int subItem, const std::u16string& text) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    EXPECT_EQ(SendMessageW(l, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)), TRUE);
  }

  std::u16string text(HWND l, int index, int subItem) {
    WCHAR buffer[64] = {};
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(l, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  UINT state(HWND l, int index, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
    return static_cast<UINT>(SendMessageW(l, LVM_GETITEMSTATE, index, mask));
  }

  BOOL setState(HWND l, int index, UINT bits, UINT mask) {
    LVITEMW item{};
    item.state = bits;
    item.stateMask = mask;
    return static_cast<BOOL>(SendMessageW(l, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  }

  RECT itemRect(HWND l, int index, int part = LVIR_BOUNDS) {
    RECT r{part, 0, 0, 0};
    EXPECT_TRUE(SendMessageW(l, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    return r;
  }

  void tap(HWND l, int x, int y) {
    SendMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(l, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void tapRow(HWND l, int index) {
    const RECT r = itemRect(l, index);
    tap(l, 20, (r.top + r.bottom) / 2);
  }
  void hold(UINT key, bool down) { ASSERT_TRUE(device().call<ipc::KeyStateSet>({key, down})); }

  std::vector<Notice> only(std::initializer_list<UINT> codes) const {
    std::vector<Notice> kept;
    for (const Notice& n : notices)
      if (std::find(codes.begin(), codes.end(), n.code) != codes.end()) kept.push_back(n);
    return kept;
  }

  nlohmann::json automation(HWND l) {
    nlohmann::json out = nlohmann::json::object();
    EXPECT_EQ(SendMessageW(l, kAutomationState, 0, reinterpret_cast<LPARAM>(&out)), 0);
    return out;
  }

  std::vector<Notice> notices;
  std::function<std::optional<LRESULT>(LPARAM)> onNotice;
};

TEST_F(ListViews, ValuesThePlatformGives) {
  EXPECT_EQ(std::u16string(WC_LISTVIEW), u"SysListView32");
  EXPECT_EQ(LVS_REPORT, 0x0001);
  EXPECT_EQ(LVS_SINGLESEL, 0x0004);
  EXPECT_EQ(LVS_SHOWSELALWAYS, 0x0008);
  EXPECT_EQ(LVS_SHAREIMAGELISTS, 0x0040);
  EXPECT_EQ(LVS_NOCOLUMNHEADER, 0x4000);
  EXPECT_EQ(LVS_NOSORTHEADER, 0x8000);
  EXPECT_EQ(LVS_EX_GRIDLINES, 0x1u);
  EXPECT_EQ(LVS_EX_FULLROWSELECT, 0x20u);
  EXPECT_EQ(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, 0xFu);
  EXPECT_EQ(LVIS_FOCUSED, 1u);
  EXPECT_EQ(LVIS_SELECTED, 2u);
  EXPECT_EQ(LVIS_OVERLAYMASK, 0x0F00u);
  EXPECT_EQ(LVIS_STATEIMAGEMASK, 0xF000u);
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), 0x2000);
  EXPECT_EQ(LVNI_FOCUSED, 1u);
  EXPECT_EQ(LVNI_SELECTED, 2u);
  EXPECT_EQ(LVNI_ABOVE, 0x100u);
  EXPECT_EQ(LVNI_BELOW, 0x200u);
  EXPECT_EQ(LVHT_NOWHERE, 1u);
  EXPECT_EQ(LVHT_ONITEM, 0xEu);
  EXPECT_EQ(LVSIL_SMALL, 1);
  EXPECT_EQ(LVSIL_STATE, 2);
  EXPECT_EQ(LVSCW_AUTOSIZE, -1);
  EXPECT_EQ(LVSCW_AUTOSIZE_USEHEADER, -2);
  EXPECT_EQ(I_IMAGECALLBACK, -1);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(LPSTR_TEXTCALLBACK), -1);
  EXPECT_EQ(LVM_GETBKCOLOR, 0x1000u);
  EXPECT_EQ(LVM_SETBKCOLOR, 0x1001u);
  EXPECT_EQ(LVM_SETIMAGELIST, 0x1003u);
  EXPECT_EQ(LVM_GETITEMCOUNT, 0x1004u);
  EXPECT_EQ(LVM_DELETEITEM, 0x1008u);
  EXPECT_EQ(LVM_DELETEALLITEMS, 0x1009u);
  EXPECT_EQ(LVM_GETNEXTITEM, 0x100Cu);
  EXPECT_EQ(LVM_GETITEMRECT, 0x100Eu);
  EXPECT_EQ(LVM_HITTEST, 0x1012u);
  EXPECT_EQ(LVM_ENSUREVISIBLE, 0x1013u);
  EXPECT_EQ(LVM_SCROLL, 0x1014u);
  EXPECT_EQ(LVM_REDRAWITEMS, 0x1015u);
  EXPECT_EQ(LVM_DELETECOLUMN, 0x101Cu);
  EXPECT_EQ(LVM_GETCOLUMNWIDTH, 0x101Du);
  EXPECT_EQ(LVM_SETCOLUMNWIDTH, 0x101Eu);
  EXPECT_EQ(LVM_GETHEADER, 0x101Fu);
  EXPECT_EQ(LVM_SETTEXTCOLOR, 0x1024u);
  EXPECT_EQ(LVM_SETTEXTBKCOLOR, 0x1026u);
  EXPECT_EQ(LVM_GETTOPINDEX, 0x1027u);
  EXPECT_EQ(LVM_GETCOUNTPERPAGE, 0x1028u);
  EXPECT_EQ(LVM_UPDATE, 0x102Au);
  EXPECT_EQ(LVM_SETITEMSTATE, 0x102Bu);
  EXPECT_EQ(LVM_GETITEMSTATE, 0x102Cu);
  EXPECT_EQ(LVM_SETITEMCOUNT, 0x102Fu);
  EXPECT_EQ(LVM_SORTITEMS, 0x1030u);
  EXPECT_EQ(LVM_GETSELECTEDCOUNT, 0x1032u);
  EXPECT_EQ(LVM_SETEXTENDEDLISTVIEWSTYLE, 0x1036u);
  EXPECT_EQ(LVM_GETEXTENDEDLISTVIEWSTYLE, 0x1037u);
  EXPECT_EQ(LVM_GETSUBITEMRECT, 0x1038u);
  EXPECT_EQ(LVM_SUBITEMHITTEST, 0x1039u);
  EXPECT_EQ(LVM_GETSELECTIONMARK, 0x1042u);
  EXPECT_EQ(LVM_SETSELECTIONMARK, 0x1043u);
  EXPECT_EQ(LVM_GETITEM, 0x104Bu);
  EXPECT_EQ(LVM_SETITEM, 0x104Cu);
  EXPECT_EQ(LVM_INSERTITEM, 0x104Du);
  EXPECT_EQ(LVM_FINDITEM, 0x1053u);
  EXPECT_EQ(LVM_GETCOLUMN, 0x105Fu);
  EXPECT_EQ(LVM_SETCOLUMN, 0x1060u);
  EXPECT_EQ(LVM_INSERTCOLUMN, 0x1061u);
  EXPECT_EQ(LVM_GETITEMTEXT, 0x1073u);
  EXPECT_EQ(LVM_SETITEMTEXT, 0x1074u);
  EXPECT_EQ(LVN_ITEMCHANGING, static_cast<UINT>(-100));
  EXPECT_EQ(LVN_ITEMCHANGED, static_cast<UINT>(-101));
  EXPECT_EQ(LVN_INSERTITEM, static_cast<UINT>(-102));
  EXPECT_EQ(LVN_DELETEITEM, static_cast<UINT>(-103));
  EXPECT_EQ(LVN_DELETEALLITEMS, static_cast<UINT>(-104));
  EXPECT_EQ(LVN_COLUMNCLICK, static_cast<UINT>(-108));
  EXPECT_EQ(LVN_KEYDOWN, static_cast<UINT>(-155));
  EXPECT_EQ(LVN_GETDISPINFO, static_cast<UINT>(-177));
  EXPECT_EQ(NM_CLICK, static_cast<UINT>(-2));
  EXPECT_EQ(NM_DBLCLK, static_cast<UINT>(-3));
  EXPECT_EQ(NM_RETURN, static_cast<UINT>(-4));
  EXPECT_EQ(NM_SETFOCUS, static_cast<UINT>(-7));
  EXPECT_EQ(NM_KILLFOCUS, static_cast<UINT>(-8));
  EXPECT_EQ(SW_INVALIDATE, 2u);
}

TEST_F(ListViews, ItemsAndSubItems) {
  HWND l = filled(3);
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(text(l, 1, 0), u"Row 1");
  EXPECT_EQ(text(l, 2, 1), u"Sub 2");
  EXPECT_EQ(insert(l, 1, u"Between"), 1);
  EXPECT_EQ(text(l, 2, 1), u"Sub 1");  // sub-items travel with their row
  EXPECT_EQ(insert(l, 99, u"Last"), 4);
  setText(l, 4, 1, u"Tail");
  LVITEMW item{};
  WCHAR small[4];
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = 0;
  item.pszText = small;
  item.cchTextMax = 4;
  ASSERT_TRUE(SendMessageW(l, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(std::u16string(small), u"Row");  // cut to the buffer, terminated
  EXPECT_EQ(item.lParam, 100);
  EXPECT_EQ(item.iImage, 0);
  // A sub-item is no place to insert, nor one of a column that does not exist.
  LVITEMW sub{};
  sub.mask = LVIF_TEXT;
  sub.iSubItem = 1;
  sub.pszText = const_cast<LPWSTR>(u"x");
  EXPECT_EQ(SendMessageW(l, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&sub)), -1);
  sub.iSubItem = 5;
  EXPECT_FALSE(SendMessageW(l, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub)));
  auto inserted = only({LVN_INSERTITEM});
  ASSERT_EQ(inserted.size(), 5u);
  EXPECT_EQ(inserted[3].item, 1);
  EXPECT_EQ(inserted[4].item, 4);
}

TEST_F(ListViews, TextsAndImagesTheParentGives) {
  HWND l = filled(2);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = 1;
  item.pszText = LPSTR_TEXTCALLBACK;
  item.iImage = I_IMAGECALLBACK;
  ASSERT_TRUE(SendMessageW(l, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(text(l, 1, 0), u"Given 1");
  LVITEMW image{};
  image.mask = LVIF_IMAGE;
  image.iItem = 1;
  ASSERT_TRUE(SendMessageW(l, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&image)));
  EXPECT_EQ(image.iImage, 7);
  EXPECT_EQ(automation(l)["rows"][1]["texts"][0], "Given 1");
}

TEST_F(ListViews, BadIndicesAnswerFailureWithoutHarm) {
  HWND l = filled(3);
  LVITEMW item{};
  WCHAR buffer[8] = u"keep";
  item.pszText = buffer;
  item.cchTextMax = 8;
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMTEXTW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item)), 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&item)), 0);
  EXPECT_EQ(std::u16string(buffer), u"keep");
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMTEXTW, 0, 0), 0);
  item.iItem = -1;
  EXPECT_FALSE(SendMessageW(l, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageW(l, LVM_GETITEMW, 0, 0));
  EXPECT_FALSE(SendMessageW(l, LVM_SETITEMW, 0, 0));
  EXPECT_EQ(SendMessageW(l, LVM_INSERTITEMW, 0, 0), -1);
  item.iItem = -1;
  item.mask = LVIF_TEXT;
  EXPECT_EQ(SendMessageW(l, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
  EXPECT_FALSE(setState(l, 3, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_FALSE(SendMessageW(l, LVM_SETITEMSTATE, 0, 0));
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMSTATE, static_cast<WPARAM>(-1), LVIS_SELECTED), 0);
  EXPECT_FALSE(SendMessageW(l, LVM_DELETEITEM, static_cast<WPARAM>(-1), 0));
  EXPECT_FALSE(SendMessageW(l, LVM_DELETEITEM, 3, 0));
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  EXPECT_FALSE(SendMessageW(l, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageW(l, LVM_GETITEMRECT, 0, 0));
  r = {7, 0, 0, 0};
  EXPECT_FALSE(SendMessageW(l, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  r = {LVIR_BOUNDS, 5, 0, 0};
  EXPECT_FALSE(SendMessageW(l, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageW(l, LVM_ENSUREVISIBLE, static_cast<WPARAM>(-1), FALSE));
  EXPECT_FALSE(SendMessageW(l, LVM_UPDATE, 9, 0));
  EXPECT_EQ(SendMessageW(l, LVM_GETCOLUMNWIDTH, 7, 0), 0);
  EXPECT_FALSE(SendMessageW(l, LVM_DELETECOLUMN, 7, 0));
  EXPECT_FALSE(SendMessageW(l, LVM_SETCOLUMNWIDTH, 7, 50));
  EXPECT_FALSE(SendMessageW(l, LVM_GETCOLUMNW, 0, 0));
  EXPECT_EQ(SendMessageW(l, LVM_INSERTCOLUMNW, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LVM_HITTEST, 0, 0), -1);
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_FALSE(SendMessageW(l, LVM_SORTITEMS, 0, 0));
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, 2, LVNI_ALL), -1);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, 99, LVNI_ALL), -1);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL), 0);
  EXPECT_EQ(SendMessageW(l, LVM_SETSELECTIONMARK, 0, 50), -1);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), -1);  // a mark beyond the rows is none
  EXPECT_EQ(SendMessageW(l, LVM_SETIMAGELIST, 9, 0), 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMCOUNT, 0, 0), 3);
}

TEST_F(ListViews, TapShiftAndControlSelection) {
  HWND l = filled(5);
  const RECT row1 = itemRect(l, 1);
  recorder.watch(l);
  recorder.clear();
  notices.clear();
  tap(l, 20, row1.top + 2);
  EXPECT_TRUE(recorder.matches(kTapSeq, l));
  const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
  EXPECT_EQ(notices, (std::vector<Notice>{{NM_SETFOCUS, -2},
                                          {LVN_ITEMCHANGING, 1, both, 0},
                                          {LVN_ITEMCHANGED, 1, both, 0},
                                          {NM_CLICK, 1}}));
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 1);
  EXPECT_EQ(GetFocus(), l);
  EXPECT_EQ(GetCapture(), nullptr);
  // Shift: the rows from the mark to the tapped one, the focus on it, the mark kept.
  notices.clear();
  hold(VK_SHIFT, true);
  tapRow(l, 3);
  hold(VK_SHIFT, false);
  EXPECT_EQ(only({LVN_ITEMCHANGED}), (std::vector<Notice>{{LVN_ITEMCHANGED, 2, 2, 0},
                                                          {LVN_ITEMCHANGED, 3, 2, 0},
                                                          {LVN_ITEMCHANGED, 1, 2, 3},
                                                          {LVN_ITEMCHANGED, 3, 3, 2}}));
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 1);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
  // Control: toggles the tapped row alone and marks it.
  notices.clear();
  hold(VK_CONTROL, true);
  tapRow(l, 2);
  tapRow(l, 4);
  hold(VK_CONTROL, false);
  EXPECT_EQ(only({LVN_ITEMCHANGED}), (std::vector<Notice>{{LVN_ITEMCHANGED, 3, 2, 3},
                                                          {LVN_ITEMCHANGED, 2, 1, 2},
                                                          {LVN_ITEMCHANGED, 2, 0, 1},
                                                          {LVN_ITEMCHANGED, 4, 3, 0}}));
  EXPECT_EQ(state(l, 1), LVIS_SELECTED);
  EXPECT_EQ(state(l, 2), 0u);
  EXPECT_EQ(state(l, 3), LVIS_SELECTED);
  EXPECT_EQ(state(l, 4), both);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 4);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, 1, LVNI_SELECTED), 3);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, 3, LVNI_SELECTED | LVNI_ABOVE), 1);
  // A plain tap below the rows deselects every row and keeps the mark.
  tap(l, 20, 140);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 4);
  EXPECT_EQ(notices.back(), (Notice{NM_CLICK, -1}));
}

TEST_F(ListViews, SingleSelectionKeepsOneRow) {
  HWND l = filled(4, LVS_SINGLESEL);
  tapRow(l, 0);
  hold(VK_CONTROL, true);
  tapRow(l, 2);  // control means nothing here
  hold(VK_CONTROL, false);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(state(l, 2), LVIS_SELECTED | LVIS_FOCUSED);
  setState(l, 3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(state(l, 2), LVIS_FOCUSED);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

TEST_F(ListViews, TheParentRefusesAChange) {
  HWND l = filled(4);
  onNotice = [](LPARAM lParam) -> std::optional<LRESULT> {
    const auto* n = reinterpret_cast<const NMLISTVIEW*>(lParam);
    return n->hdr.code == LVN_ITEMCHANGING && n->iItem == 2 ? 1 : 0;
  };
  tapRow(l, 2);
  EXPECT_EQ(state(l, 2), 0u);
  EXPECT_TRUE(only({LVN_ITEMCHANGED}).empty());
  EXPECT_FALSE(setState(l, 2, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(setState(l, 1, LVIS_SELECTED, LVIS_SELECTED));
  // Selecting every row skips only the refused one.
  EXPECT_TRUE(setState(l, -1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 3);
  EXPECT_EQ(state(l, 2), 0u);
}

TEST_F(ListViews, TheParentMayDestroyTheListWhileNotified) {
  HWND l = filled(4);
  onNotice = [&](LPARAM lParam) -> std::optional<LRESULT> {
    if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED) DestroyWindow(l);
    return 0;
  };
  tapRow(l, 1);
  EXPECT_FALSE(IsWindow(l));
  HWND second = filled(3);
  onNotice = [&](LPARAM lParam) -> std::optional<LRESULT> {
    if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_DELETEITEM) DestroyWindow(second);
    return 0;
  };
  EXPECT_TRUE(SendMessageW(second, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_FALSE(IsWindow(second));
}

TEST_F(ListViews, DeletingNotifiesWithTheItemData) {
  HWND l = filled(4);
  SendMessageW(l, LVM_SETSELECTIONMARK, 0, 3);
  notices.clear();
  ASSERT_TRUE(SendMessageW(l, LVM_DELETEITEM, 1, 0));
  EXPECT_EQ(text(l, 1, 1), u"Sub 2");
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 2);  // the marked row moved up
  std::vector<LPARAM> data;
  onNotice = [&](LPARAM lParam) -> std::optional<LRESULT> {
    const auto* n = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (n->hdr.code == LVN_DELETEITEM) data.push_back(n->lParam);
    return 0;
  };
  ASSERT_TRUE(SendMessageW(l, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(data, (std::vector<LPARAM>{100, 102, 103}));
  EXPECT_EQ(SendMessageW(l, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), -1);
  // A non-zero answer to LVN_DELETEALLITEMS spares the per-item notices.
  HWND other = filled(2);
  data.clear();
  onNotice = [&](LPARAM lParam) -> std::optional<LRESULT> {
    const auto* n = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (n->hdr.code == LVN_DELETEITEM) data.push_back(n->lParam);
    return n->hdr.code == LVN_DELETEALLITEMS ? 1 : 0;
  };
  SendMessageW(other, LVM_DELETEALLITEMS, 0, 0);
  EXPECT_TRUE(data.empty());
}

TEST_F(ListViews, KeysMoveTheFocusAndTheSelection) {
  HWND l = filled(30);
  SetFocus(l);
  const int perPage = static_cast<int>(SendMessageW(l, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_EQ(perPage, 8);  // (150 - 18) / 16
  notices.clear();
  SendMessageW(l, WM_KEYDOWN, VK_DOWN, 0);  // nothing focused: the first row
  EXPECT_EQ(notices.front(), (Notice{LVN_KEYDOWN, VK_DOWN}));
  EXPECT_EQ(state(l, 0), LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(l, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(state(l, 0), 0u);
  EXPECT_EQ(state(l, 1), LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(l, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 8);  // a page less one row
  SendMessageW(l, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(state(l, 29), LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 22);  // scrolled to show it
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 29);
  hold(VK_SHIFT, true);
  SendMessageW(l, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(l, WM_KEYDOWN, VK_UP, 0);
  hold(VK_SHIFT, false);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 3);
  hold(VK_CONTROL, true);
  SendMessageW(l, WM_KEYDOWN, VK_HOME, 0);  // the focus alone moves
  SendMessageW(l, WM_KEYDOWN, VK_SPACE, 0);  // and space toggles
  hold(VK_CONTROL, false);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(state(l, 0), LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 4);
  SendMessageW(l, WM_KEYDOWN, VK_SPACE, 0);  // space alone selects the focused row only
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  notices.clear();
  SendMessageW(l, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(notices, (std::vector<Notice>{{LVN_KEYDOWN, VK_RETURN}, {NM_RETURN, -2}}));
  EXPECT_EQ(SendMessageW(l, WM_GETDLGCODE, 0, 0), 0x0001 | 0x0080);
}

TEST_F(ListViews, AWindowThatSubclassesTheListDrivesItThroughMessages) {
  HWND l = filled(5);
  static WNDPROC previous = nullptr;
  // Eats the stylus and does its own selection, as a program drawing multi-selection does.
  WNDPROC own = [](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_LBUTTONDOWN) {
      LVHITTESTINFO hit{};
      hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const int index = static_cast<int>(SendMessageW(w, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      SetFocus(w);
      LVITEMW item{};
      item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageW(w, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      SendMessageW(w, LVM_SETSELECTIONMARK, 0, index);
      return 0;
    }
    if (message == WM_LBUTTONUP) return 0;
    return CallWindowProcW(previous, w, message, wParam, lParam);
  };
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(l, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own)));
  tapRow(l, 2);
  tapRow(l, 4);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTEDCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 4);
  EXPECT_EQ(SendMessageW(l, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 4);
  EXPECT_TRUE(only({NM_CLICK}).empty());  // the list's own stylus handling never ran
}

TEST_F(ListViews, ColumnsTheirHeadingsAndWidths) {
  HWND l = filled(3);
  HWND header = reinterpret_cast<HWND>(SendMessageW(l, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  WCHAR buffer[16];
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.pszText = buffer;
  c.cchTextMax = 16;
  ASSERT_TRUE(SendMessageW(l, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&c)));
  EXPECT_EQ(std::u16string(buffer), u"Title");
  EXPECT_EQ(c.cx, 80);
  EXPECT_EQ(c.fmt, LVCFMT_LEFT);
  EXPECT_TRUE(SendMessageW(l, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(60, 0)));
  EXPECT_EQ(SendMessageW(l, LVM_GETCOLUMNWIDTH, 0, 0), 60);
  HDITEMW heading{};
  heading.mask = HDI_WIDTH;
  SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&heading));
  EXPECT_EQ(heading.cxy, 60);  // the heading follows
  // Fitted to the widest text, then to the heading when it is wider.
  setText(l, 0, 1, u"A much longer title");
  SendMessageW(l, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  const int fitted = static_cast<int>(SendMessageW(l, LVM_GETCOLUMNWIDTH, 1, 0));
  EXPECT_GT(fitted, 80);
  setText(l, 0, 1, u"x");
  SendMessageW(l, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  const int narrow = static_cast<int>(SendMessageW(l, LVM_GETCOLUMNWIDTH, 1, 0));
  EXPECT_LT(narrow, fitted);
  c.mask = LVCF_TEXT;
  c.pszText = const_cast<LPWSTR>(u"A long heading");
  ASSERT_TRUE(SendMessageW(l, LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&c)));
  SendMessageW(l, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
  EXPECT_GT(SendMessageW(l, LVM_GETCOLUMNWIDTH, 1, 0), narrow);
  EXPECT_TRUE(SendMessageW(l, LVM_DELETECOLUMN, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(ListViews, ATapOnAHeadingIsAColumnClick) {
  HWND l = filled(2);
  HWND header = reinterpret_cast<HWND>(SendMessageW(l, LVM_GETHEADER, 0, 0));
  notices.clear();
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(130, 5));
  EXPECT_EQ(notices, (std::vector<Notice>{{LVN_COLUMNCLICK, 1}}));
  HWND quiet = filled(2, LVS_NOSORTHEADER);
  header = reinterpret_cast<HWND>(SendMessageW(quiet, LVM_GETHEADER, 0, 0));
  notices.clear();
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_TRUE(notices.empty());
}

TEST_F(ListViews, HitTestsAndRectangles) {
  HWND l = filled(3);
  // QVGA, the dialog font: headings 18 pixels high, rows 16.
  EXPECT_EQ(itemRect(l, 0).top, 18);
  EXPECT_EQ(itemRect(l, 0).bottom, 34);
  EXPECT_EQ(itemRect(l, 1).right, 180);
  RECT sub{LVIR_BOUNDS, 1, 0, 0};
  ASSERT_TRUE(SendMessageW(l, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&sub)));
  EXPECT_EQ(sub.left, 100);
  EXPECT_EQ(sub.top, 50);
  EXPECT_EQ(sub.right, 180);
  LVHITTESTINFO hit{};
  hit.pt = {120, 40};
  EXPECT_EQ(SendMessageW(l, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
  // Without LVS_EX_FULLROWSELECT only the first column is the item.
  EXPECT_EQ(SendMessageW(l, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, LVHT_NOWHERE);
  SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(SendMessageW(l, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  hit.pt = {20, 100};
  EXPECT_EQ(SendMessageW(l, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, LVHT_NOWHERE);
  hit.pt = {20, 400};
  EXPECT_EQ(SendMessageW(l, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, LVHT_BELOW);
  hit.pt = {-3, 20};
  SendMessageW(l, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  EXPECT_EQ(hit.flags, LVHT_TOLEFT);
}

TEST_F(ListViews, ExtendedStylesAndColours) {
  HWND l = list();
  EXPECT_EQ(SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), 0);
  EXPECT_EQ(SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0), 0x21);
  EXPECT_EQ(SendMessageW(l, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x20);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(l, LVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(l, LVM_GETTEXTBKCOLOR, 0, 0)), 0xFF000000u);
  EXPECT_TRUE(SendMessageW(l, LVM_SETBKCOLOR, 0, RGB(255, 255, 0)));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(l, LVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 0));
  EXPECT_TRUE(SendMessageW(l, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 255)));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(l, LVM_GETTEXTCOLOR, 0, 0)), RGB(0, 0, 255));
}

TEST_F(ListViews, FindAndSort) {
  HWND l = filled(4);
  setText(l, 2, 0, u"Apple pie");
  LVFINDINFOW find{};
  find.flags = LVFI_STRING;
  find.psz = u"apple PIE";
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
  find.psz = u"apple";
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), -1);
  find.flags = LVFI_PARTIAL;
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, 2, reinterpret_cast<LPARAM>(&find)), -1);  // searching after the start
  find.flags = LVFI_PARTIAL | LVFI_WRAP;
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, 2, reinterpret_cast<LPARAM>(&find)), 2);
  find.flags = LVFI_PARAM;
  find.lParam = 103;
  EXPECT_EQ(SendMessageW(l, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 3);
  // Descending by item data; the mark and states travel with their rows.
  setState(l, 3, LVIS_SELECTED, LVIS_SELECTED);
  SendMessageW(l, LVM_SETSELECTIONMARK, 0, 3);
  PFNLVCOMPARE descending = [](LPARAM a, LPARAM b, LPARAM sign) { return static_cast<int>((b - a) * sign); };
  EXPECT_TRUE(SendMessageW(l, LVM_SORTITEMS, 1, reinterpret_cast<LPARAM>(descending)));
  EXPECT_EQ(text(l, 0, 1), u"Sub 3");
  EXPECT_EQ(text(l, 3, 1), u"Sub 0");
  EXPECT_EQ(state(l, 0), LVIS_SELECTED);
  EXPECT_EQ(SendMessageW(l, LVM_GETSELECTIONMARK, 0, 0), 0);
  // A comparison without a consistent order leaves every row in place, in some order.
  PFNLVCOMPARE erratic = [](LPARAM, LPARAM, LPARAM) { return -1; };
  HWND big = filled(200);
  EXPECT_TRUE(SendMessageW(big, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(erratic)));
  EXPECT_EQ(SendMessageW(big, LVM_GETITEMCOUNT, 0, 0), 200);
}

TEST_F(ListViews, ScrollingByRows) {
  HWND l = filled(40, WS_VSCROLL);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_TRUE(SendMessageW(l, LVM_SCROLL, 0, 16 * 3));
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 3);
  EXPECT_EQ(GetScrollPos(l, SB_VERT), 3);
  SendMessageW(l, LVM_SCROLL, 0, 5);  // part of a row scrolls one
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 4);
  SendMessageW(l, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 3);
  SendMessageW(l, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 11);
  SendMessageW(l, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 32);  // 40 rows, 8 fully shown
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(l, SB_VERT, &info));
  EXPECT_EQ(info.nMax, 39);
  EXPECT_EQ(info.nPage, 8u);
  EXPECT_EQ(info.nPos, 32);
  EXPECT_TRUE(SendMessageW(l, LVM_ENSUREVISIBLE, 5, FALSE));
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 5);
  EXPECT_TRUE(SendMessageW(l, LVM_ENSUREVISIBLE, 20, FALSE));
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 13);
  SendMessageW(l, LVM_SCROLL, 0, -16 * 100);
  EXPECT_EQ(SendMessageW(l, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(itemRect(l, 2).top, 18 + 2 * 16);
}

TEST_F(ListViews, ScrolledPixelsMatchAFreshPaint) {
  HWND l = filled(40, WS_VSCROLL | LVS_SHOWSELALWAYS);
  SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 40; i += 3) setState(l, i, LVIS_SELECTED, LVIS_SELECTED);
  pixel(l, 0, 0);  // painted
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  for (int step = 0; step < 5; ++step) {
    SendMessageW(l, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(l);
    const int top = static_cast<int>(SendMessageW(l, LVM_GETTOPINDEX, 0, 0));
    for (int row = 0; row < 8; ++row) {
      const bool selected = (top + row) % 3 == 0;
      EXPECT_EQ(pixel(l, 150, 18 + row * 16 + 1) == highlight, selected) << "step " << step << " row " << row;
    }
  }
}

TEST_F(ListViews, StateAndSmallImages) {
  // Three 16x16 images: red, green, blue.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP strip = CreateBitmap(48, 16, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(memory, strip);
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (int i = 0; i < 3; ++i) {
    RECT r{16 * i, 0, 16 * i + 16, 16};
    HBRUSH brush = CreateSolidBrush(colours[i]);
    FillRect(memory, &r, brush);
    DeleteObject(brush);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR32, 3, 3);
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32, 3, 3);
  ASSERT_EQ(ImageList_Add(states, strip, nullptr), 0);
  ASSERT_EQ(ImageList_Add(small, strip, nullptr), 0);
  DeleteObject(strip);
  HWND l = filled(2);
  EXPECT_EQ(SendMessageW(l, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(states)), 0);
  EXPECT_EQ(SendMessageW(l, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessageW(l, LVM_GETIMAGELIST, LVSIL_STATE, 0), reinterpret_cast<LRESULT>(states));
  EXPECT_TRUE(setState(l, 1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK));
  EXPECT_EQ(state(l, 1, LVIS_STATEIMAGEMASK), 0x2000u);
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  item.iImage = 2;
  SendMessageW(l, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  // Rows take the images' height: 16 + 2; the state image, then the small image.
  const RECT row = itemRect(l, 1);
  EXPECT_EQ(row.bottom - row.top, 18);
  const RECT icon = itemRect(l, 1, LVIR_ICON);
  EXPECT_EQ(icon.left, 16);
  EXPECT_EQ(pixel(l, 8, row.top + 9), RGB(0, 255, 0));   // state image 2 is the second image
  EXPECT_EQ(pixel(l, 24, row.top + 9), RGB(0, 0, 255));  // small image 2
  auto rows = automation(l)["rows"];
  EXPECT_EQ(rows[1]["stateImage"], 2);
  EXPECT_EQ(rows[1]["image"], 2);
  EXPECT_EQ(rows[0]["stateImage"], 0);
  // The list owns image lists it was given unless they are shared.
  DestroyWindow(l);
  EXPECT_EQ(ImageList_GetImageCount(states), 0);
  EXPECT_FALSE(ImageList_Destroy(small));
}

TEST_F(ListViews, TheLookByPixels) {
  HWND l = filled(3, LVS_SHOWSELALWAYS);
  SendMessageW(l, LVM_SETBKCOLOR, 0, RGB(255, 255, 0));
  SendMessageW(l, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 0));
  setState(l, 1, LVIS_SELECTED, LVIS_SELECTED);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(pixel(l, 190, 140), RGB(255, 255, 0));  // below the rows
  EXPECT_EQ(pixel(l, 150, 40), RGB(255, 255, 0));   // the selection is the label alone
  EXPECT_EQ(pixel(l, 1, 40), highlight);
  HWND header = reinterpret_cast<HWND>(SendMessageW(l, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(pixel(header, 5, 17), RGB(0, 0, 0));  // the line under the headings
  EXPECT_EQ(pixel(header, 60, 2), GetSysColor(COLOR_BTNFACE));
  SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  EXPECT_EQ(pixel(l, 150, 40), highlight);
  EXPECT_EQ(pixel(l, 150, 33), GetSysColor(COLOR_BTNFACE));  // a grid line under row 0
  EXPECT_EQ(pixel(l, 99, 25), GetSysColor(COLOR_BTNFACE));   // and between the columns
  // Without LVS_SHOWSELALWAYS the selection shows only while the list has the focus.
  DestroyWindow(l);
  HWND plain = filled(2);
  setState(plain, 0, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(parent);
  EXPECT_EQ(pixel(plain, 1, 25), GetSysColor(COLOR_WINDOW));
  SetFocus(plain);
  EXPECT_EQ(pixel(plain, 1, 25), highlight);
  // No headings with LVS_NOCOLUMNHEADER: rows start at the top.
  DestroyWindow(plain);
  HWND bare = filled(2, LVS_NOCOLUMNHEADER);
  EXPECT_EQ(itemRect(bare, 0).top, 0);
}

TEST_F(ListViews, AutomationState) {
  HWND l = filled(3);
  setState(l, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(l, LVM_SETSELECTIONMARK, 0, 2);
  const nlohmann::json expected = nlohmann::json::parse(R"({
    "columns": [{"text": "Time", "width": 100}, {"text": "Title", "width": 80}],
    "rows": [
      {"texts": ["Row 0", "Sub 0"], "selected": false, "focused": false, "image": 0, "stateImage": 0},
      {"texts": ["Row 1", "Sub 1"], "selected": false, "focused": false, "image": 0, "stateImage": 0},
      {"texts": ["Row 2", "Sub 2"], "selected": true, "focused": true, "image": 0, "stateImage": 0}],
    "selectionMark": 2,
    "topIndex": 0})");
  EXPECT_EQ(automation(l), expected);
}

TEST_F(ListViews, ScrollWindowExMovesDrawnPixels) {
  HWND w = create(WS_CHILD | WS_VISIBLE, parent, {0, 0, 100, 100});
  HDC hdc = GetDC(w);
  RECT band{0, 40, 100, 50};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(hdc, &band, red);
  DeleteObject(red);
  ReleaseDC(w, hdc);
  ValidateRect(w, nullptr);
  RECT area{0, 10, 100, 100}, uncovered{};
  EXPECT_EQ(ScrollWindowEx(w, 0, -20, &area, &area, nullptr, &uncovered, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(uncovered.top, 80);
  EXPECT_EQ(uncovered.bottom, 100);
  hdc = GetDC(w);
  EXPECT_EQ(GetPixel(hdc, 50, 20), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(hdc, 50, 29), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(hdc, 50, 40), RGB(255, 0, 0));
  ReleaseDC(w, hdc);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.top, 80);
  EXPECT_EQ(ScrollWindowEx(w, 0, 5, nullptr, nullptr, reinterpret_cast<HRGN>(1), nullptr, 0), 0);
  EXPECT_EQ(ScrollWindowEx(nullptr, 0, 5, nullptr, nullptr, nullptr, nullptr, 0), 0);
}

}  // namespace
}  // namespace handheld::testing
