// The text of a string token: UTF-8 script text, escapes \n \t \r \a \b \f \v \\ \" \' \?,
// octal \0..\377, hex \x.., and "" for a quote inside the string.
#pragma once

#include <string>
#include <string_view>

#include "token.h"

namespace handheld::rc {

// As UTF-16 (menu, dialog and string table text, L"..." data): \x takes up to four digits.
std::u16string decodeWide(const Token& token, std::string_view body);
// As bytes (narrow data strings): UTF-8 as written, \x takes up to two digits.
std::string decodeNarrow(const Token& token, std::string_view body);

}  // namespace handheld::rc
