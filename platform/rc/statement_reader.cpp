#include "statement_reader.h"

#include "string_literal.h"

namespace handheld::rc {

std::u16string upperCase(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  return text;
}

const Token& StatementReader::peek() {
  if (!lookahead_) lookahead_ = preprocessor_.next();
  return *lookahead_;
}

Token StatementReader::take() {
  peek();
  Token token = std::move(*lookahead_);
  lookahead_.reset();
  return token;
}

bool StatementReader::accept(std::string_view punctuator) {
  if (!peek().isPunct(punctuator)) return false;
  take();
  return true;
}

bool StatementReader::acceptKeyword(std::string_view keyword) {
  if (!peek().isKeyword(keyword)) return false;
  take();
  return true;
}

void StatementReader::expect(std::string_view punctuator, std::string_view context) {
  const Token& token = peek();
  if (token.isPunct(punctuator)) {
    take();
    return;
  }
  std::string found = token.kind == TokenKind::End ? "the end of the file" : "'" + token.text + "'";
  throw token.error("expected '" + std::string(punctuator) + "' " + std::string(context) +
                    ", found " + found);
}

bool StatementReader::atBlockStart() { return peek().isKeyword("BEGIN") || peek().isPunct("{"); }

bool StatementReader::atBlockEnd() { return peek().isKeyword("END") || peek().isPunct("}"); }

Token StatementReader::expectBlockStart(std::string_view context) {
  if (!atBlockStart()) {
    const Token& token = peek();
    throw token.error("expected BEGIN " + std::string(context) + ", found " +
                      (token.kind == TokenKind::End ? "the end of the file" : "'" + token.text + "'"));
  }
  return take();
}

bool StatementReader::takeBlockEnd(const Token& blockStart) {
  if (peek().kind == TokenKind::End) {
    throw blockStart.error("BEGIN without END (the file ends at " + peek().where.describe() + ")");
  }
  if (!atBlockEnd()) return false;
  take();
  return true;
}

void StatementReader::skipMemoryFlags() {
  static constexpr std::string_view kFlags[] = {"DISCARDABLE", "MOVEABLE", "FIXED",  "PURE",
                                                "IMPURE",      "PRELOAD",  "LOADONCALL",
                                                "SHARED",      "NONSHARED"};
  for (bool found = true; found;) {
    found = false;
    for (std::string_view flag : kFlags) {
      if (acceptKeyword(flag)) found = true;
    }
  }
}

Value StatementReader::expression() {
  ExpressionParser parser(*this, UnknownNames::AreErrors);
  return parser.parse();
}

int64_t StatementReader::number(std::string_view what, int64_t min, int64_t max) {
  Token first = peek();
  Value value = expression();
  if (value.value < min || value.value > max) {
    throw first.error(std::string(what) + " " + std::to_string(value.value) + " is out of range");
  }
  return value.value;
}

uint32_t StatementReader::style(uint32_t base) {
  ExpressionParser parser(*this, UnknownNames::AreErrors);
  uint32_t result = base;
  do {
    bool negated = acceptKeyword("NOT");
    Token first = peek();
    Value operand = parser.parseOrOperand();
    if (operand.value < INT32_MIN || operand.value > UINT32_MAX) {
      throw first.error("style " + std::to_string(operand.value) + " is out of range");
    }
    auto bits = static_cast<uint32_t>(operand.value);
    result = negated ? (result & ~bits) : (result | bits);
  } while (accept("|"));
  return result;
}

std::u16string StatementReader::text(std::string_view what) {
  Token token = take();
  if (token.kind == TokenKind::Invalid) throw token.error(token.text);
  if (token.kind != TokenKind::String) {
    throw token.error("expected " + std::string(what) + " in quotes, found " +
                      (token.kind == TokenKind::End ? "the end of the file" : "'" + token.text + "'"));
  }
  return decodeWide(token, token.text);
}

ResourceId StatementReader::resourceId(std::string_view what) {
  const Token& token = peek();
  if (token.kind == TokenKind::Identifier) {
    std::u16string name;
    for (char c : take().text) name.push_back(static_cast<char16_t>(c));
    return ResourceId{std::nullopt, upperCase(std::move(name))};
  }
  if (token.kind == TokenKind::String) {
    std::u16string name = text(what);
    if (name.empty()) throw token.error(std::string(what) + " is an empty string");
    return ResourceId{std::nullopt, upperCase(std::move(name))};
  }
  return ResourceId::of(static_cast<uint16_t>(number(what, 0, 65535)));
}

}  // namespace handheld::rc
