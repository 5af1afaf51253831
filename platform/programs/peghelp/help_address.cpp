#include "help_address.h"

#include "strings/case_fold.h"
#include "strings/utf.h"

namespace handheld::peghelp {

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string_view trim(std::u16string_view text) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Links may escape spaces and other characters as %XX (UTF-8 bytes).
std::u16string percentDecoded(std::u16string_view text) {
  if (text.find(u'%') == std::u16string_view::npos) return std::u16string(text);
  std::string bytes = strings::toUtf8(text), out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    int high = bytes[i] == '%' && i + 2 < bytes.size() ? hexDigit(bytes[i + 1]) : -1;
    int low = high >= 0 ? hexDigit(bytes[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += bytes[i];
    }
  }
  return strings::fromUtf8(out);
}

// `path` taken from `folder` (a full device path, "" for the root): "." and empty names
// dropped, ".." climbs. Nothing when it would climb above the root, names nothing, or holds a
// character no device name may hold.
std::optional<std::u16string> joinPath(std::u16string_view folder, std::u16string_view path) {
  std::vector<std::u16string> names;
  auto add = [&names](std::u16string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = start;
      while (end < text.size() && !isSeparator(text[end])) ++end;
      std::u16string_view name = text.substr(start, end - start);
      if (name == u"..") {
        if (names.empty()) return false;
        names.pop_back();
      } else if (!name.empty() && name != u".") {
        names.emplace_back(name);
      }
      start = end + 1;
    }
    return true;
  };
  if (path.empty() || !isSeparator(path.front())) {
    if (!add(folder)) return std::nullopt;
  }
  if (!add(path) || names.empty()) return std::nullopt;
  std::u16string joined;
  for (const auto& name : names) {
    for (char16_t c : name)
      if (c < 0x20 || std::u16string_view(u":*?\"<>|").find(c) != std::u16string_view::npos) return std::nullopt;
    joined += u'\\';
    joined += name;
  }
  return joined;
}

bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && strings::equalNoCase(text.substr(0, prefix.size()), prefix);
}

// "file:" and the slashes of "file:///" taken off.
std::u16string_view withoutFileScheme(std::u16string_view text) {
  if (!startsWithNoCase(text, u"file:")) return text;
  text.remove_prefix(5);
  if (text.starts_with(u"//")) text.remove_prefix(2);
  return text;
}

// A scheme other than file: ("http:", "mailto:"): two or more letters, digits, '+', '-' or
// '.' starting with a letter, then ':'.
bool hasOtherScheme(std::u16string_view text) {
  size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    char16_t c = text[i];
    bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (!letter && (i == 0 || !((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'))) return false;
  }
  return !startsWithNoCase(text, u"file:");
}

std::pair<std::u16string_view, std::u16string_view> splitAnchor(std::u16string_view text) {
  size_t hash = text.find(u'#');
  if (hash == std::u16string_view::npos) return {text, {}};
  return {text.substr(0, hash), text.substr(hash + 1)};
}

}  // namespace

std::u16string folderOf(std::u16string_view path) {
  size_t last = path.find_last_of(u"\\/");
  return last == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, last));
}

std::optional<HelpAddress> parseHelpCommandLine(std::u16string_view commandLine) {
  std::u16string_view text = trim(commandLine);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = trim(text.substr(1, text.size() - 2));
  auto [file, anchor] = splitAnchor(withoutFileScheme(text));
  if (trim(file).empty()) return std::nullopt;
  auto path = joinPath(kHelpFolder, trim(file));
  if (!path) return std::nullopt;
  return HelpAddress{*path, std::u16string(anchor)};
}

LinkTarget resolveHelpLink(std::u16string_view href, const HelpAddress& current) {
  LinkTarget target;
  std::u16string_view text = trim(href);
  if (text.empty()) return target;
  if (hasOtherScheme(text)) {
    target.kind = LinkTarget::Kind::External;
    target.url = std::u16string(text);
    return target;
  }
  auto [fileText, anchor] = splitAnchor(withoutFileScheme(text));
  std::u16string file = percentDecoded(fileText);
  std::u16string anchorText = percentDecoded(anchor);
  if (file.empty()) {
    target.kind = LinkTarget::Kind::Topic;
    target.candidates.push_back({current.file, anchorText});
    return target;
  }
  const std::u16string currentFolder = folderOf(current.file);
  for (std::u16string_view folder : {std::u16string_view(currentFolder), kHelpFolder}) {
    auto path = joinPath(folder, file);
    if (!path) continue;
    bool seen = false;
    for (const auto& c : target.candidates) seen = seen || strings::equalNoCase(c.file, *path);
    if (!seen) target.candidates.push_back({*path, anchorText});
    if (isSeparator(file.front())) break;  // a full path has one place
  }
  if (!target.candidates.empty()) target.kind = LinkTarget::Kind::Topic;
  return target;
}

}  // namespace handheld::peghelp
