// The platform's C string functions over WCHAR. A NULL argument never faults: lengths are 0,
// copies do nothing and return NULL, and NULL sorts before every string.
#include <windows.h>

#include <cstdint>
#include <limits>
#include <string_view>

#include "strings/collation.h"

namespace {

std::u16string_view viewOf(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

// The word sort of CompareStringW (strings/collation.h), not an ordinal comparison.
int compareNullFirst(LPCWSTR first, LPCWSTR second, uint32_t flags) {
  if (!first || !second) return first == second ? 0 : (first ? 1 : -1);
  return handheld::strings::collate(viewOf(first), viewOf(second), flags);
}

bool isBlank(WCHAR unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); }

// Leading blanks, an optional sign, decimal digits up to the first other character; a value
// beyond [minimum, maximum] saturates, as the platform's runtime documents.
int64_t parseDecimal(const WCHAR* text, int64_t minimum, int64_t maximum) {
  if (!text) return 0;
  while (isBlank(*text)) ++text;
  const bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;
  const int64_t limit = negative ? -minimum : maximum;
  int64_t magnitude = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    magnitude = magnitude * 10 + (*text - u'0');
    if (magnitude >= limit) {
      magnitude = limit;  // keep consuming digits; the result stays saturated
    }
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace

HANDHELD_API int WINAPI lstrlenW(LPCWSTR string) { return static_cast<int>(viewOf(string).size()); }

HANDHELD_API LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source) {
  if (!destination || !source) return nullptr;
  const auto text = viewOf(source);
  text.copy(destination, text.size());
  destination[text.size()] = u'\0';
  return destination;
}

HANDHELD_API LPWSTR WINAPI lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength) {
  if (!destination) return nullptr;
  if (maxLength <= 0) return destination;
  // Looks at no more than maxLength - 1 source units: the source need not be terminated.
  const size_t room = static_cast<size_t>(maxLength) - 1;
  size_t copied = 0;
  if (source) {
    for (; copied < room && source[copied] != u'\0'; ++copied) destination[copied] = source[copied];
  }
  destination[copied] = u'\0';
  return destination;
}

HANDHELD_API LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source) {
  if (!destination || !source) return nullptr;
  lstrcpyW(destination + lstrlenW(destination), source);
  return destination;
}

HANDHELD_API int WINAPI lstrcmpW(LPCWSTR first, LPCWSTR second) {
  return compareNullFirst(first, second, 0);
}

HANDHELD_API int WINAPI lstrcmpiW(LPCWSTR first, LPCWSTR second) {
  return compareNullFirst(first, second, handheld::strings::kIgnoreCase);
}

HANDHELD_API int _wtoi(const WCHAR* string) {
  return static_cast<int>(
      parseDecimal(string, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// long is 32 bits on the device, so the device's range applies even on a 64-bit host.
HANDHELD_API long _wtol(const WCHAR* string) {
  return static_cast<long>(
      parseDecimal(string, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}
