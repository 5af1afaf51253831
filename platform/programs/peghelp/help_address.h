// Where a help request or a link leads: a help file on the device and a topic in it, or an
// outside address for the browser. Pure text work, no file access.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handheld::peghelp {

// The folder a bare file name is looked up in.
inline constexpr std::u16string_view kHelpFolder = u"\\Windows";

struct HelpAddress {
  std::u16string file;    // full device path
  std::u16string anchor;  // empty: the whole file
  bool operator==(const HelpAddress&) const = default;
};

// The command line: "file:NAME#ANCHOR", "file:\Folder\NAME#ANCHOR", with or without "file:"
// and surrounding quotes or spaces. A bare name is in \Windows. Nothing for an empty file
// name or a path that climbs out of the root.
std::optional<HelpAddress> parseHelpCommandLine(std::u16string_view commandLine);

struct LinkTarget {
  enum class Kind { Topic, External, Invalid };
  Kind kind = Kind::Invalid;
  // Topic: the places to try, first that exists wins (the same file for "#anchor").
  std::vector<HelpAddress> candidates;
  std::u16string url;  // External: the address as written
};

// A link's href as written in the file shown from `current`. "#a" stays in the file; a
// relative name is tried in the current file's folder, then in \Windows; "file:" forms as on
// the command line; an address with another scheme (http:, mailto:, ...) is external.
LinkTarget resolveHelpLink(std::u16string_view href, const HelpAddress& current);

// The folder of a full device path ("\Windows" for "\Windows\a.htm", "" for "\a.htm").
std::u16string folderOf(std::u16string_view path);

}  // namespace handheld::peghelp
