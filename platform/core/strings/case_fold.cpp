#include "strings/case_fold.h"

#include <algorithm>

namespace handheld::strings {
namespace {

bool inRange(char16_t unit, char16_t first, char16_t last) { return unit >= first && unit <= last; }

// Latin Extended-A pairs capital and small letters on neighbouring code points; which of
// the two is the capital flips twice inside the block.
char16_t foldLatinExtendedA(char16_t unit) {
  if (unit == u'\u0130') return u'i';  // capital I with dot above
  if (unit == u'\u0178') return u'\u00FF';  // capital Y with diaeresis lives in Latin-1
  const bool even = unit % 2 == 0;
  if (inRange(unit, u'\u0100', u'\u012F') || inRange(unit, u'\u0132', u'\u0137') ||
      inRange(unit, u'\u014A', u'\u0177')) {
    return even ? static_cast<char16_t>(unit + 1) : unit;
  }
  if (inRange(unit, u'\u0139', u'\u0148') || inRange(unit, u'\u0179', u'\u017E')) {
    return even ? unit : static_cast<char16_t>(unit + 1);
  }
  return unit;
}

char16_t foldGreek(char16_t unit) {
  switch (unit) {
    case u'\u0386': return u'\u03AC';
    case u'\u038C': return u'\u03CC';
    case u'\u038E': return u'\u03CD';
    case u'\u038F': return u'\u03CE';
    default: break;
  }
  if (inRange(unit, u'\u0388', u'\u038A')) return static_cast<char16_t>(unit + 0x25);
  if (inRange(unit, u'\u0391', u'\u03AB') && unit != u'\u03A2') {
    return static_cast<char16_t>(unit + 0x20);
  }
  return unit;
}

char16_t foldCyrillic(char16_t unit) {
  if (inRange(unit, u'\u0400', u'\u040F')) return static_cast<char16_t>(unit + 0x50);
  if (inRange(unit, u'\u0410', u'\u042F')) return static_cast<char16_t>(unit + 0x20);
  return unit;
}

}  // namespace

char16_t foldCase(char16_t unit) {
  if (unit < 0x80) {
    return inRange(unit, u'A', u'Z') ? static_cast<char16_t>(unit + 0x20) : unit;
  }
  if (inRange(unit, u'\u00C0', u'\u00DE') && unit != u'\u00D7') {
    return static_cast<char16_t>(unit + 0x20);
  }
  if (inRange(unit, u'\u0100', u'\u017F')) return foldLatinExtendedA(unit);
  if (inRange(unit, u'\u0386', u'\u03AB')) return foldGreek(unit);
  if (inRange(unit, u'\u0400', u'\u042F')) return foldCyrillic(unit);
  return unit;
}

int compareNoCase(std::u16string_view first, std::u16string_view second) {
  const size_t common = std::min(first.size(), second.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t a = foldCase(first[i]);
    const char16_t b = foldCase(second[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (first.size() == second.size()) return 0;
  return first.size() < second.size() ? -1 : 1;
}

bool equalNoCase(std::u16string_view first, std::u16string_view second) {
  return first.size() == second.size() && compareNoCase(first, second) == 0;
}

}  // namespace handheld::strings
