// The Today page of the Settings sheet: listing, showing and hiding, moving, applying to the
// registry and the screen, and an item's options dialog run from its library.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "item_libraries.h"
#include "test_item.h"
#include "today_fixture.h"
#include "today_page_ids.h"

namespace handheld::testing {
namespace {

class TodaySettingsTest : public TodayTest {
 protected:
  void TearDown() override {
    if (IsWindow(sheet)) DestroyWindow(sheet);
    TodayTest::TearDown();
  }

  HWND openPage() {
    PROPSHEETPAGEW page = shell::todaySettingsPage(GetModuleHandleW(nullptr));
    EXPECT_STREQ(reinterpret_cast<const char*>(std::u16string(page.pszTitle).c_str()),
                 reinterpret_cast<const char*>(u"Today"));
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hwndParent = frame;
    header.pszCaption = u"Settings";
    header.nPages = 1;
    header.ppsp = &page;
    sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    recorder.pumpPending();
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }

  static std::u16string listText(HWND page, int index) {
    WCHAR text[128] = {};
    SendDlgItemMessageW(page, shell::kTodayPageList, LB_GETTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
    return text;
  }
  static void select(HWND page, int index) {
    SendDlgItemMessageW(page, shell::kTodayPageList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(shell::kTodayPageList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, shell::kTodayPageList)));
  }
  static void click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

  HWND sheet = nullptr;
};

TEST_F(TodaySettingsTest, MovesAndHidesItemsAndApplyWritesThemAndRebuildsTheScreen) {
  setItem(u"Good", 1, 0, goodItem);
  openScreen();
  ASSERT_NE(child(u"GoodTodayItem"), nullptr);
  HWND page = openPage();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(SendDlgItemMessageW(page, shell::kTodayPageList, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(listText(page, 0), u"Date");
  EXPECT_EQ(listText(page, 1), u"Good");
  // The date band has no options; the first item cannot move up.
  select(page, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, shell::kTodayPageOptions)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, shell::kTodayPageUp)));
  EXPECT_EQ(IsDlgButtonChecked(page, shell::kTodayPageShown), static_cast<UINT>(BST_CHECKED));

  select(page, 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, shell::kTodayPageOptions)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, shell::kTodayPageDown)));
  click(page, shell::kTodayPageUp);
  EXPECT_EQ(listText(page, 0), u"Good");
  click(page, shell::kTodayPageShown);  // still on "Good", now first
  EXPECT_EQ(listText(page, 0), u"Good (not shown)");
  // Nothing is written before the sheet applies.
  EXPECT_EQ(getDword(itemKey(u"Good"), u"Enabled"), 1u);

  SendMessageW(sheet, PSM_APPLY, 0, 0);
  EXPECT_EQ(getDword(itemKey(u"Good"), u"Enabled"), 0u);
  EXPECT_EQ(getDword(itemKey(u"Good"), u"Order"), 0u);
  EXPECT_EQ(getDword(itemKey(u"Date"), u"Order"), 1u);
  EXPECT_TRUE(recorder.pumpUntil([&] { return child(u"GoodTodayItem") == nullptr; }));
}

TEST_F(TodaySettingsTest, OptionsRunTheItemsDialogAndTheScreenFollows) {
  setItem(u"Good", 1, 0, goodItem);
  openScreen();
  HWND item = child(u"GoodTodayItem");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(placeOf(item).bottom - placeOf(item).top, TEST_ITEM_SHORT);
  HWND page = openPage();
  select(page, 1);
  // Once the dialog is up: tick "Tall" and confirm, as a person would.
  static bool seen = false;
  seen = false;
  SetTimer(frame, 77, 50, [](HWND window, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowW(nullptr, u"Test item");
    if (!dialog) return;
    KillTimer(window, id);
    seen = true;
    CheckDlgButton(dialog, TEST_ITEM_TALL_CHECK, BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  click(page, shell::kTodayPageOptions);
  EXPECT_TRUE(seen);
  EXPECT_EQ(getDword(TEST_ITEM_KEY, u"Tall"), 1u);
  // The screen starts its items anew: the item reads its option.
  ASSERT_TRUE(recorder.pumpUntil([&] {
    HWND now = child(u"GoodTodayItem");
    return now && placeOf(now).bottom - placeOf(now).top == TEST_ITEM_TALL;
  }));
}

TEST_F(TodaySettingsTest, AnOptionsDialogThatFaultsEndsAndTheLibraryIsRefused) {
  setItem(u"Bad", 1, 99, badItem);
  openScreen();
  ASSERT_NE(child(u"BadTodayItem"), nullptr);
  HWND page = openPage();
  select(page, 1);
  click(page, shell::kTodayPageOptions);  // returns: the fault ended the dialog
  EXPECT_EQ(FindWindowW(nullptr, u"Bad item"), nullptr);
  EXPECT_TRUE(shell::isBrokenLibrary(badItem));
  EXPECT_TRUE(recorder.pumpUntil([&] { return child(u"BadTodayItem") == nullptr; }));
}

}  // namespace
}  // namespace handheld::testing
