// Menu functions over the menu data; LoadMenuW builds menus from a module's MENU resource.
#include <windows.h>

#include <algorithm>

#include "resources/resource_access.h"
#include "user/menus/menu.h"

using namespace handheld::user;

namespace {

// The bits of an entry's state that the state functions report and change.
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_MENUBREAK |
                            MF_MENUBARBREAK | MF_HILITE | MF_DEFAULT;

// An entry as AppendMenuW / InsertMenuW / ModifyMenuW describe it for `owner`; false when the
// pop-up handle is bad or the pop-up holds `owner` (a menu inside itself would never end).
bool makeEntry(const Menu& owner, UINT flags, UINT_PTR idOrPopup, LPCWSTR text, MenuEntry& entry) {
  entry = MenuEntry{};
  entry.state = flags & kStateBits;
  if (flags & MF_POPUP) {
    entry.popup = lookupMenu(reinterpret_cast<HMENU>(idOrPopup));
    if (!entry.popup) return false;
    if (holds(*entry.popup, owner)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
  } else {
    entry.id = static_cast<UINT>(idOrPopup);
  }
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) entry.text = text;
  return true;
}

// findEntry that reports a missing item as the platform does.
FoundEntry findOrFail(Menu& menu, UINT item, UINT flags) {
  auto found = findEntry(menu, item, flags);
  if (!found.menu) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return found;
}

void addTemplateItems(Menu& menu, const std::vector<handheld::resources::MenuItem>& items) {
  for (const auto& item : items) {
    MenuEntry entry;
    entry.id = item.id;
    entry.text = item.text;
    entry.state = item.flags & kStateBits;
    if (item.isSeparator()) entry.state |= MF_SEPARATOR;
    if (item.isPopup()) {
      entry.popup = createMenu(true);
      addTemplateItems(*entry.popup, item.children);
    }
    menu.entries().push_back(std::move(entry));
  }
}

}  // namespace

HANDHELD_API HMENU WINAPI CreateMenu(void) { return createMenu(false)->handle(); }
HANDHELD_API HMENU WINAPI CreatePopupMenu(void) { return createMenu(true)->handle(); }
HANDHELD_API BOOL WINAPI DestroyMenu(HMENU menu) { return destroyMenu(menu) ? TRUE : FALSE; }

HANDHELD_API HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  auto loaded = handheld::resources::loadMenu(instance, name);
  if (!loaded) return nullptr;
  std::lock_guard guard(menuLock());
  auto menu = createMenu(false);
  addTemplateItems(*menu, loaded->items);
  return menu->handle();
}

HANDHELD_API BOOL WINAPI InsertMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  MenuEntry entry;
  if (!menu || !makeEntry(*menu, flags, idOrPopup, text, entry)) return FALSE;
  auto& entries = menu->entries();
  if (position == static_cast<UINT>(-1)) {
    entries.push_back(std::move(entry));
    return TRUE;
  }
  auto found = findEntry(*menu, position, flags);
  if (!found.menu) {
    if (!(flags & MF_BYPOSITION)) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
    entries.push_back(std::move(entry));  // past the end appends, as the platform does
    return TRUE;
  }
  auto& target = found.menu->entries();
  target.insert(target.begin() + static_cast<long>(found.index), std::move(entry));
  return TRUE;
}

HANDHELD_API BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
  return InsertMenuW(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, idOrPopup, text);
}

HANDHELD_API BOOL WINAPI ModifyMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  MenuEntry entry;
  if (!menu || !makeEntry(*menu, flags, idOrPopup, text, entry)) return FALSE;
  auto found = findOrFail(*menu, position, flags);
  if (!found.menu) return FALSE;
  *found.entry() = std::move(entry);
  return TRUE;
}

