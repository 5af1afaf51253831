// SHCreateMenuBar: the bar window, its toolbar, the image strip and the buttons of a
// "SHMENUBAR" resource (with SHCMBF_HMENU: of a MENU's top-level items). A resource that does
// not decode is refused; one that names strings, menus or images that do not exist is shown
// as far as it is sound, and what is missing is logged.
#include <aygshell.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_access.h"
#include "shellsvc/menubar/menu_bar.h"
#include "shellsvc/menubar/owner_link.h"
#include "user/controls/control_support.h"

using namespace handheld;
using namespace handheld::shellsvc;

namespace {

struct Button {
  TBBUTTON button{};
  std::u16string text;
  HMENU popup = nullptr;
};

void logProblem(UINT bar, const char* what, unsigned value) {
  std::fprintf(stderr, "handheld: menu bar %u: %s %u\n", bar, what, value);
}

// The sub-menus live as long as `menu`, which the caller destroys when the bar is not made.
std::optional<std::vector<Button>> fromShellMenuBar(const SHMENUBARINFO& info, HMENU& menu) {
  const auto bar = resources::loadShellMenuBar(info.hInstRes, info.nToolBarId);
  if (!bar) {
    if (GetLastError() == ERROR_INVALID_DATA) logProblem(info.nToolBarId, "refused: damaged resource", info.nToolBarId);
    return std::nullopt;
  }
  bool wantsMenu = false;
  for (const auto& b : bar->buttons) wantsMenu = wantsMenu || b.subMenu.has_value();
  if (wantsMenu) {
    menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(bar->menuId));
    if (!menu) logProblem(info.nToolBarId, "has no menu", bar->menuId);
  }
  std::vector<Button> buttons;
  for (const auto& b : bar->buttons) {
    Button made;
    made.button.iBitmap = b.imageIndex;
    made.button.idCommand = b.command;
    made.button.fsState = b.state;
    made.button.fsStyle = b.style;
    made.button.iString = -1;
    if (b.stringId != 0) {
      if (auto text = resources::loadString(info.hInstRes, b.stringId))
        made.text.assign(text->begin(), text->end());
      else if (b.imageIndex < 0)
        logProblem(info.nToolBarId, "lacks the text of a button: string", b.stringId);
    }
    if (b.subMenu) {
      made.popup = menu ? GetSubMenu(menu, *b.subMenu) : nullptr;
      if (made.popup)
        made.button.fsStyle |= TBSTYLE_DROPDOWN;
      else if (menu)
        logProblem(info.nToolBarId, "names a sub-menu its menu lacks: index", *b.subMenu);
    }
    buttons.push_back(std::move(made));
  }
  return buttons;
}

// Each top-level item a text button: a pop-up drops down, a plain item is a command.
std::optional<std::vector<Button>> fromMenu(const SHMENUBARINFO& info, HMENU& menu) {
  if (info.nToolBarId > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::nullopt;
  }
  menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId));
  if (!menu) return std::nullopt;
  std::vector<Button> buttons;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    WCHAR text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_TYPE;
    item.dwTypeData = text;
    item.cch = 128;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) || (item.fType & MFT_SEPARATOR)) continue;
    Button made;
    made.button.iBitmap = I_IMAGENONE;
    made.button.idCommand = static_cast<int>(item.wID);
    made.button.fsState = (item.fState & MFS_GRAYED) ? 0 : TBSTATE_ENABLED;
    made.button.fsStyle = static_cast<BYTE>(TBSTYLE_AUTOSIZE | (item.hSubMenu ? TBSTYLE_DROPDOWN : 0));
    made.button.iString = -1;
    made.text = text;
    made.popup = item.hSubMenu;
    buttons.push_back(std::move(made));
  }
  return buttons;
}

void addImages(HWND toolbar, const SHMENUBARINFO& info) {
  const int side = GetSystemMetrics(SM_CXSMICON);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(side, GetSystemMetrics(SM_CYSMICON)));
  if (info.nBmpId == 0) return;
  HBITMAP strip = LoadBitmapW(info.hInstRes, MAKEINTRESOURCEW(static_cast<WORD>(info.nBmpId)));
  TBADDBITMAP bitmap{nullptr, reinterpret_cast<UINT_PTR>(strip)};
  if (!strip || SendMessageW(toolbar, TB_ADDBITMAP, static_cast<WPARAM>(std::max(info.cBmpImages, 0)),
                             reinterpret_cast<LPARAM>(&bitmap)) < 0)
    logProblem(info.nToolBarId, "shows no images: bitmap", static_cast<unsigned>(info.nBmpId));
  if (strip) DeleteObject(strip);
}

HWND makeToolbar(HWND bar, const SHMENUBARINFO& info, const std::vector<Button>& buttons) {
  RECT client{};
  GetClientRect(bar, &client);
  const RECT panel = inputPanelButtonRect(bar);
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, u"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, panel.left, client.bottom, bar,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMenuBarToolbarId)), nullptr, nullptr);
  if (!toolbar) return nullptr;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Buttons fill the bar below its top line.
  SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, client.bottom - user::controls::lineWidth()));
  addImages(toolbar, info);
  std::vector<TBBUTTON> list;
  for (const auto& b : buttons) {
    list.push_back(b.button);
    if (!b.text.empty()) list.back().iString = reinterpret_cast<INT_PTR>(b.text.c_str());
  }
  if (!list.empty())
    SendMessageW(toolbar, TB_ADDBUTTONSW, list.size(), reinterpret_cast<LPARAM>(list.data()));
  return toolbar;
}

}  // namespace

HANDHELD_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info) {
  if (!info || info->cbSize != sizeof(SHMENUBARINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hwndMB = nullptr;
  if (!info->hwndParent || !IsWindow(info->hwndParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  HMENU menu = nullptr;
  std::vector<Button> buttons;
  if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
    auto made = (info->dwFlags & SHCMBF_HMENU) ? fromMenu(*info, menu) : fromShellMenuBar(*info, menu);
    if (!made) {
      const DWORD error = GetLastError();
      if (menu) DestroyMenu(menu);
      SetLastError(error);
      return FALSE;
    }
    buttons = std::move(*made);
  }
  const RECT r = menuBarRect();
  HWND bar = CreateWindowExW(0, kMenuBarClass, u"", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             info->hwndParent, nullptr, nullptr, nullptr);
  auto* state = bar ? user::controls::stateOf<MenuBarState>(bar) : nullptr;
  if (!state) {
    if (bar) DestroyWindow(bar);
    if (menu) DestroyMenu(menu);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  state->owner = info->hwndParent;
  state->menu = menu;
  state->inputPanelButton = !(info->dwFlags & SHCMBF_HIDESIPBUTTON);
  if (info->dwFlags & SHCMBF_COLORBK) state->background = info->clrBk;
  for (const auto& b : buttons)
    if (b.popup) state->popups.emplace_back(b.button.idCommand, b.popup);
  HWND toolbar = makeToolbar(bar, *info, buttons);
  if (!toolbar || !(state = user::controls::stateOf<MenuBarState>(bar))) {
    DestroyWindow(bar);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  state->toolbar = toolbar;
  state->linked = linkToOwner(bar, info->hwndParent);
  // A bar made while its owner is still hidden (WM_CREATE, WM_INITDIALOG) shows with it.
  if (!(info->dwFlags & SHCMBF_HIDDEN)) {
    if (IsWindowVisible(info->hwndParent) || !state->linked)
      ShowWindow(bar, SW_SHOWNOACTIVATE);
    else
      state->hiddenWithOwner = true;
  }
  info->hwndMB = bar;
  return TRUE;
}
