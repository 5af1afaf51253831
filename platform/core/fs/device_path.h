// Device paths and where they lead on the host.
//
// A device path names an entry beneath the device root: `\My Documents\Pinnote0.stk` is
// <root>/My Documents/Pinnote0.stk. The rules:
// - `\` separates names; `/` is accepted as a separator too. Every path is absolute from the
//   root (the device has no current folder), so a leading separator is optional; one trailing
//   separator is ignored. `\` alone is the root.
// - At most MAX_PATH - 1 units (the terminator makes MAX_PATH), and a name at most 255 host
//   bytes: longer paths fail with ERROR_FILENAME_EXCED_RANGE, never cut.
// - Names compare case-insensitively and keep their case: an existing entry is found by its
//   exact name first, then by a case-insensitive scan of its folder; a new entry is created
//   with the case given.
// Refused, so that no path reaches outside the root:
// - ERROR_INVALID_NAME: `.` and `..` names, empty names (`\a\\b`, `\\server`), NUL, control
//   characters, < > : " | ? * (wildcards are allowed in the last name of a find pattern only),
//   unpaired surrogates. A host path such as C:\x fails here; /etc/x is \etc\x in the root.
// - ERROR_ACCESS_DENIED: a symbolic link anywhere on the way (only resolveDeviceImage follows
//   one, in the last name), and the device's own `\.device` folder in any case spelling.
// - ERROR_PATH_NOT_FOUND: a missing folder on the way, a file used as one, and the empty
//   path; ERROR_FILE_NOT_FOUND: a missing last name where it must exist.
// Folders are opened beneath the root's descriptor without following links: all at once with
// openat2 when each name is spelled exactly (fs/beneath.h), else one name at a time with
// openat(O_NOFOLLOW | O_DIRECTORY). A link swapped in during the walk is refused rather than
// followed, and nothing is cached between calls, so every call sees the folders as they are;
// the caller then acts on the result's folder descriptor and name, never on a path string.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fs/result.h"
#include "fs/root.h"
#include "os/unique_fd.h"

namespace handheld::fs {

// The names of a device path, checked against the rules above; empty for the root.
enum class Wildcards { Refused, InLastName };
Result<std::vector<std::u16string>> splitDevicePath(std::u16string_view devicePath,
                                                    Wildcards wildcards = Wildcards::Refused);

// Opens the entry a device path names in one call (fs/beneath.h) when the path obeys the rules
// above and every name is spelled exactly as on the host. Invalid with errno set otherwise
// (ENOENT for a refused path or the root); the caller then resolves the path, which finds
// other spellings and gives the error to report.
os::UniqueFd openExactly(const DeviceRoot& root, std::u16string_view devicePath, int flags);

enum class Mode {
  Existing,  // the last name must exist (ERROR_FILE_NOT_FOUND)
  MayBeNew,  // the last name may be missing: `exists` says which, `name` keeps the given case
  Pattern,   // the last name is a find pattern, not looked up: `name` is empty
};

// Where a device path leads: the folder holding the entry, and the entry's name in it.
struct HostPath {
  os::UniqueFd folder;         // opened beneath the root, links refused on the way
  std::string name;            // host name in `folder`: the existing spelling when found
  std::u16string deviceName;   // the last name as given (the pattern for Mode::Pattern)
  bool exists = false;         // whether `name` is an entry of `folder` (of any type)
  bool inRoot = false;         // whether `folder` is the root itself
  std::filesystem::path path;  // <root>/... as found: for messages and host tools only

  // The path names the root itself (`\`): `folder` is the root and `name` is empty.
  bool isRoot() const { return exists && name.empty(); }
};

Result<HostPath> resolve(const DeviceRoot& root, std::u16string_view devicePath, Mode mode);
// Resolves in this process's root (processRoot()).
Result<HostPath> resolve(std::u16string_view devicePath, Mode mode);

// For the launcher and LoadLibraryW: the host file a device program or library path runs.
// The last name may be one of the device image's own links to a build output (recorded by
// the image, os/image_links.h; its target must be a regular, executable file); every other
// name obeys the rules above. An ordinary executable file in the root is returned as its own
// host path. ERROR_ACCESS_DENIED for a link the image did not place (or whose target it did
// not set), the path's own error when it is refused, else ERROR_FILE_NOT_FOUND.
Result<std::filesystem::path> resolveDeviceImage(std::u16string_view devicePath);

}  // namespace handheld::fs
