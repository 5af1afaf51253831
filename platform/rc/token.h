// One preprocessing token of a script or header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.h"

namespace handheld::rc {

enum class TokenKind { Identifier, Number, String, Punctuator, Invalid, End };

// The macro a token came from, for messages that point at the definition too.
struct MacroOrigin {
  std::string name;
  Location definedAt;
};

struct Token {
  TokenKind kind = TokenKind::End;
  // Identifier and punctuator spelling, a number's spelling, a string's body between the
  // quotes with its escapes undecoded, or why an Invalid token is invalid.
  std::string text;
  Location where;
  bool atLineStart = false;
  bool spaceBefore = false;  // blank or comment just before (tells NAME( from NAME ()
  bool wide = false;    // L"..." strings; numbers with an L suffix (a DWORD in data blocks)
  int64_t number = 0;   // Number tokens
  std::shared_ptr<const MacroOrigin> macro;                // set when expanded from a macro
  std::shared_ptr<const std::vector<std::string>> hidden;  // macros it must not expand again

  bool isPunct(std::string_view spelling) const {
    return kind == TokenKind::Punctuator && text == spelling;
  }
  // Resource script keywords are case-insensitive.
  bool isKeyword(std::string_view upperName) const;

  // "file:line" of the token, with the macro it was expanded from.
  CompileError error(const std::string& message) const;
};

}  // namespace handheld::rc
