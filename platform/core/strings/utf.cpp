#include "strings/utf.h"

#include <cstdint>

namespace handheld::strings {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t code) {
  auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(static_cast<uint8_t>(value))); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | (code >> 6));
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | (code >> 12));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18));
    byte(0x80 | ((code >> 12) & 0x3F));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

void appendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

// Both directions stop at the first repair when strict, and report whether one was needed.
bool encode(std::u16string_view text, std::string& out, bool strict) {
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (isHighSurrogate(code) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
      if (strict) return false;
      code = kReplacement;
    }
    appendUtf8(out, code);
  }
  return true;
}

// The well-formed sequences: a lead byte fixes the length and the range of the second byte
// (which rules out overlong forms, surrogates and code points beyond U+10FFFF); later bytes
// are 80..BF.
struct LeadRule {
  int length;
  uint8_t secondLow;
  uint8_t secondHigh;
};

LeadRule ruleFor(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// byteAt(i) gives byte i, or -1 at the end of the input. Bytes are read in order, and none
// after the end or after the last character wanted (an ill-formed sequence is known by the
// byte that follows it, which is read).
template <class ByteAt>
bool decode(ByteAt byteAt, std::u16string& out, bool strict, size_t maxUnits) {
  size_t i = 0;
  while (out.size() < maxUnits) {
    const int lead = byteAt(i);
    if (lead < 0) break;
    if (lead < 0x80) {
      out.push_back(static_cast<char16_t>(lead));
      ++i;
      continue;
    }
    const LeadRule rule = ruleFor(static_cast<uint8_t>(lead));
    char32_t code = static_cast<char32_t>(lead) & (0x7Fu >> rule.length);  // bits after the length marker
    int taken = 1;
    for (; taken < rule.length; ++taken) {
      const int next = byteAt(i + static_cast<size_t>(taken));
      const int low = taken == 1 ? rule.secondLow : 0x80;
      const int high = taken == 1 ? rule.secondHigh : 0xBF;
      if (next < low || next > high) break;
      code = (code << 6) | (static_cast<char32_t>(next) & 0x3F);
    }
    if (rule.length == 0 || taken != rule.length) {
      if (strict) return false;
      code = kReplacement;
    }
    appendUtf16(out, code);
    i += static_cast<size_t>(taken);
  }
  // A cut inside a surrogate pair keeps neither half.
  if (out.size() > maxUnits) out.resize(maxUnits - 1);
  return true;
}

bool decode(std::string_view text, std::u16string& out, bool strict) {
  out.reserve(text.size());
  const auto byteAt = [text](size_t i) { return i < text.size() ? static_cast<uint8_t>(text[i]) : -1; };
  return decode(byteAt, out, strict, std::u16string::npos);
}

}  // namespace

std::string toUtf8(std::u16string_view text) {
  std::string out;
  encode(text, out, false);
  return out;
}

std::u16string fromUtf8(std::string_view text) {
  std::u16string out;
  decode(text, out, false);
  return out;
}

std::u16string fromUtf8Prefix(const char* text, size_t maxUnits) {
  std::u16string out;
  if (!text) return out;
  const auto byteAt = [text](size_t i) { return text[i] != '\0' ? static_cast<uint8_t>(text[i]) : -1; };
  decode(byteAt, out, false, maxUnits);
  return out;
}

std::optional<std::string> toUtf8Strict(std::u16string_view text) {
  std::string out;
  if (!encode(text, out, true)) return std::nullopt;
  return out;
}

std::optional<std::u16string> fromUtf8Strict(std::string_view text) {
  std::u16string out;
  if (!decode(text, out, true)) return std::nullopt;
  return out;
}

}  // namespace handheld::strings
