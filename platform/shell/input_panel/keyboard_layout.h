// The on-screen keyboard's keys: five rows on a grid of thirteen columns, laid out to any
// panel size, so that it reads the same at QVGA and VGA. Pure geometry, without windows.
#pragma once

#include <windef.h>

#include <cstdint>
#include <optional>
#include <span>

namespace handheld::shell {

enum class KeyKind : uint8_t { Character, Virtual, Shift };

struct KeyCap {
  int row;
  int column;  // first grid column
  int span;    // columns covered
  KeyKind kind;
  char16_t plain;    // Character: typed without shift; otherwise the label
  char16_t shifted;  // Character: typed with shift
  uint8_t virtualKey;  // Virtual: the key pressed
};

inline constexpr int kKeyboardRows = 5;
inline constexpr int kKeyboardColumns = 13;

std::span<const KeyCap> keyboardKeys();
// Where a key sits in a panel of this size (client coordinates).
RECT keyRect(const KeyCap& key, int width, int height);
// The key under a point of the panel, if any.
std::optional<KeyCap> keyAt(int width, int height, POINT point);

}  // namespace handheld::shell
