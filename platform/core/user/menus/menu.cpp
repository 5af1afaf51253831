#include "user/menus/menu.h"

#include <unordered_map>

namespace handheld::user {

namespace {

struct MenuTable {
  std::unordered_map<uintptr_t, std::shared_ptr<Menu>> menus;
  uintptr_t next = 0x51000000;  // apart from kernel, GDI and window handles
};

MenuTable& table() {
  static auto* instance = new MenuTable;
  return *instance;
}

}  // namespace

std::recursive_mutex& menuLock() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

std::shared_ptr<Menu> createMenu(bool popup) {
  std::lock_guard guard(menuLock());
  auto menu = std::make_shared<Menu>(popup);
  auto& t = table();
  while (t.menus.count(t.next)) t.next += 4;
  menu->handle_ = reinterpret_cast<HMENU>(t.next);
  t.menus.emplace(t.next, menu);
  t.next += 4;
  return menu;
}

std::shared_ptr<Menu> lookupMenu(HMENU handle) {
  std::lock_guard guard(menuLock());
  auto it = table().menus.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table().menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  return it->second;
}

bool destroyMenu(HMENU handle) {
  std::lock_guard guard(menuLock());
  auto it = table().menus.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table().menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  auto menu = it->second;
  table().menus.erase(it);
  for (auto& entry : menu->entries())
    if (entry.popup) destroyMenu(entry.popup->handle());
  return true;
}

FoundEntry findEntry(Menu& menu, UINT item, UINT flags) {
  auto& entries = menu.entries();
  if (flags & MF_BYPOSITION) return item < entries.size() ? FoundEntry{&menu, item} : FoundEntry{};
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].popup) {
      if (auto found = findEntry(*entries[i].popup, item, flags); found.menu) return found;
    } else if (entries[i].id == item && !(entries[i].state & MF_SEPARATOR)) {
      return {&menu, i};
    }
  }
  return {};
}

bool holds(const Menu& menu, const Menu& inner) {
  if (&menu == &inner) return true;
  for (const auto& entry : menu.entries())
    if (entry.popup && holds(*entry.popup, inner)) return true;
  return false;
}

}  // namespace handheld::user
