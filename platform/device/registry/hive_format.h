// The hive as text: UTF-8 in the familiar registry export form, so a person can read and
// diff it.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C5]
//   @="\\Program Files\\Pinnotes\\Pinnotes.exe"
//   "Name"="Button 5"
//   "Flags"=dword:00000000
//   "Blob"=hex:01,02,ff
//
//   ; end of registry
//
// Strings escape \\ and \". REG_SZ is written as a string when its data is exactly one
// well-formed UTF-16 string without control characters plus its terminator; any other data
// is written as hex(1) so that it comes back byte for byte. REG_DWORD is dword:, REG_BINARY
// hex:, every other type hex(<type in hex>): (REG_NONE hex(0), REG_EXPAND_SZ hex(2),
// REG_MULTI_SZ hex(7)). Long hex data continues on the next line after a trailing
// backslash. Keys come in enumeration order, each one written even when empty; a root
// appears only when it holds values. Lines starting with ';' are comments. The last line is
// the end marker: a hive without it was cut short.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "registry/registry_store.h"

namespace handheld::device::registry {

inline constexpr std::string_view kHiveHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kHiveEndMarker = "; end of registry";

std::string writeHive(const RegistryStore& store);

struct HiveExport {
  LONG status = ERROR_SUCCESS;  // ERROR_FILE_NOT_FOUND or ERROR_INVALID_PARAMETER for the path
  std::string text{};
};

// The key at `path` and everything below it, as a hive of its own (names in their stored
// case).
HiveExport exportKey(const RegistryStore& store, Root root, std::u16string_view path);

struct HiveError {
  std::size_t line = 0;  // 1-based
  std::string reason;
};

// Adds the hive's keys and values to `store`, stopping at the first error. Every key and
// value goes through the store's own checks and limits, so hostile text cannot make it
// allocate more than the store may hold.
std::optional<HiveError> parseHive(std::string_view text, RegistryStore& store);

}  // namespace handheld::device::registry
