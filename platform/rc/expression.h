// Integer expressions of scripts and #if lines: C operators and precedence, decimal, octal,
// hex and character constants, static_cast to the platform's integer types. Values are 64-bit
// while computing; an L suffix anywhere makes the result a DWORD in data blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "token.h"

namespace handheld::rc {

class TokenStream {
 public:
  virtual ~TokenStream() = default;
  virtual const Token& peek() = 0;
  virtual Token take() = 0;
};

// Tokens of one line (an #if), then End.
class TokenVectorStream final : public TokenStream {
 public:
  TokenVectorStream(std::vector<Token> tokens, Token end) : tokens_(std::move(tokens)), end_(std::move(end)) {}
  const Token& peek() override { return next_ < tokens_.size() ? tokens_[next_] : end_; }
  Token take() override { return next_ < tokens_.size() ? tokens_[next_++] : end_; }

 private:
  std::vector<Token> tokens_;
  Token end_;
  size_t next_ = 0;
};

struct Value {
  int64_t value = 0;
  bool isLong = false;
};

// What a name that is no macro means: 0 in #if lines, an error in resource statements.
enum class UnknownNames { AreZero, AreErrors };

class ExpressionParser {
 public:
  ExpressionParser(TokenStream& tokens, UnknownNames unknownNames)
      : tokens_(tokens), unknownNames_(unknownNames) {}

  Value parse();
  // An operand of '|': a style expression combines these with '|' and NOT itself.
  Value parseOrOperand();

 private:
  Value parseConditional();
  Value parseBinary(int minLevel);
  Value parseUnary();
  Value parseCast(const Token& keyword);
  Value apply(const Token& op, Value left, Value right);

  TokenStream& tokens_;
  UnknownNames unknownNames_;
  int depth_ = 0;
};

}  // namespace handheld::rc
