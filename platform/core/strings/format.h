// The platform's printf-style formatter behind wsprintfW, usable with any buffer size.
//
// Conversions: %s (WCHAR text, NULL prints "(null)"), %S (narrow UTF-8 text), %c / %C (WCHAR /
// narrow character), %d %i %u %x %X, %f, %%. Flags '-' '0' '+' ' ' '#', a width, a precision
// (most characters for text, fewest digits for integers, decimals for %f, at most 100).
// Size prefixes: 'h' (16-bit integer, narrow text), 'l' or 'w' (32-bit integer, as on the
// device, wide text), 'I64' or 'll' (64-bit integer). An unknown conversion prints its letter.
#pragma once

#include <windef.h>

#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace handheld::strings {

// Where the conversions take their values from, in order of the format.
class FormatArguments {
 public:
  virtual ~FormatArguments() = default;
  virtual int32_t nextInt32() = 0;
  virtual int64_t nextInt64() = 0;
  virtual double nextDouble() = 0;
  virtual const WCHAR* nextWideText() = 0;
  virtual const char* nextNarrowText() = 0;
};

// Writes at most capacity - 1 characters and a terminator (nothing when capacity is 0); a
// cut never leaves half of a surrogate pair. Returns the characters written, terminator
// not counted.
size_t formatW(WCHAR* buffer, size_t capacity, const WCHAR* format, FormatArguments& arguments);
size_t formatW(WCHAR* buffer, size_t capacity, const WCHAR* format, va_list arguments);
size_t formatTo(WCHAR* buffer, size_t capacity, const WCHAR* format, ...);

}  // namespace handheld::strings
