// The device's word sort, as CompareStringW, lstrcmpW and lstrcmpiW use it: letters by their
// base letter (accented letters beside it, case as the last tie-break), digits before
// letters, symbols before digits; in a word sort the hyphen and the apostrophe count only
// when nothing else tells two strings apart. Covers ASCII, Latin-1 and Latin Extended-A
// letters; other letters order by their code unit after the Latin ones.
#pragma once

#include <cstdint>
#include <string_view>

namespace handheld::strings {

// The CompareStringW flags this collation knows (their values there).
enum CollationFlags : uint32_t {
  kIgnoreCase = 0x00000001,
  kIgnoreAccents = 0x00000002,
  kIgnoreSymbols = 0x00000004,
  kStringSort = 0x00001000,  // hyphen and apostrophe are symbols like the others
};

// -1, 0 or 1.
int collate(std::u16string_view first, std::u16string_view second, uint32_t flags);

}  // namespace handheld::strings
