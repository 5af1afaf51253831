#include "lexer.h"

#include <cctype>

#include "string_literal.h"

namespace handheld::rc {

namespace {

bool isIdentifierStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

}  // namespace

bool Token::isKeyword(std::string_view upperName) const {
  if (kind != TokenKind::Identifier || text.size() != upperName.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != upperName[i]) return false;
  }
  return true;
}

CompileError Token::error(const std::string& message) const {
  if (!macro) return CompileError(where, message);
  return CompileError(where, message + " (in macro " + macro->name + " defined at " +
                                 macro->definedAt.describe() + ")");
}

bool parseIntegerLiteral(const std::string& spelling, int64_t& value, bool& isLong) {
  size_t pos = 0;
  int base = 10;
  if (spelling.size() > 1 && spelling[0] == '0' && (spelling[1] == 'x' || spelling[1] == 'X')) {
    base = 16;
    pos = 2;
  } else if (spelling.size() > 1 && spelling[0] == '0') {
    base = 8;
    pos = 1;
  }
  uint64_t result = 0;
  size_t digits = 0;
  for (; pos < spelling.size(); ++pos, ++digits) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(spelling[pos])));
    int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : (c >= 'a' && c <= 'f')                   ? c - 'a' + 10
                                                            : -1;
    if (digit < 0 || digit >= base) break;
    if (result > (UINT64_MAX - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
      return false;  // does not fit 64 bits
    }
    result = result * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (digits == 0 && base != 8) return false;
  isLong = false;
  for (; pos < spelling.size(); ++pos) {
    char c = spelling[pos];
    if (c == 'l' || c == 'L') {
      isLong = true;
    } else if (c != 'u' && c != 'U') {
      return false;
    }
  }
  value = static_cast<int64_t>(result);
  return true;
}

Lexer::Lexer(std::string text, std::shared_ptr<const std::string> fileName)
    : text_(std::move(text)), fileName_(std::move(fileName)) {
  if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;  // UTF-8 byte order mark
}

void Lexer::skipSpace() {
  while (!atEnd()) {
    char c = peek();
    if (c == '\n') {
      ++line_;
      ++pos_;
      lineStart_ = true;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '\\' && (peek(1) == '\n' || (peek(1) == '\r' && peek(2) == '\n'))) {
      pos_ += peek(1) == '\n' ? 2 : 3;  // a spliced line continues the current one
      ++line_;
    } else if (c == '/' && peek(1) == '/') {
      while (!atEnd() && peek() != '\n') {
        if (peek() == '\\' && peek(1) == '\n') {  // a spliced line comment goes on
          ++line_;
          ++pos_;
        }
        ++pos_;
      }
    } else if (c == '/' && peek(1) == '*') {
      pos_ += 2;
      while (!atEnd() && !(peek() == '*' && peek(1) == '/')) {
        if (peek() == '\n') ++line_;
        ++pos_;
      }
      pos_ = atEnd() ? pos_ : pos_ + 2;
    } else {
      return;
    }
  }
}

Token Lexer::make(TokenKind kind, std::string text) const {
  Token token;
  token.kind = kind;
  token.text = std::move(text);
  token.where = Location{fileName_, tokenLine_};
  return token;
}

Token Lexer::next() {
  size_t before = pos_;
  skipSpace();
  bool spaced = pos_ != before;
  tokenLine_ = line_;
  bool startsLine = lineStart_;
  lineStart_ = false;
  Token token;
  if (atEnd()) {
    token = make(TokenKind::End, "");
  } else {
    char c = peek();
    bool widePrefix = (c == 'L' || c == 'u' || c == 'U') && (peek(1) == '"' || peek(1) == '\'');
    bool utf8Prefix = c == 'u' && peek(1) == '8' && (peek(2) == '"' || peek(2) == '\'');
    if (widePrefix || utf8Prefix) {
      pos_ += utf8Prefix ? 2 : 1;
      token = lexQuoted(peek(), widePrefix);
    } else if (isIdentifierStart(c)) {
      size_t start = pos_;
      while (!atEnd() && isIdentifierChar(peek())) ++pos_;
      token = make(TokenKind::Identifier, text_.substr(start, pos_ - start));
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && std::isdigit(static_cast<unsigned char>(peek(1))))) {
      token = lexNumber();
    } else if (c == '"' || c == '\'') {
      token = lexQuoted(c, false);
    } else {
      token = lexPunctuator();
    }
  }
  token.atLineStart = startsLine;
  token.spaceBefore = spaced;
  return token;
}

Token Lexer::lexNumber() {
  size_t start = pos_;
  while (!atEnd()) {
    char c = peek();
    bool exponentSign = (c == '+' || c == '-') && pos_ > start &&
                        (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E') &&
                        text_.compare(start, 2, "0x") != 0 && text_.compare(start, 2, "0X") != 0;
    if (!isIdentifierChar(c) && c != '.' && !exponentSign) break;
    ++pos_;
  }
  std::string spelling = text_.substr(start, pos_ - start);
  Token token = make(TokenKind::Number, spelling);
  if (!parseIntegerLiteral(spelling, token.number, token.wide)) {
    return make(TokenKind::Invalid, "'" + spelling + "' is not an integer");
  }
  return token;
}

Token Lexer::lexQuoted(char quote, bool wide) {
  ++pos_;  // opening quote
  size_t start = pos_;
  while (true) {
    if (atEnd() || peek() == '\n' || (peek() == '\\' && (peek(1) == '\n' || pos_ + 1 >= text_.size()))) {
      return make(TokenKind::Invalid, quote == '"' ? "unterminated string" : "unterminated character");
    }
    char c = peek();
    if (c == '\\') {
      pos_ += 2;
    } else if (c == quote && quote == '"' && peek(1) == '"') {
      pos_ += 2;  // "" is a quote inside a resource string
    } else if (c == quote) {
      break;
    } else {
      ++pos_;
    }
  }
  std::string body = text_.substr(start, pos_ - start);
  ++pos_;  // closing quote
  if (quote == '"') {
    Token token = make(TokenKind::String, std::move(body));
    token.wide = wide;
    return token;
  }
  // A character constant counts as the number of its one character.
  Token token = make(TokenKind::Number, "'" + body + "'");
  try {
    std::u16string units = decodeWide(token, body);
    if (units.size() != 1) return make(TokenKind::Invalid, "character constant of " + std::to_string(units.size()) + " characters");
    token.number = units[0];
  } catch (const CompileError&) {
    return make(TokenKind::Invalid, "bad character constant");
  }
  return token;
}

Token Lexer::lexPunctuator() {
  static constexpr const char* kTwoCharacter[] = {"<<", ">>", "<=", ">=", "==", "!=",
                                                  "&&", "||", "::", "##", "->"};
  for (const char* spelling : kTwoCharacter) {
    if (peek() == spelling[0] && peek(1) == spelling[1]) {
      pos_ += 2;
      return make(TokenKind::Punctuator, spelling);
    }
  }
  return make(TokenKind::Punctuator, std::string(1, text_[pos_++]));
}

}  // namespace handheld::rc
