// The decoders on the test program's compiled dialogs, menus and menu bar, and on damaged
// data.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "resource.h"
#include "resources/resource_access.h"
#include "resources/templates.h"
#include "test_constants.h"

namespace {

using namespace handheld::resources;

constexpr uint32_t kChildVisible = WS_CHILD | WS_VISIBLE;

TEST(DialogTemplate, DecodesDialogExWithControlDefaults) {
  auto dialog = loadDialog(nullptr, MAKEINTRESOURCEW(IDD_OPTIONS));
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isEx);
  EXPECT_EQ(dialog->style, static_cast<uint32_t>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(dialog->exStyle, 1u);
  EXPECT_EQ(dialog->cx, 140);
  EXPECT_EQ(dialog->cy, 90);
  EXPECT_EQ(dialog->caption, u"Options");
  EXPECT_TRUE(dialog->hasFont);
  EXPECT_EQ(dialog->fontSize, 8);
  EXPECT_EQ(dialog->fontFace, u"Tahoma");
  EXPECT_EQ(dialog->fontWeight, 700);
  EXPECT_TRUE(dialog->fontItalic);
  ASSERT_EQ(dialog->items.size(), 8u);

  const DialogItem& label = dialog->items[0];
  EXPECT_EQ(label.className(), u"Static");
  EXPECT_EQ(label.text.name, u"&Name:");
  EXPECT_EQ(label.id, 0xFFFFFFFFu);
  EXPECT_EQ(label.style, kChildVisible | SS_LEFT | WS_GROUP);

  const DialogItem& name = dialog->items[1];
  EXPECT_EQ(name.className(), u"Edit");
  EXPECT_EQ(name.id, static_cast<uint32_t>(IDC_NAME));
  EXPECT_EQ(name.style, kChildVisible | WS_TABSTOP | ES_AUTOHSCROLL);  // NOT WS_BORDER
  EXPECT_EQ(name.x, 46);
  EXPECT_EQ(name.cy, 12);

  EXPECT_EQ(dialog->items[2].style, kChildVisible | WS_BORDER | WS_TABSTOP | ES_MULTILINE | WS_VSCROLL);
  EXPECT_EQ(dialog->items[3].className(), u"Button");
  EXPECT_EQ(dialog->items[3].style, kChildVisible | BS_AUTOCHECKBOX | WS_TABSTOP);
  EXPECT_EQ(dialog->items[4].className(), u"ComboBox");
  EXPECT_EQ(dialog->items[4].style, kChildVisible | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL);

  const DialogItem& icon = dialog->items[5];
  EXPECT_EQ(icon.className(), u"Static");
  EXPECT_EQ(icon.text.ordinal, std::optional<uint16_t>(IDI_APP));
  EXPECT_EQ(icon.style, kChildVisible | SS_ICON);

  const DialogItem& custom = dialog->items[6];
  EXPECT_EQ(custom.className(), u"InkX");
  EXPECT_FALSE(custom.windowClass.ordinal);
  EXPECT_EQ(custom.style, kChildVisible | WS_TABSTOP);
  EXPECT_EQ(custom.exStyle, 0x200u);

  EXPECT_EQ(dialog->items[7].id, static_cast<uint32_t>(IDOK));
  EXPECT_EQ(dialog->items[7].style, kChildVisible | WS_TABSTOP | 1u);  // BS_DEFPUSHBUTTON
}

TEST(DialogTemplate, DecodesClassicDialog) {
  auto dialog = loadDialog(nullptr, MAKEINTRESOURCEW(IDD_SIMPLE));
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(dialog->isEx);
  EXPECT_EQ(dialog->style, static_cast<uint32_t>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION));
  EXPECT_FALSE(dialog->hasFont);
  EXPECT_EQ(dialog->x, 10);
  EXPECT_EQ(dialog->y, 20);
  ASSERT_EQ(dialog->items.size(), 1u);
  EXPECT_EQ(dialog->items[0].id, static_cast<uint32_t>(IDCANCEL));
  EXPECT_EQ(dialog->items[0].text.name, u"Cancel");
}

