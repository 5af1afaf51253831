// wsprintfW / wvsprintfW: the caller's buffer is taken to hold the platform's documented
// 1024 characters, and nothing is ever written beyond them.
#include <windows.h>

#include "strings/format.h"

namespace {
constexpr size_t kWsprintfCapacity = 1024;
}

HANDHELD_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list arguments) {
  return static_cast<int>(handheld::strings::formatW(buffer, kWsprintfCapacity, format, arguments));
}

HANDHELD_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = wvsprintfW(buffer, format, arguments);
  va_end(arguments);
  return length;
}
