#include "expression.h"

#include <map>
#include <string>

namespace handheld::rc {

namespace {

// Deeper nesting than this is hostile input, not a script.
constexpr int kMaxDepth = 256;

int levelOf(const Token& token) {
  static const std::map<std::string, int> kLevels = {
      {"||", 1}, {"&&", 2}, {"|", 3},  {"^", 4},  {"&", 5},  {"==", 6}, {"!=", 6},
      {"<", 7},  {">", 7},  {"<=", 7}, {">=", 7}, {"<<", 8}, {">>", 8}, {"+", 9},
      {"-", 9},  {"*", 10}, {"/", 10}, {"%", 10}};
  if (token.kind != TokenKind::Punctuator) return 0;
  auto it = kLevels.find(token.text);
  return it == kLevels.end() ? 0 : it->second;
}

struct IntegerType {
  int bits;
  bool isSigned;
};

// The integer types a platform header may cast a constant to.
const IntegerType* integerType(const std::string& name) {
  static const std::map<std::string, IntegerType> kTypes = {
      {"BYTE", {8, false}},        {"UCHAR", {8, false}},        {"BOOLEAN", {8, false}},
      {"uint8_t", {8, false}},     {"unsigned char", {8, false}}, {"CHAR", {8, true}},
      {"char", {8, true}},         {"signed char", {8, true}},   {"int8_t", {8, true}},
      {"WORD", {16, false}},       {"USHORT", {16, false}},      {"ATOM", {16, false}},
      {"WCHAR", {16, false}},      {"TCHAR", {16, false}},       {"char16_t", {16, false}},
      {"uint16_t", {16, false}},   {"unsigned short", {16, false}}, {"SHORT", {16, true}},
      {"short", {16, true}},       {"int16_t", {16, true}},      {"DWORD", {32, false}},
      {"UINT", {32, false}},       {"ULONG", {32, false}},       {"COLORREF", {32, false}},
      {"LCID", {32, false}},       {"uint32_t", {32, false}},    {"unsigned", {32, false}},
      {"unsigned int", {32, false}}, {"LONG", {32, true}},       {"INT", {32, true}},
      {"BOOL", {32, true}},        {"HRESULT", {32, true}},      {"int", {32, true}},
      {"int32_t", {32, true}},     {"INT_PTR", {64, true}},      {"LONG_PTR", {64, true}},
      {"LPARAM", {64, true}},      {"LRESULT", {64, true}},      {"long", {64, true}},
      {"long long", {64, true}},   {"int64_t", {64, true}},      {"UINT_PTR", {64, false}},
      {"ULONG_PTR", {64, false}},  {"DWORD_PTR", {64, false}},   {"SIZE_T", {64, false}},
      {"WPARAM", {64, false}},     {"size_t", {64, false}},      {"uint64_t", {64, false}},
      {"unsigned long", {64, false}}, {"unsigned long long", {64, false}}};
  auto it = kTypes.find(name);
  return it == kTypes.end() ? nullptr : &it->second;
}

int64_t convert(int64_t value, const IntegerType& type) {
  if (type.bits == 64) return value;
  uint64_t mask = (uint64_t{1} << type.bits) - 1;
  uint64_t bits = static_cast<uint64_t>(value) & mask;
  if (type.isSigned && (bits >> (type.bits - 1)) != 0) {
    return static_cast<int64_t>(bits | ~mask);
  }
  return static_cast<int64_t>(bits);
}

class DepthGuard {
 public:
  DepthGuard(int& depth, const Token& at) : depth_(depth) {
    if (++depth_ > kMaxDepth) {
      --depth_;
      throw at.error("expression nested too deeply");
    }
  }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

Value ExpressionParser::parse() { return parseConditional(); }

// Everything binding tighter than '|' (level 3 above).
Value ExpressionParser::parseOrOperand() { return parseBinary(4); }

Value ExpressionParser::parseConditional() {
  DepthGuard guard(depth_, tokens_.peek());
  Value condition = parseBinary(1);
  if (!tokens_.peek().isPunct("?")) return condition;
  tokens_.take();
  Value whenTrue = parseConditional();
  Token colon = tokens_.take();
  if (!colon.isPunct(":")) throw colon.error("expected ':' in a conditional expression");
  Value whenFalse = parseConditional();
  return condition.value != 0 ? whenTrue : whenFalse;
}

Value ExpressionParser::parseBinary(int minLevel) {
  Value left = parseUnary();
  while (true) {
    int level = levelOf(tokens_.peek());
    if (level == 0 || level < minLevel) return left;
    Token op = tokens_.take();
    Value right = parseBinary(level + 1);
    left = apply(op, left, right);
  }
}

Value ExpressionParser::apply(const Token& op, Value left, Value right) {
  auto a = static_cast<uint64_t>(left.value);
  auto b = static_cast<uint64_t>(right.value);
  Value result{0, left.isLong || right.isLong};
  const std::string& o = op.text;
  uint64_t r = 0;
  if (o == "+") r = a + b;
  else if (o == "-") r = a - b;
  else if (o == "*") r = a * b;
  else if (o == "/" || o == "%") {
    if (right.value == 0) throw op.error("division by zero");
    if (left.value == INT64_MIN && right.value == -1) {
      r = o == "/" ? a : 0;
    } else {
      r = static_cast<uint64_t>(o == "/" ? left.value / right.value : left.value % right.value);
    }
  } else if (o == "<<" || o == ">>") {
    if (right.value < 0 || right.value >= 64) throw op.error("shift count out of range");
    r = o == "<<" ? a << b : static_cast<uint64_t>(left.value >> right.value);
  }
  else if (o == "&") r = a & b;
  else if (o == "|") r = a | b;
  else if (o == "^") r = a ^ b;
  else if (o == "&&") r = left.value && right.value;
  else if (o == "||") r = left.value || right.value;
  else if (o == "==") r = left.value == right.value;
  else if (o == "!=") r = left.value != right.value;
  else if (o == "<") r = left.value < right.value;
  else if (o == ">") r = left.value > right.value;
  else if (o == "<=") r = left.value <= right.value;
  else if (o == ">=") r = left.value >= right.value;
  result.value = static_cast<int64_t>(r);
  return result;
}

Value ExpressionParser::parseUnary() {
  DepthGuard guard(depth_, tokens_.peek());

  Token token = tokens_.take();
  switch (token.kind) {
    case TokenKind::Number:
      return Value{token.number, token.wide};
    case TokenKind::Invalid:
      throw token.error(token.text);
    case TokenKind::End:
      throw token.error("expression expected before the end of the file");
    case TokenKind::String:
      throw token.error("a number is expected here, not a string");
    case TokenKind::Identifier:
      if (token.text == "static_cast") return parseCast(token);
      if (token.text == "reinterpret_cast" || token.text == "const_cast" ||
          token.text == "dynamic_cast" || token.text == "sizeof") {
        throw token.error("cannot evaluate " + token.text + " in a resource script");
      }
      if (unknownNames_ == UnknownNames::AreZero) return Value{};
      throw token.error("unknown name '" + token.text + "'");
    case TokenKind::Punctuator:
      break;
  }
  if (token.isPunct("(")) {
    Value inner = parseConditional();
    Token close = tokens_.take();
    if (!close.isPunct(")")) throw close.error("expected ')'");
    return inner;
  }
  if (token.isPunct("-") || token.isPunct("+") || token.isPunct("~") || token.isPunct("!")) {
    Value operand = parseUnary();
    uint64_t bits = static_cast<uint64_t>(operand.value);
    if (token.isPunct("-")) bits = 0 - bits;
    if (token.isPunct("~")) bits = ~bits;
    if (token.isPunct("!")) bits = operand.value == 0;
    return Value{static_cast<int64_t>(bits), operand.isLong};
  }
  throw token.error("a number is expected here, not '" + token.text + "'");
}

Value ExpressionParser::parseCast(const Token& keyword) {
  if (!tokens_.take().isPunct("<")) throw keyword.error("expected '<' after static_cast");
  std::string typeName;
  while (tokens_.peek().kind == TokenKind::Identifier) {
    Token part = tokens_.take();
    if (part.text == "const") continue;
    typeName += (typeName.empty() ? "" : " ") + part.text;
  }
  Token close = tokens_.take();
  if (!close.isPunct(">")) throw close.error("cannot evaluate a cast to this type in a resource script");
  const IntegerType* type = integerType(typeName);
  if (!type) throw keyword.error("cannot evaluate a cast to '" + typeName + "' in a resource script");
  if (!tokens_.take().isPunct("(")) throw keyword.error("expected '(' after static_cast<...>");
  Value inner = parseConditional();
  Token end = tokens_.take();
  if (!end.isPunct(")")) throw end.error("expected ')'");
  return Value{convert(inner.value, *type), type->bits >= 32};
}

}  // namespace handheld::rc
