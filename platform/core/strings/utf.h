// UTF-16 <-> UTF-8 for the platform's own use (host file names, narrow %S text, logs).
// Valid text converts losslessly, characters beyond the first plane included.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace handheld::strings {

// Lossy: an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// Lossy: each maximal ill-formed byte sequence (bad lead byte, missing continuation, overlong
// form, encoded surrogate, beyond U+10FFFF) becomes one U+FFFD.
std::u16string fromUtf8(std::string_view text);
// Lossy, of NUL-terminated text, at most maxUnits units (a pair is never split). Reads no
// byte past the characters it returns, so an unterminated array of enough characters is safe.
std::u16string fromUtf8Prefix(const char* text, size_t maxUnits);

// Strict: nothing for any text the lossy forms would have to repair (paths, names).
std::optional<std::string> toUtf8Strict(std::u16string_view text);
std::optional<std::u16string> fromUtf8Strict(std::string_view text);

}  // namespace handheld::strings
