#include "strings/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "strings/bounded_writer.h"
#include "strings/utf.h"

namespace handheld::strings {
namespace {

// More decimals than this say nothing about a double; the cap also bounds the scratch text.
constexpr size_t kMaxFloatPrecision = 100;
constexpr std::u16string_view kNullText = u"(null)";

enum class SizePrefix { None, Short, Long, Int64 };

struct Spec {
  bool leftAlign = false;
  bool zeroPad = false;
  bool plusSign = false;
  bool spaceSign = false;
  bool alternate = false;
  size_t width = 0;
  std::optional<size_t> precision;
  SizePrefix size = SizePrefix::None;
  char16_t type = 0;
};

class VaListArguments final : public FormatArguments {
 public:
  explicit VaListArguments(va_list arguments) { va_copy(arguments_, arguments); }
  ~VaListArguments() override { va_end(arguments_); }
  VaListArguments(const VaListArguments&) = delete;
  VaListArguments& operator=(const VaListArguments&) = delete;

  int32_t nextInt32() override { return va_arg(arguments_, int32_t); }
  int64_t nextInt64() override { return va_arg(arguments_, int64_t); }
  double nextDouble() override { return va_arg(arguments_, double); }
  const WCHAR* nextWideText() override { return va_arg(arguments_, const WCHAR*); }
  const char* nextNarrowText() override { return va_arg(arguments_, const char*); }

 private:
  va_list arguments_;
};

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

// A run of digits, saturating far beyond any buffer so that huge widths cannot overflow.
size_t parseCount(const WCHAR*& cursor) {
  constexpr size_t kLimit = std::numeric_limits<int32_t>::max();
  size_t value = 0;
  for (; isDigit(*cursor); ++cursor) value = std::min(kLimit, value * 10 + (*cursor - u'0'));
  return value;
}

// Reads "[flags][width][.precision][size]type" after a '%'. Returns false when the format
// ends inside the conversion.
bool parseSpec(const WCHAR*& cursor, Spec& spec) {
  for (;; ++cursor) {
    if (*cursor == u'-') spec.leftAlign = true;
    else if (*cursor == u'0') spec.zeroPad = true;
    else if (*cursor == u'+') spec.plusSign = true;
    else if (*cursor == u' ') spec.spaceSign = true;
    else if (*cursor == u'#') spec.alternate = true;
    else break;
  }
  spec.width = parseCount(cursor);
  if (*cursor == u'.') {
    ++cursor;
    spec.precision = parseCount(cursor);
  }
  if (*cursor == u'h') {
    spec.size = SizePrefix::Short;
    ++cursor;
  } else if (cursor[0] == u'l' && cursor[1] == u'l') {
    spec.size = SizePrefix::Int64;
    cursor += 2;
  } else if (*cursor == u'l' || *cursor == u'w') {
    spec.size = SizePrefix::Long;
    ++cursor;
  } else if (cursor[0] == u'I' && cursor[1] == u'6' && cursor[2] == u'4') {
    spec.size = SizePrefix::Int64;
    cursor += 3;
  }
  if (*cursor == u'\0') return false;
  spec.type = *cursor++;
  return true;
}

// Lays out prefix (sign or 0x), leading zeros and body within the field width.
void emitField(BoundedWriter& out, const Spec& spec, std::u16string_view prefix, size_t zeros,
               std::u16string_view body, bool zeroPadAllowed) {
  const size_t length = prefix.size() + zeros + body.size();
  const size_t padding = spec.width > length ? spec.width - length : 0;
  if (spec.leftAlign) {
    out.append(prefix);
    out.repeat(u'0', zeros);
    out.append(body);
    out.repeat(u' ', padding);
  } else if (spec.zeroPad && zeroPadAllowed) {
    out.append(prefix);
    out.repeat(u'0', zeros + padding);
    out.append(body);
  } else {
    out.repeat(u' ', padding);
    out.append(prefix);
    out.repeat(u'0', zeros);
    out.append(body);
  }
}

std::u16string_view signPrefix(const Spec& spec, bool negative) {
  if (negative) return u"-";
  if (spec.plusSign) return u"+";
  if (spec.spaceSign) return u" ";
  return {};
}

void formatInteger(BoundedWriter& out, const Spec& spec, FormatArguments& arguments) {
  const bool isSigned = spec.type == u'd' || spec.type == u'i';
  int64_t raw = spec.size == SizePrefix::Int64 ? arguments.nextInt64() : arguments.nextInt32();
  if (spec.size == SizePrefix::Short) {
    raw = isSigned ? static_cast<int16_t>(raw) : static_cast<uint16_t>(raw);
  } else if (spec.size != SizePrefix::Int64 && !isSigned) {
    raw = static_cast<uint32_t>(raw);
  }
  const bool negative = isSigned && raw < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);

