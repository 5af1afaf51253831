// Names on the device: which characters a name may hold, how names compare and match find
// patterns, and how a device name is spelled on the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "strings/case_fold.h"

namespace handheld::fs {

// The device's own state folder in the root (<root>/.device): never reachable or listed.
inline constexpr std::u16string_view kDeviceStateName = u".device";

// Whether `unit` may appear in a name: not a control character, not < > : " | ? * \ /.
// Inline: every unit of every path passes through it.
inline bool isNameUnit(char16_t unit) {
  if (unit < 0x20) return false;
  switch (unit) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
    case u'\\':
    case u'/': return false;
    default: return true;
  }
}
inline bool isWildcard(char16_t unit) { return unit == u'*' || unit == u'?'; }

// Case-insensitive, as the device compares names; the stored case is kept elsewhere.
bool sameName(std::u16string_view first, std::u16string_view second);
// One unit as sameName folds it (strings::foldCase), with ASCII folded inline: listings fold
// every unit of every name.
inline char16_t foldUnit(char16_t unit) {
  if (unit >= 0x80) return strings::foldCase(unit);
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// `*` matches any run of units, `?` exactly one, both case-insensitively; "*.*" matches every
// name, including names without a dot.
bool matchesPattern(std::u16string_view pattern, std::u16string_view name);

// The host spelling (UTF-8) of a device name; nothing for an unpaired surrogate.
std::optional<std::string> hostName(std::u16string_view deviceName);
// Appends it to `out` instead; false (and `out` unspecified) for an unpaired surrogate.
bool appendHostName(std::u16string_view deviceName, std::string& out);
// The device spelling of a host name; nothing when no device path could name it (not UTF-8,
// a unit a name may not hold, ".", "..", or longer than a device name can be).
std::optional<std::u16string> deviceName(std::string_view hostName);

}  // namespace handheld::fs
