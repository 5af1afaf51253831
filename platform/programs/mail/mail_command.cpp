#include "mail_command.h"

namespace handheld::mail {

namespace {

// One word of the command line from `at`: quoted text without its quotes, or up to a space.
std::u16string_view word(std::u16string_view line, size_t& at) {
  while (at < line.size() && line[at] == u' ') ++at;
  if (at >= line.size()) return {};
  if (line[at] == u'"') {
    const size_t close = line.find(u'"', at + 1);
    const size_t end = close == std::u16string_view::npos ? line.size() : close;
    std::u16string_view text = line.substr(at + 1, end - at - 1);
    at = end == line.size() ? end : end + 1;
    return text;
  }
  const size_t end = std::min(line.find(u' ', at), line.size());
  std::u16string_view text = line.substr(at, end - at);
  at = end;
  return text;
}

bool isToSwitch(std::u16string_view w) {
  return w.size() == 3 && w[0] == u'-' && (w[1] == u't' || w[1] == u'T') && (w[2] == u'o' || w[2] == u'O');
}

}  // namespace

std::u16string recipientFrom(std::u16string_view commandLine) {
  size_t at = 0;
  while (at < commandLine.size()) {
    const size_t before = at;
    std::u16string_view w = word(commandLine, at);
    if (isToSwitch(w)) return std::u16string(word(commandLine, at));
    if (at == before) break;
  }
  return {};
}

}  // namespace handheld::mail
