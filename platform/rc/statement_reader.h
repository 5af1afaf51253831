// The token-level helpers every statement parser uses: one token of lookahead over the
// preprocessor, keywords, blocks, numbers in range, style expressions, texts and names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiled_script.h"
#include "expression.h"
#include "preprocessor.h"

namespace handheld::rc {

class StatementReader final : public TokenStream {
 public:
  explicit StatementReader(Preprocessor& preprocessor) : preprocessor_(preprocessor) {}

  const Token& peek() override;
  Token take() override;
  Preprocessor& preprocessor() { return preprocessor_; }

  bool accept(std::string_view punctuator);
  bool acceptKeyword(std::string_view keyword);
  void expect(std::string_view punctuator, std::string_view context);
  // Takes a comma when one follows; data items may leave them out.
  void skipComma() { accept(","); }

  // BEGIN or '{' ... END or '}'.
  bool atBlockStart();
  bool atBlockEnd();
  // Takes the block start and returns it (for "has no END" messages).
  Token expectBlockStart(std::string_view context);
  // True at the block's END (taken); throws at the end of the file.
  bool takeBlockEnd(const Token& blockStart);

  // Memory flags (DISCARDABLE, MOVEABLE, PURE, PRELOAD, ...) mean nothing here.
  void skipMemoryFlags();

  Value expression();
  // An integer expression whose value must lie in [min, max].
  int64_t number(std::string_view what, int64_t min, int64_t max);
  uint16_t word(std::string_view what) { return static_cast<uint16_t>(number(what, -32768, 65535)); }
  uint32_t dword(std::string_view what) {
    return static_cast<uint32_t>(number(what, INT32_MIN, UINT32_MAX));
  }
  int16_t coordinate(std::string_view what) {
    return static_cast<int16_t>(number(what, -32768, 32767));
  }
  // Operands joined by '|', each optionally NOT (which clears its bits), applied to base.
  uint32_t style(uint32_t base);

  // A string literal as UTF-16.
  std::u16string text(std::string_view what);
  bool atText() { return peek().kind == TokenKind::String; }

  // A resource name or type: a number, or a name (identifier or string) in upper case.
  ResourceId resourceId(std::string_view what);

 private:
  Preprocessor& preprocessor_;
  std::optional<Token> lookahead_;
};

std::u16string upperCase(std::u16string text);

}  // namespace handheld::rc
