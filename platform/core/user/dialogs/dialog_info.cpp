#include "user/dialogs/dialog_info.h"

#include <map>
#include <mutex>

namespace handheld::user::dialogs {

namespace {

struct Table {
  std::mutex lock;
  std::map<HWND, DialogInfo> dialogs;
};

Table& table() {
  static auto* instance = new Table;  // outlives static destructors: threads may still run
  return *instance;
}

}  // namespace

bool isDialog(HWND dialog) { return dialogInfo(dialog).has_value(); }

void addDialog(HWND dialog, const DialogInfo& info) {
  std::lock_guard guard(table().lock);
  table().dialogs[dialog] = info;
}

bool changeDialog(HWND dialog, const std::function<void(DialogInfo&)>& change) {
  std::lock_guard guard(table().lock);
  auto it = table().dialogs.find(dialog);
  if (it == table().dialogs.end()) return false;
  change(it->second);
  return true;
}

std::optional<DialogInfo> dialogInfo(HWND dialog) {
  std::lock_guard guard(table().lock);
  auto it = table().dialogs.find(dialog);
  if (it == table().dialogs.end()) return std::nullopt;
  return it->second;
}

std::optional<DialogInfo> removeDialog(HWND dialog) {
  std::lock_guard guard(table().lock);
  auto it = table().dialogs.find(dialog);
  if (it == table().dialogs.end()) return std::nullopt;
  DialogInfo info = it->second;
  table().dialogs.erase(it);
  return info;
}

}  // namespace handheld::user::dialogs
