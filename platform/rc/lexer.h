// Splits a file into tokens: comments and line splices removed, each token knowing its line
// and whether it starts one (directives start lines). Never throws: malformed input becomes
// an Invalid token, an error only where the compiler needs it (a header's C++ it skips never
// matters).
#pragma once

#include <memory>
#include <string>

#include "token.h"

namespace handheld::rc {

class Lexer {
 public:
  Lexer(std::string text, std::shared_ptr<const std::string> fileName);

  Token next();

 private:
  bool atEnd() const { return pos_ >= text_.size(); }
  char peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  // Skips blanks, comments and line splices; notes whether a new line began.
  void skipSpace();
  Token make(TokenKind kind, std::string text) const;
  Token lexNumber();
  Token lexQuoted(char quote, bool wide);
  Token lexPunctuator();

  std::string text_;
  std::shared_ptr<const std::string> fileName_;
  size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  bool lineStart_ = true;
};

// The value of a pp-number spelling ("0x1F", "10L", "077u"), or false when it is not an
// integer; sets isLong for an l/L suffix.
bool parseIntegerLiteral(const std::string& spelling, int64_t& value, bool& isLong);

}  // namespace handheld::rc
