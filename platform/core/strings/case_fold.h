// Case-insensitive comparison of UTF-16 text, as lstrcmpiW and device file names use it.
#pragma once

#include <string_view>

namespace handheld::strings {

// The simple lower-case form of one UTF-16 code unit. Folded: ASCII, Latin-1 Supplement,
// Latin Extended-A, basic Greek and basic Cyrillic (the scripts the device's fonts carry);
// every other unit, including surrogates, is returned unchanged.
char16_t foldCase(char16_t unit);

// Orders by folded code unit, then by length: -1, 0 or 1. Not a linguistic collation.
int compareNoCase(std::u16string_view first, std::u16string_view second);
bool equalNoCase(std::u16string_view first, std::u16string_view second);

}  // namespace handheld::strings
