// The help viewer's readers on any input: the first line is a command line (and the anchor
// asked for), the second a link's href, the rest the bytes of a help file. Nothing may crash;
// paths stay full and inside the root; text handed on is valid UTF-8; a page is a whole
// document; and the nesting scan that guards the parser never counts far less than the
// parser builds.
#include <gumbo.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "help_address.h"
#include "help_text.h"
#include "help_topic.h"
#include "strings/utf.h"

namespace {

using namespace handheld::peghelp;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkPath(const std::u16string& path) {
  check(path.size() > 1 && path.front() == u'\\');
  check(path.find(u"\\..\\") == std::u16string::npos && !path.ends_with(u"\\.."));
  check(path.find(u"\\\\") == std::u16string::npos && path.find(u'/') == std::u16string::npos);
}

size_t parsedDepth(std::string_view html) {
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
  size_t deepest = 0;
  std::vector<std::pair<const GumboNode*, size_t>> stack{{output->root, 1}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (node->type != GUMBO_NODE_ELEMENT) continue;
    deepest = std::max(deepest, depth);
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
      stack.push_back({static_cast<const GumboNode*>(node->v.element.children.data[i]), depth + 1});
  }
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t first = std::min(input.find('\n'), input.size());
  size_t second = std::min(input.find('\n', std::min(first + 1, input.size())), input.size());
  std::string_view line = input.substr(0, first);
  std::string_view href = input.substr(std::min(first + 1, input.size()), second - std::min(first + 1, second));
  std::string_view bytes = input.substr(std::min(second + 1, input.size()));

  HelpAddress current{u"\\Windows\\test.htm", u""};
  if (auto address = parseHelpCommandLine(handheld::strings::fromUtf8(line))) {
    checkPath(address->file);
    current = *address;
  }
  LinkTarget target = resolveHelpLink(handheld::strings::fromUtf8(href), current);
  check((target.kind == LinkTarget::Kind::Topic) == !target.candidates.empty());
  for (const auto& candidate : target.candidates) checkPath(candidate.file);

  if (bytes.size() > kMaxHelpFileBytes) return 0;
  HelpText text = decodeHelpBytes(bytes);
  if (!text.refusal.empty()) return 0;
  check(handheld::strings::fromUtf8Strict(text.utf8).has_value());
  HelpTopic topic = extractTopic(text.utf8, handheld::strings::toUtf8(current.anchor));
  if (!topic.refusal.empty()) return 0;
  check(topic.html.starts_with("<!DOCTYPE html>") && topic.html.ends_with("</html>"));
  check(2 * markupNesting(text.utf8) + 4 >= parsedDepth(text.utf8));
  return 0;
}
