// Menus as data: items with their command, text, state and pop-ups, named by HMENU handles.
// Showing a menu (TrackPopupMenuEx, menu bars) builds on these.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace handheld::user {

class Menu;

struct MenuEntry {
  UINT id = 0;
  UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_MENUBREAK, MFT_RADIOCHECK, ...
  std::u16string text;
  std::shared_ptr<Menu> popup;
  ULONG_PTR data = 0;  // MIIM_DATA
  HBITMAP checkedMark = nullptr, uncheckedMark = nullptr;  // MIIM_CHECKMARKS, kept for the caller
};

class Menu {
 public:
  explicit Menu(bool popup) : popup_(popup) {}
  HMENU handle() const { return handle_; }
  bool isPopup() const { return popup_; }
  std::vector<MenuEntry>& entries() { return entries_; }
  const std::vector<MenuEntry>& entries() const { return entries_; }

 private:
  friend std::shared_ptr<Menu> createMenu(bool popup);
  bool popup_;
  HMENU handle_ = nullptr;
  std::vector<MenuEntry> entries_;
};

// All menus of the process are guarded by one lock: they are small and touched rarely.
std::recursive_mutex& menuLock();
std::shared_ptr<Menu> createMenu(bool popup);
// Null with ERROR_INVALID_MENU_HANDLE for a bad or destroyed handle.
std::shared_ptr<Menu> lookupMenu(HMENU handle);
// Destroys the menu and, with it, the pop-ups it holds.
bool destroyMenu(HMENU handle);

// The entry a position or a command names (by command: searched through pop-ups too), with
// the menu holding it; null when there is none.
struct FoundEntry {
  Menu* menu = nullptr;
  size_t index = 0;
  MenuEntry* entry() const { return &menu->entries()[index]; }
};
FoundEntry findEntry(Menu& menu, UINT item, UINT flags);
// Whether `inner` is `menu` or one of its pop-ups at any depth (a pop-up holding it would loop).
bool holds(const Menu& menu, const Menu& inner);

}  // namespace handheld::user
