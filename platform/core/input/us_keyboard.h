// The device keyboard is a US layout: which character a virtual key types under the shift,
// caps-lock and control state, and which key types a character. The device server attaches
// the character to each key it routes (computed from the key state at that moment);
// TranslateMessage uses the same table for keys that programs post themselves.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace handheld::input {

struct KeyModifiers {
  bool shift = false;
  bool capsLock = false;
  bool control = false;
};

struct PunctuationKey {
  uint8_t key;
  char16_t plain;
  char16_t shifted;
};

inline constexpr std::array<PunctuationKey, 11> kPunctuationKeys{{
    {VK_OEM_1, u';', u':'}, {VK_OEM_PLUS, u'=', u'+'}, {VK_OEM_COMMA, u',', u'<'},
    {VK_OEM_MINUS, u'-', u'_'}, {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},
    {VK_OEM_3, u'`', u'~'}, {VK_OEM_4, u'[', u'{'}, {VK_OEM_5, u'\\', u'|'},
    {VK_OEM_6, u']', u'}'}, {VK_OEM_7, u'\'', u'"'},
}};

inline constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

// The character the key types, or 0 when it types none.
constexpr char16_t characterForKey(unsigned key, KeyModifiers modifiers) {
  if (key >= 'A' && key <= 'Z') {
    if (modifiers.control) return static_cast<char16_t>(key - 'A' + 1);
    const bool upper = modifiers.shift != modifiers.capsLock;
    return static_cast<char16_t>(upper ? key : key - 'A' + 'a');
  }
  if (key >= '0' && key <= '9')
    return modifiers.shift ? kShiftedDigits[key - '0'] : static_cast<char16_t>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
  switch (key) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_BACK: return 8;
    case VK_TAB: return u'\t';
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DECIMAL: return u'.';
    case VK_DIVIDE: return u'/';
    default: break;
  }
  for (const PunctuationKey& p : kPunctuationKeys)
    if (p.key == key) return modifiers.shift ? p.shifted : p.plain;
  return 0;
}

struct KeyStroke {
  uint8_t key;
  bool shift;
};

// The key that types a character (with shift or not, caps lock off), or nullopt when no key
// of the layout types it. A line feed is typed with the return key.
constexpr std::optional<KeyStroke> keyForCharacter(char16_t c) {
  if (c >= u'a' && c <= u'z') return KeyStroke{static_cast<uint8_t>(c - u'a' + 'A'), false};
  if (c >= u'A' && c <= u'Z') return KeyStroke{static_cast<uint8_t>(c), true};
  if (c >= u'0' && c <= u'9') return KeyStroke{static_cast<uint8_t>(c), false};
  for (int digit = 0; digit < 10; ++digit)
    if (kShiftedDigits[digit] == c) return KeyStroke{static_cast<uint8_t>('0' + digit), true};
  switch (c) {
    case u' ': return KeyStroke{VK_SPACE, false};
    case u'\r':
    case u'\n': return KeyStroke{VK_RETURN, false};
    case u'\t': return KeyStroke{VK_TAB, false};
    case 8: return KeyStroke{VK_BACK, false};
    case 27: return KeyStroke{VK_ESCAPE, false};
    default: break;
  }
  for (const PunctuationKey& p : kPunctuationKeys) {
    if (p.plain == c) return KeyStroke{p.key, false};
    if (p.shifted == c) return KeyStroke{p.key, true};
  }
  return std::nullopt;
}

}  // namespace handheld::input
