// The bytes of a help file as text: UTF-8, or Latin-1 when they are not valid UTF-8. Binary
// data is refused rather than shown as noise.
#pragma once

#include <string>
#include <string_view>

namespace handheld::peghelp {

// The largest help file read; a topic is a part of one file, so this bounds every page.
inline constexpr size_t kMaxHelpFileBytes = 1024 * 1024;

struct HelpText {
  std::string utf8;
  std::string refusal;  // why the bytes are not shown; empty when they are
};

HelpText decodeHelpBytes(std::string_view bytes);

}  // namespace handheld::peghelp
