#include "string_literal.h"

#include <cctype>

#include "strings/utf.h"

namespace handheld::rc {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Walks the body, handing literal runs and escaped values to the sinks.
template <class Run, class Escaped>
void decode(const Token& token, std::string_view body, unsigned maxHexDigits, Run&& run,
            Escaped&& escaped) {
  size_t runStart = 0;
  size_t i = 0;
  auto flush = [&](size_t end) {
    if (end > runStart) run(body.substr(runStart, end - runStart));
  };
  while (i < body.size()) {
    char c = body[i];
    if (c == '"') {  // the lexer only lets "" through
      flush(i);
      run(std::string_view("\"", 1));
      i += 2;
      runStart = i;
      continue;
    }
    if (c != '\\') {
      ++i;
      continue;
    }
    flush(i);
    if (i + 1 >= body.size()) throw token.error("string ends in a backslash");
    char e = body[i + 1];
    i += 2;
    uint32_t value = 0;
    switch (e) {
      case 'n': value = '\n'; break;
      case 't': value = '\t'; break;
      case 'r': value = '\r'; break;
      case 'a': value = '\a'; break;
      case 'b': value = '\b'; break;
      case 'f': value = '\f'; break;
      case 'v': value = '\v'; break;
      case '\\': case '"': case '\'': case '?': value = static_cast<unsigned char>(e); break;
      case 'x': {
        unsigned digits = 0;
        while (i < body.size() && digits < maxHexDigits && hexDigit(body[i]) >= 0) {
          value = value * 16 + static_cast<uint32_t>(hexDigit(body[i++]));
          ++digits;
        }
        if (digits == 0) throw token.error("\\x without hex digits");
        break;
      }
      default:
        if (e < '0' || e > '7') throw token.error(std::string("unknown escape \\") + e);
        value = static_cast<uint32_t>(e - '0');
        for (int digits = 1; digits < 3 && i < body.size() && body[i] >= '0' && body[i] <= '7'; ++digits) {
          value = value * 8 + static_cast<uint32_t>(body[i++] - '0');
        }
    }
    escaped(value);
    runStart = i;
  }
  flush(body.size());
}

}  // namespace

std::u16string decodeWide(const Token& token, std::string_view body) {
  std::u16string out;
  decode(
      token, body, 4,
      [&](std::string_view run) {
        auto units = strings::fromUtf8Strict(run);
        if (!units) throw token.error("string is not valid UTF-8");
        out += *units;
      },
      [&](uint32_t value) { out.push_back(static_cast<char16_t>(value)); });
  return out;
}

std::string decodeNarrow(const Token& token, std::string_view body) {
  std::string out;
  decode(
      token, body, 2, [&](std::string_view run) { out += run; },
      [&](uint32_t value) {
        if (value > 0xFF) throw token.error("escape value does not fit a byte");
        out.push_back(static_cast<char>(value));
      });
  return out;
}

}  // namespace handheld::rc