  const bool hex = spec.type == u'x' || spec.type == u'X';
  const char16_t* digitSet = spec.type == u'X' ? u"0123456789ABCDEF" : u"0123456789abcdef";
  const unsigned base = hex ? 16 : 10;
  char16_t digits[24];
  char16_t* end = digits + std::size(digits);
  char16_t* begin = end;
  // Precision 0 prints nothing at all for the value 0.
  if (magnitude != 0 || spec.precision.value_or(1) != 0) {
    do {
      *--begin = digitSet[magnitude % base];
      magnitude /= base;
    } while (magnitude != 0);
  }
  const std::u16string_view body(begin, static_cast<size_t>(end - begin));
  const size_t zeros = spec.precision && *spec.precision > body.size() ? *spec.precision - body.size() : 0;

  std::u16string_view prefix;
  if (isSigned) {
    prefix = signPrefix(spec, negative);
  } else if (hex && spec.alternate && !body.empty() && body != u"0") {
    prefix = spec.type == u'X' ? u"0X" : u"0x";
  }
  emitField(out, spec, prefix, zeros, body, !spec.precision);
}

void formatFloat(BoundedWriter& out, const Spec& spec, FormatArguments& arguments) {
  const double value = arguments.nextDouble();
  const int precision = static_cast<int>(std::min(spec.precision.value_or(6), kMaxFloatPrecision));
  char text[std::numeric_limits<double>::max_exponent10 + kMaxFloatPrecision + 8];
  const auto result = std::to_chars(text, text + sizeof(text), std::fabs(value), std::chars_format::fixed, precision);
  std::u16string body(text, result.ptr);  // ASCII only: digits, '.', "inf", "nan"
  emitField(out, spec, signPrefix(spec, std::signbit(value)), 0, body, std::isfinite(value));
}

void formatText(BoundedWriter& out, const Spec& spec, std::u16string_view text) {
  emitField(out, spec, {}, 0, text.substr(0, spec.precision.value_or(text.size())), false);
}

void formatWideText(BoundedWriter& out, const Spec& spec, const WCHAR* text) {
  if (!text) return formatText(out, spec, kNullText);
  // With a precision the text need not be terminated: look no further than it.
  size_t length = 0;
  const size_t limit = spec.precision.value_or(std::numeric_limits<size_t>::max());
  while (length < limit && text[length] != u'\0') ++length;
  formatText(out, spec, std::u16string_view(text, length));
}

void formatNarrowText(BoundedWriter& out, const Spec& spec, const char* text) {
  if (!text) return formatText(out, spec, kNullText);
  // With a precision the text need not be terminated: decode no further than it.
  formatText(out, spec, fromUtf8Prefix(text, spec.precision.value_or(std::u16string::npos)));
}

char16_t narrowCharacter(int32_t value) {
  const auto byte = static_cast<uint8_t>(value);
  return byte < 0x80 ? byte : u'\uFFFD';  // a lone byte above 7F is no UTF-8 character
}

void formatCharacter(BoundedWriter& out, const Spec& spec, FormatArguments& arguments) {
  const bool narrow = spec.size == SizePrefix::Short || (spec.type == u'C' && spec.size != SizePrefix::Long);
  const int32_t value = arguments.nextInt32();
  const char16_t unit = narrow ? narrowCharacter(value) : static_cast<char16_t>(value);
  emitField(out, spec, {}, 0, std::u16string_view(&unit, 1), false);
}

void formatConversion(BoundedWriter& out, const Spec& spec, FormatArguments& arguments) {
  switch (spec.type) {
    case u'd':
    case u'i':
    case u'u':
    case u'x':
    case u'X':
      return formatInteger(out, spec, arguments);
    case u'f':
      return formatFloat(out, spec, arguments);
    case u'c':
    case u'C':
      return formatCharacter(out, spec, arguments);
    case u's':
    case u'S': {
      const bool narrow = spec.size == SizePrefix::Short || (spec.type == u'S' && spec.size != SizePrefix::Long);
      if (narrow) return formatNarrowText(out, spec, arguments.nextNarrowText());
      return formatWideText(out, spec, arguments.nextWideText());
    }
    default:
      return out.put(spec.type);  // "%%" and unknown letters print themselves
  }
}

}  // namespace

size_t formatW(WCHAR* buffer, size_t capacity, const WCHAR* format, FormatArguments& arguments) {
  BoundedWriter out(buffer, capacity);
  const WCHAR* cursor = format ? format : u"";
  while (*cursor != u'\0' && !out.full()) {
    if (*cursor != u'%') {
      out.put(*cursor++);
      continue;
    }
    ++cursor;
    Spec spec;
    if (!parseSpec(cursor, spec)) break;
    formatConversion(out, spec, arguments);
  }
  return out.finish();
}

size_t formatW(WCHAR* buffer, size_t capacity, const WCHAR* format, va_list arguments) {
  VaListArguments source(arguments);
  return formatW(buffer, capacity, format, source);
}

size_t formatTo(WCHAR* buffer, size_t capacity, const WCHAR* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const size_t length = formatW(buffer, capacity, format, arguments);
  va_end(arguments);
  return length;
}

}  // namespace handheld::strings
