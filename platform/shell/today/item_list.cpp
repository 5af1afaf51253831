#include "item_list.h"

#include <algorithm>

namespace handheld::shell {
namespace {

class Key {
 public:
  Key(HKEY parent, const std::u16string& path, REGSAM access) {
    if (RegOpenKeyExW(parent, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

  bool dword(const char16_t* name, DWORD& value) const {
    DWORD type = 0, stored = 0, size = sizeof(stored);
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(stored))
      return false;
    value = stored;
    return true;
  }
  std::u16string string(const char16_t* name) const {
    WCHAR text[MAX_PATH] = {};
    DWORD type = 0, size = sizeof(text) - sizeof(WCHAR);  // room for a terminator
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return {};
    return std::u16string(text);
  }
  bool setDword(const char16_t* name, DWORD value) const {
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
};

std::u16string itemPath(const std::u16string& name) {
  return std::u16string(kTodayItemsKey) + u"\\" + name;
}

}  // namespace

std::vector<TodayItemInfo> readTodayItems() {
  std::vector<TodayItemInfo> items;
  Key root(HKEY_LOCAL_MACHINE, kTodayItemsKey, KEY_READ);
  if (!root) return items;
  for (DWORD index = 0;; ++index) {
    WCHAR name[MAX_PATH];
    DWORD length = MAX_PATH;
    const LONG result = RegEnumKeyExW(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;
    TodayItemInfo item;
    item.name.assign(name, length);
    Key key(HKEY_LOCAL_MACHINE, itemPath(name), KEY_READ);
    if (!key) continue;
    DWORD value = 0;
    item.type = key.dword(u"Type", value) ? value : kCustomItemType;
    item.order = key.dword(u"Order", value) ? value : 0xFFFFFFFFu;
    item.enabled = key.dword(u"Enabled", value) ? value != 0 : true;
    item.options = key.dword(u"Options", value) && value != 0;
    item.flags = key.dword(u"Flags", value) ? value : 0;
    if (item.type == kCustomItemType) item.dll = key.string(u"DLL");
    items.push_back(std::move(item));
  }
  std::stable_sort(items.begin(), items.end(), [](const TodayItemInfo& a, const TodayItemInfo& b) {
    return a.order != b.order ? a.order < b.order : a.name < b.name;
  });
  return items;
}

bool writeTodayItemSettings(const std::vector<TodayItemInfo>& items) {
  bool all = true;
  for (const TodayItemInfo& item : items) {
    Key key(HKEY_LOCAL_MACHINE, itemPath(item.name), KEY_WRITE);
    all = key && key.setDword(u"Enabled", item.enabled ? 1 : 0) && key.setDword(u"Order", item.order) && all;
  }
  return all;
}

}  // namespace handheld::shell
