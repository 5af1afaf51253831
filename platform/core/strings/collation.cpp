#include "strings/collation.h"

#include <string_view>

#include "strings/case_fold.h"

namespace handheld::strings {
namespace {

// Primary order of the groups: symbols, digits, Latin letters, everything else.
enum Group : uint8_t { kSymbol = 1, kDigit = 2, kLatin = 3, kOther = 4 };

struct Key {
  Group group = kSymbol;
  uint16_t primary = 0;
  uint16_t accent = 0;  // 0 for a plain letter; else the accented letter's small form
  bool upper = false;
};

// The base letters of U+00C0 to U+017F: a letter; a digit naming a ligature of two (below);
// '*' for a character that is no letter.
constexpr std::string_view kLatinBases =
    "aaaaaa1ceeeeiiii"  // U+00C0
    "dnooooo*ouuuuy23"  // U+00D0
    "aaaaaa1ceeeeiiii"  // U+00E0
    "dnooooo*ouuuuy2y"  // U+00F0
    "aaaaaacccccccc"    // U+0100 A with macron, breve, ogonek; C
    "ddddeeeeeeeeee"    // U+010E D with caron, stroke; E
    "gggggggghhhh"      // U+011C G; H
    "iiiiiiiiii44jjkkk" // U+0128 I (with the dotless i), IJ, J, K and kra
    "llllllllllnnnnnnnnn"  // U+0139 L; N (with 'n and eng)
    "oooooo55rrrrrr"    // U+014C O, OE, R
    "sssssssstttttt"    // U+015A S; T
    "uuuuuuuuuuuuwwyyy" // U+0168 U; W; Y
    "zzzzzzs";          // U+0179 Z; long s
static_assert(kLatinBases.size() == 0x180 - 0xC0);
constexpr std::string_view kLigatures[] = {"ae", "th", "ss", "ij", "oe"};  // '1' to '5'

Key letter(char base, char16_t unit) {
  const char16_t small = foldCase(unit);
  const bool plain = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
  return Key{kLatin, static_cast<uint16_t>(base - 'a'), static_cast<uint16_t>(plain ? 0 : small),
             small != unit};
}

// The keys of one code unit: none (dropped), one, or two for a ligature.
int keysOf(char16_t unit, Key keys[2]) {
  if (unit >= u'0' && unit <= u'9') {
    keys[0] = Key{kDigit, static_cast<uint16_t>(unit - u'0'), 0, false};
    return 1;
  }
  if (unit == u'\u00B9' || unit == u'\u00B2' || unit == u'\u00B3') {  // superscript digits
    keys[0] = Key{kDigit, static_cast<uint16_t>(unit == u'\u00B9' ? 1 : unit - u'\u00B0'), unit, false};
    return 1;
  }
  if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z')) {
    keys[0] = letter(static_cast<char>(foldCase(unit)), unit);
    return 1;
  }
  if (unit == u'\u00AA' || unit == u'\u00BA') {  // ordinal indicators
    keys[0] = letter(unit == u'\u00AA' ? 'a' : 'o', unit);
    return 1;
  }
  if (unit >= u'\u00C0' && unit < u'\u0180') {
    const char base = kLatinBases[unit - 0xC0];
    if (base >= '1' && base <= '5') {
      const std::string_view pair = kLigatures[base - '1'];
      keys[0] = letter(pair[0], unit);
      keys[1] = letter(pair[1], unit);
      return 2;
    }
    if (base != '*') {
      keys[0] = letter(base, unit);
      return 1;
    }
  }
  // Punctuation, currency, arrows, mathematical and other symbols; CJK punctuation.
  if (unit < u'\u0180' || (unit >= u'\u2000' && unit <= u'\u2BFF') || (unit >= u'\u3000' && unit <= u'\u303F')) {
    keys[0] = Key{kSymbol, unit, 0, false};
    return 1;
  }
  const char16_t small = foldCase(unit);
  keys[0] = Key{kOther, small, 0, small != unit};
  return 1;
}

// In a word sort the hyphen and the apostrophe keep "coop" and "co-op" together.
bool isWordSortSpecial(char16_t unit, uint32_t flags) {
  return !(flags & kStringSort) && (unit == u'-' || unit == u'\'');
}

// The keys of a text in order, leaving out what the flags drop and the word-sort specials.
class KeyStream {
 public:
  KeyStream(std::u16string_view text, uint32_t flags) : text_(text), flags_(flags) {}

  bool next(Key& key) {
    if (pending_ < count_) {
      key = keys_[pending_++];
      return true;
    }
    while (position_ < text_.size()) {
      const char16_t unit = text_[position_++];
      if (isWordSortSpecial(unit, flags_)) continue;
      count_ = keysOf(unit, keys_);
      if ((flags_ & kIgnoreSymbols) && keys_[0].group == kSymbol) continue;
      key = keys_[0];
      pending_ = 1;
      return true;
    }
    return false;
  }

 private:
  std::u16string_view text_;
  uint32_t flags_;
  size_t position_ = 0;
  Key keys_[2];
  int count_ = 0;
  int pending_ = 0;
};

template <class Weight>
int compareLevel(std::u16string_view first, std::u16string_view second, uint32_t flags, Weight weight) {
  KeyStream a(first, flags);
  KeyStream b(second, flags);
  Key x;
  Key y;
  while (true) {
    const bool hasX = a.next(x);
    const bool hasY = b.next(y);
    if (!hasX || !hasY) return hasX == hasY ? 0 : (hasX ? 1 : -1);
    const auto wx = weight(x);
    const auto wy = weight(y);
    if (wx != wy) return wx < wy ? -1 : 1;
  }
}

// The last level of a word sort: where hyphens and apostrophes stand, and which.
int compareSpecials(std::u16string_view first, std::u16string_view second) {
  size_t i = 0;
  size_t j = 0;
  while (true) {
    while (i < first.size() && !isWordSortSpecial(first[i], 0)) ++i;
    while (j < second.size() && !isWordSortSpecial(second[j], 0)) ++j;
    const bool hasI = i < first.size();
    const bool hasJ = j < second.size();
    if (!hasI || !hasJ) return hasI == hasJ ? 0 : (hasI ? 1 : -1);
    if (i != j) return i < j ? -1 : 1;
    if (first[i] != second[j]) return first[i] < second[j] ? -1 : 1;
    ++i;
    ++j;
  }
}

}  // namespace

int collate(std::u16string_view first, std::u16string_view second, uint32_t flags) {
  if (first == second) return 0;
  if (int order = compareLevel(first, second, flags,
                               [](const Key& k) { return static_cast<uint32_t>(k.group) << 16 | k.primary; }))
    return order;
  if (!(flags & kIgnoreAccents))
    if (int order = compareLevel(first, second, flags, [](const Key& k) { return k.accent; })) return order;
  if (!(flags & kIgnoreCase))
    if (int order = compareLevel(first, second, flags, [](const Key& k) { return k.upper; })) return order;
  if (!(flags & (kIgnoreSymbols | kStringSort))) return compareSpecials(first, second);
  return 0;
}

}  // namespace handheld::strings
