#include "help_text.h"

#include "strings/utf.h"

namespace handheld::peghelp {

HelpText decodeHelpBytes(std::string_view bytes) {
  HelpText text;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  size_t controls = 0;
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte == 0) {
      text.refusal = "the file holds binary data, not text";
      return text;
    }
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') ++controls;
  }
  // A stray control character is tolerated; text made of them is not text.
  if (controls > 8 && controls * 100 > bytes.size()) {
    text.refusal = "the file holds binary data, not text";
    return text;
  }
  if (strings::fromUtf8Strict(bytes)) {
    text.utf8 = bytes;
    return text;
  }
  text.utf8.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text.utf8 += c;
    } else {
      text.utf8 += static_cast<char>(0xC0 | (byte >> 6));
      text.utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

}  // namespace handheld::peghelp
