#include "fs/names.h"

#include <windows.h>

#include <algorithm>

#include "strings/case_fold.h"
#include "strings/utf.h"

namespace handheld::fs {

bool sameName(std::u16string_view first, std::u16string_view second) {
  return strings::equalNoCase(first, second);
}

bool matchesPattern(std::u16string_view pattern, std::u16string_view name) {
  if (pattern == u"*.*") return true;
  // Greedy match that backtracks to the last star only: linear enough for names.
  size_t p = 0, n = 0;
  size_t starAt = std::u16string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() &&
               (pattern[p] == u'?' || foldUnit(pattern[p]) == foldUnit(name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::u16string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::optional<std::string> hostName(std::u16string_view name) {
  return strings::toUtf8Strict(name);
}

bool appendHostName(std::u16string_view name, std::string& out) {
  // Nearly every name is ASCII, which is its own UTF-8: copied unit by unit, every path on
  // its way to an open passes here.
  if (std::all_of(name.begin(), name.end(), [](char16_t unit) { return unit < 0x80; })) {
    const size_t start = out.size();
    out.resize(start + name.size());
    std::copy(name.begin(), name.end(), out.begin() + static_cast<std::ptrdiff_t>(start));
    return true;
  }
  auto host = hostName(name);
  if (!host) return false;
  out += *host;
  return true;
}

std::optional<std::u16string> deviceName(std::string_view name) {
  if (name == "." || name == "..") return std::nullopt;
  // An ASCII name is its own UTF-16 unit by unit and is checked in the same pass: every
  // entry of every listing passes here.
  if (name.size() < MAX_PATH && std::all_of(name.begin(), name.end(), [](char c) {
        const auto unit = static_cast<unsigned char>(c);
        return unit < 0x80 && isNameUnit(unit);
      })) {
    return std::u16string(name.begin(), name.end());
  }
  auto converted = strings::fromUtf8Strict(name);
  if (!converted || converted->size() >= MAX_PATH) return std::nullopt;
  for (char16_t unit : *converted) {
    if (!isNameUnit(unit)) return std::nullopt;
  }
  return converted;
}

}  // namespace handheld::fs
