// The Today items registered under HKLM\SOFTWARE\Microsoft\Today\Items, read in the order the
// screen shows them, and the settings the Today page writes back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace handheld::shell {

inline constexpr const char16_t* kTodayItemsKey = u"SOFTWARE\\Microsoft\\Today\\Items";
// The one built-in item: the date band the screen draws itself.
inline constexpr const char16_t* kDateItemName = u"Date";
inline constexpr DWORD kCustomItemType = 4;

struct TodayItemInfo {
  std::u16string name;  // the key name
  DWORD type = 0;
  DWORD order = 0;
  bool enabled = false;
  bool options = false;
  DWORD flags = 0;
  std::u16string dll;  // device path; empty for built-in items

  bool isDateBand() const { return type != kCustomItemType && name == kDateItemName; }
  bool operator==(const TodayItemInfo&) const = default;
};

// Every registered item, enabled or not, by "Order" and then by name. Values of the wrong type
// count as missing ("Enabled" missing: shown; "Order" missing: last).
std::vector<TodayItemInfo> readTodayItems();

// Writes "Enabled" and "Order" of each item; false when one of them could not be written.
bool writeTodayItemSettings(const std::vector<TodayItemInfo>& items);

}  // namespace handheld::shell
