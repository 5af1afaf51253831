#include "input_panel/keyboard_layout.h"

#include <windows.h>

#include <array>
#include <string_view>

namespace handheld::shell {

namespace {

constexpr KeyCap character(int row, int column, char16_t plain, char16_t shifted) {
  return {row, column, 1, KeyKind::Character, plain, shifted, 0};
}
constexpr KeyCap special(int row, int column, int span, char16_t label, uint8_t virtualKey) {
  return {row, column, span, KeyKind::Virtual, label, label, virtualKey};
}

constexpr std::array<KeyCap, 53> makeKeys() {
  std::array<KeyCap, 53> keys{};
  size_t n = 0;
  auto row = [&](int r, std::u16string_view plain, std::u16string_view shifted, int firstColumn) {
    for (size_t i = 0; i < plain.size(); ++i)
      keys[n++] = character(r, firstColumn + static_cast<int>(i), plain[i], shifted[i]);
  };
  row(0, u"1234567890-=", u"!@#$%^&*()_+", 0);
  keys[n++] = special(0, 12, 1, u'\u2190', VK_BACK);
  row(1, u"qwertyuiop[]\\", u"QWERTYUIOP{}|", 0);
  row(2, u"asdfghjkl;'", u"ASDFGHJKL:\"", 0);
  keys[n++] = special(2, 11, 2, u'\u21B5', VK_RETURN);
  keys[n++] = {3, 0, 2, KeyKind::Shift, u'\u21E7', u'\u21E7', VK_SHIFT};
  row(3, u"zxcvbnm,./`", u"ZXCVBNM<>?~", 2);
  keys[n++] = special(4, 0, 2, u'\u25C4', VK_LEFT);
  keys[n++] = special(4, 2, 9, u' ', VK_SPACE);
  keys[n++] = special(4, 11, 2, u'\u25BA', VK_RIGHT);
  return keys;
}

constexpr auto kKeys = makeKeys();

}  // namespace

std::span<const KeyCap> keyboardKeys() { return kKeys; }

RECT keyRect(const KeyCap& key, int width, int height) {
  return RECT{key.column * width / kKeyboardColumns, key.row * height / kKeyboardRows,
              (key.column + key.span) * width / kKeyboardColumns, (key.row + 1) * height / kKeyboardRows};
}

std::optional<KeyCap> keyAt(int width, int height, POINT point) {
  if (width <= 0 || height <= 0) return std::nullopt;
  for (const KeyCap& key : kKeys) {
    const RECT r = keyRect(key, width, height);
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return key;
  }
  return std::nullopt;
}

}  // namespace handheld::shell
