// GetMenuItemInfoW / SetMenuItemInfoW: one item's parts, chosen by the MIIM_ mask.
#include <windows.h>

#include <algorithm>

#include "user/menus/menu.h"

using namespace handheld::user;

namespace {

constexpr UINT kTypeBits = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_RADIOCHECK | MFT_SEPARATOR;
constexpr UINT kStateBits = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
constexpr UINT kKnownMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;

// The item, or null with the error set (bad handle, bad size or mask, no such item).
MenuEntry* itemFor(HMENU handle, UINT item, BOOL byPosition, UINT cbSize, UINT mask,
                   std::shared_ptr<Menu>& menu) {
  menu = lookupMenu(handle);
  if (!menu) return nullptr;
  if (cbSize != sizeof(MENUITEMINFOW) || (mask & ~kKnownMask)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto found = findEntry(*menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found.menu) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return nullptr;
  }
  return found.entry();
}

}  // namespace

HANDHELD_API BOOL WINAPI GetMenuItemInfoW(HMENU handle, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard guard(menuLock());
  std::shared_ptr<Menu> menu;
  MenuEntry* entry = itemFor(handle, item, byPosition, info->cbSize, info->fMask, menu);
  if (!entry) return FALSE;
  if (info->fMask & MIIM_STATE) info->fState = entry->state & kStateBits;
  if (info->fMask & MIIM_ID) info->wID = entry->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = entry->popup ? entry->popup->handle() : nullptr;
  if (info->fMask & MIIM_CHECKMARKS) {
    info->hbmpChecked = entry->checkedMark;
    info->hbmpUnchecked = entry->uncheckedMark;
  }
  if (info->fMask & MIIM_DATA) info->dwItemData = entry->data;
  if (info->fMask & MIIM_TYPE) {
    info->fType = entry->state & kTypeBits;
    const auto length = static_cast<UINT>(entry->text.size());
    if (!(info->fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) && info->dwTypeData && info->cch > 0) {
      const UINT n = std::min(length, info->cch - 1);
      std::copy_n(entry->text.begin(), n, info->dwTypeData);
      info->dwTypeData[n] = 0;
    }
    info->cch = length;
  }
  return TRUE;
}

HANDHELD_API BOOL WINAPI SetMenuItemInfoW(HMENU handle, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard guard(menuLock());
  std::shared_ptr<Menu> menu;
  MenuEntry* entry = itemFor(handle, item, byPosition, info->cbSize, info->fMask, menu);
  if (!entry) return FALSE;
  // Everything is checked before anything changes, so a refused call leaves the item as it was.
  std::shared_ptr<Menu> popup = entry->popup;
  if (info->fMask & MIIM_SUBMENU) {
    popup = nullptr;
    if (info->hSubMenu) {
      popup = lookupMenu(info->hSubMenu);
      if (!popup) return FALSE;
      if (holds(*popup, *menu)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
    }
  }
  entry->popup = std::move(popup);
  if (info->fMask & MIIM_STATE) entry->state = (entry->state & ~kStateBits) | (info->fState & kStateBits);
  if (info->fMask & MIIM_ID) entry->id = info->wID;
  if (info->fMask & MIIM_CHECKMARKS) {
    entry->checkedMark = info->hbmpChecked;
    entry->uncheckedMark = info->hbmpUnchecked;
  }
  if (info->fMask & MIIM_DATA) entry->data = info->dwItemData;
  if (info->fMask & MIIM_TYPE) {
    entry->state = (entry->state & ~kTypeBits) | (info->fType & kTypeBits);
    entry->text.clear();
    if (!(info->fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) && info->dwTypeData) entry->text = info->dwTypeData;
  }
  return TRUE;
}
