// The device image's own links: the links to build outputs that the image placed in a root,
// from the build's manifest or by `handheld-device --install`. The launcher and LoadLibraryW
// follow a link only when it is recorded here with the target it has, so a link planted by
// hand (say `\Windows\sh.exe` -> /bin/sh) never runs. The record is <root>/.device/image-links,
// a line per link: its host path below the root, a tab, its target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace handheld::os {

struct ImageLink {
  std::string path;    // below the root, names separated by '/', as placed
  std::string target;  // the link's text
  bool operator==(const ImageLink&) const = default;
};

// The record's complete lines that hold a path and a target; anything else is passed over.
std::vector<ImageLink> parseImageLinks(std::string_view text);

// Whether the image placed `link`: its path is recorded with this very target.
bool isImageLink(int rootFd, const ImageLink& link);

// Adds `links` to the record, replacing the record of the same paths, and drops records whose
// link has gone or names another target now. false with errno when it cannot be written.
bool recordImageLinks(int rootFd, const std::vector<ImageLink>& links);

}  // namespace handheld::os