TEST(MenuTemplate, DecodesTheTree) {
  auto menu = loadMenu(nullptr, MAKEINTRESOURCEW(IDM_MAIN));
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->items.size(), 2u);
  const MenuItem& file = menu->items[0];
  EXPECT_TRUE(file.isPopup());
  EXPECT_EQ(file.text, u"&File");
  ASSERT_EQ(file.children.size(), 5u);
  EXPECT_EQ(file.children[0].text, u"&New\tCtrl+N");
  EXPECT_EQ(file.children[0].id, IDM_NEW);
  EXPECT_TRUE(file.children[1].grayed());
  EXPECT_FALSE(file.children[1].checked());
  ASSERT_TRUE(file.children[2].isPopup());
  ASSERT_EQ(file.children[2].children.size(), 1u);
  EXPECT_TRUE(file.children[2].children[0].checked());
  EXPECT_EQ(file.children[2].children[0].id, IDM_RECENT_1);
  EXPECT_TRUE(file.children[3].isSeparator());
  EXPECT_EQ(file.children[4].id, IDM_EXIT);
  EXPECT_FALSE(file.children[4].isSeparator());
  EXPECT_TRUE(menu->items[1].menuBarBreak());
  EXPECT_FALSE(menu->items[1].isPopup());
}

TEST(ShellMenuBar, DecodesButtons) {
  auto bar = loadShellMenuBar(nullptr, IDM_MAIN);
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->menuId, IDM_MAIN);
  ASSERT_EQ(bar->buttons.size(), 2u);
  EXPECT_EQ(bar->buttons[0].imageIndex, I_IMAGENONE);
  EXPECT_EQ(bar->buttons[0].command, IDM_NEW);
  EXPECT_EQ(bar->buttons[0].state, TBSTATE_ENABLED);
  EXPECT_EQ(bar->buttons[0].style, TBSTYLE_AUTOSIZE);
  EXPECT_EQ(bar->buttons[0].stringId, IDS_APP_NAME);
  EXPECT_FALSE(bar->buttons[0].subMenu);
  EXPECT_EQ(bar->buttons[1].imageIndex, 3);
  EXPECT_EQ(bar->buttons[1].style, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE);
  EXPECT_EQ(bar->buttons[1].subMenu, std::optional<uint16_t>(0));
}

TEST(Loaders, ReportMissingResources) {
  SetLastError(0);
  EXPECT_FALSE(loadDialog(nullptr, MAKEINTRESOURCEW(12345)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_FALSE(loadShellMenuBar(nullptr, 12345));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// Every prefix of a valid template is damaged data: the decoders refuse it without reading
// past the end (the sanitizer builds check the "without").
TEST(Decoders, RefuseEveryTruncation) {
  auto dialog = loadResourceBytes(nullptr, MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG);
  auto menu = loadResourceBytes(nullptr, MAKEINTRESOURCEW(IDM_MAIN), RT_MENU);
  auto bar = loadResourceBytes(nullptr, MAKEINTRESOURCEW(IDM_MAIN), u"SHMENUBAR");
  ASSERT_TRUE(dialog && menu && bar);
  for (size_t size = 0; size < dialog->size(); ++size) {
    std::vector<uint8_t> cut(dialog->begin(), dialog->begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(decodeDialog(cut)) << size;
  }
  for (size_t size = 0; size < menu->size(); ++size) {
    std::vector<uint8_t> cut(menu->begin(), menu->begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(decodeMenu(cut)) << size;
  }
  for (size_t size = 0; size < bar->size(); ++size) {
    std::vector<uint8_t> cut(bar->begin(), bar->begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(decodeShellMenuBar(cut)) << size;
  }
}

TEST(Decoders, RefuseInconsistentCounts) {
  // A dialog announcing 60000 controls in a few bytes.
  std::vector<uint8_t> dialog = {0, 0, 0, 0x80, 0, 0, 0, 0, 0x60, 0xEA, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0,    0, 0, 0, 0};
  EXPECT_FALSE(decodeDialog(dialog));
  // A menu bar whose count disagrees with its buttons.
  std::vector<uint8_t> bar = {1, 0, 2, 0, 0xFE, 0xFF, 1, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF};
  EXPECT_FALSE(decodeShellMenuBar(bar));
  bar[2] = 1;
  EXPECT_TRUE(decodeShellMenuBar(bar));
  // A menu with an unknown header version.
  std::vector<uint8_t> menu = {1, 0, 0, 0, 0x80, 0, 1, 0, 0, 0};
  EXPECT_FALSE(decodeMenu(menu));
  menu[0] = 0;
  EXPECT_TRUE(decodeMenu(menu));
}

}  // namespace
