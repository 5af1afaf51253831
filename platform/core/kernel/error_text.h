// The platform's error codes in words, for the messages people read: handheld-ctl's refusals,
// the device's log, a program's complaint on stderr.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace handheld::kernel {

// What the code means, lower case without a full stop ("the path was not found"); empty for a
// code the platform does not describe.
std::string_view errorText(uint32_t code);
// The words with the code in brackets: "the path was not found [error 3]" ("error 12345" for
// a code without words). `words` given by the caller, who knows better what went wrong, take
// the place of the code's own: "the path is empty [error 3]".
std::string describeError(uint32_t code, std::string_view words = {});

}  // namespace handheld::kernel
