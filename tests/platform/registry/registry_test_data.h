// Value data as the client sends it, for the registry tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace handheld::device::registry::test {

// UTF-16LE code units, with no terminator added.
inline std::vector<uint8_t> unitsData(std::u16string_view units) {
  std::vector<uint8_t> data;
  for (char16_t unit : units) {
    data.push_back(static_cast<uint8_t>(unit & 0xFF));
    data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return data;
}

// A REG_SZ as the platform stores it: the text and its terminator.
inline std::vector<uint8_t> stringData(std::u16string_view text) {
  std::vector<uint8_t> data = unitsData(text);
  data.insert(data.end(), {0, 0});
  return data;
}

inline std::vector<uint8_t> dwordData(DWORD value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

}  // namespace handheld::device::registry::test