// RemoveMenu keeps a pop-up alive (the caller took it over); DeleteMenu destroys it.
static BOOL removeEntry(HMENU handle, UINT position, UINT flags, bool destroyPopup) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu) return FALSE;
  auto found = findOrFail(*menu, position, flags);
  if (!found.menu) return FALSE;
  auto popup = found.entry()->popup;
  auto& entries = found.menu->entries();
  entries.erase(entries.begin() + static_cast<long>(found.index));
  if (popup && destroyPopup) destroyMenu(popup->handle());
  return TRUE;
}

HANDHELD_API BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return removeEntry(menu, position, flags, false);
}

HANDHELD_API BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return removeEntry(menu, position, flags, true);
}

HANDHELD_API HMENU WINAPI GetSubMenu(HMENU handle, int position) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu || position < 0 || static_cast<size_t>(position) >= menu->entries().size()) return nullptr;
  auto& popup = menu->entries()[static_cast<size_t>(position)].popup;
  return popup ? popup->handle() : nullptr;
}

HANDHELD_API int WINAPI GetMenuItemCount(HMENU handle) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  return menu ? static_cast<int>(menu->entries().size()) : -1;
}

HANDHELD_API UINT WINAPI GetMenuItemID(HMENU handle, int position) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu || position < 0 || static_cast<size_t>(position) >= menu->entries().size()) return static_cast<UINT>(-1);
  const auto& entry = menu->entries()[static_cast<size_t>(position)];
  return entry.popup ? static_cast<UINT>(-1) : entry.id;
}

HANDHELD_API UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu) return static_cast<UINT>(-1);
  auto found = findOrFail(*menu, item, flags);
  if (!found.menu) return static_cast<UINT>(-1);
  const MenuEntry& entry = *found.entry();
  if (entry.popup) return (static_cast<UINT>(entry.popup->entries().size()) << 8) | MF_POPUP | (entry.state & 0xFF);
  return entry.state;
}

// Changes some state bits of one entry; the previous state of those bits, or -1.
static DWORD changeState(HMENU handle, UINT item, UINT flags, UINT mask, UINT value) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu) return static_cast<DWORD>(-1);
  auto found = findOrFail(*menu, item, flags);
  if (!found.menu) return static_cast<DWORD>(-1);
  MenuEntry& entry = *found.entry();
  DWORD previous = entry.state & mask;
  entry.state = (entry.state & ~mask) | (value & mask);
  return previous;
}

HANDHELD_API BOOL WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  return static_cast<BOOL>(changeState(menu, item, enable & MF_BYPOSITION, MF_GRAYED | MF_DISABLED, enable));
}

HANDHELD_API DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check) {
  return changeState(menu, item, check & MF_BYPOSITION, MF_CHECKED, check);
}

HANDHELD_API BOOL WINAPI CheckMenuRadioItem(HMENU handle, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu) return FALSE;
  auto from = findEntry(*menu, first, flags), to = findEntry(*menu, last, flags), on = findEntry(*menu, check, flags);
  if (!from.menu || from.menu != to.menu || from.menu != on.menu || from.index > to.index) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (size_t i = from.index; i <= to.index; ++i) {
    auto& entry = from.menu->entries()[i];
    // The checked item is drawn with a dot, as the type MFT_RADIOCHECK asks.
    entry.state = i == on.index ? (entry.state | MF_CHECKED | MFT_RADIOCHECK) : (entry.state & ~MF_CHECKED);
  }
  return TRUE;
}

HANDHELD_API int WINAPI GetMenuStringW(HMENU handle, UINT item, LPWSTR text, int maxCount, UINT flags) {
  std::lock_guard guard(menuLock());
  auto menu = lookupMenu(handle);
  if (!menu) return 0;
  auto found = findOrFail(*menu, item, flags);
  if (!found.menu) return 0;
  const std::u16string& label = found.entry()->text;
  if (!text || maxCount <= 0) return static_cast<int>(label.size());
  int n = std::min(static_cast<int>(label.size()), maxCount - 1);
  std::copy_n(label.begin(), n, text);
  text[n] = 0;
  return n;
}
