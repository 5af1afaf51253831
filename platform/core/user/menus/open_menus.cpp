#include "user/menus/open_menus.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace handheld::user {

namespace {

struct Published {
  std::mutex lock;
  std::map<const void*, std::vector<ipc::MenuItemRecord>> items;
};

Published& published() {
  static auto* instance = new Published;
  return *instance;
}

}  // namespace

void publishMenuItems(const void* tracking, std::vector<ipc::MenuItemRecord> items) {
  auto& p = published();
  std::lock_guard guard(p.lock);
  if (items.empty()) p.items.erase(tracking);
  else p.items[tracking] = std::move(items);
}

std::vector<ipc::MenuItemRecord> openMenuItems(const std::vector<ipc::WindowRecord>& windows) {
  auto& p = published();
  std::lock_guard guard(p.lock);
  std::vector<ipc::MenuItemRecord> out;
  for (const auto& [tracking, items] : p.items)
    for (const auto& item : items)
      if (std::any_of(windows.begin(), windows.end(), [&](const auto& w) { return w.handle == item.window; }))
        out.push_back(item);
  return out;
}

}  // namespace handheld::user
