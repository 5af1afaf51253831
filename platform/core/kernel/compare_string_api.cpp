// CompareStringW over the device's one collation (strings/collation.h).
#include <windows.h>

#include <string_view>

#include "strings/collation.h"

namespace {

std::u16string_view viewOf(LPCWSTR text, int length) {
  return length < 0 ? std::u16string_view(text) : std::u16string_view(text, static_cast<size_t>(length));
}

}  // namespace

HANDHELD_API int WINAPI CompareStringW(LCID, DWORD flags, LPCWSTR first, int firstLength,
                                       LPCWSTR second, int secondLength) {
  constexpr DWORD known = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS | SORT_STRINGSORT;
  if (flags & ~known) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (!first || !second) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return CSTR_EQUAL +
         handheld::strings::collate(viewOf(first, firstLength), viewOf(second, secondLength), flags);
}
