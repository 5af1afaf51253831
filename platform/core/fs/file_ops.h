// Operations on device entries by path, as the file APIs perform them. Each returns
// ERROR_SUCCESS or the platform's error code; paths follow the rules of device_path.h.
#pragma once

#include <windows.h>

#include <string_view>

#include "fs/result.h"

namespace handheld::fs {

// Refuses folders, links and read-only files (ERROR_ACCESS_DENIED) and files another open
// does not share for deletion (ERROR_SHARING_VIOLATION).
DWORD deleteFile(std::u16string_view path);

struct MoveOptions {
  // An existing file at the target is replaced in one step: a reader sees the old file or the
  // new one, never neither. Folders, links and read-only files are never replaced
  // (ERROR_ACCESS_DENIED), nor a file open without sharing deletion.
  bool replaceExisting = false;
  // The rename is on the disk before the call returns.
  bool writeThrough = false;
};

// Renames a file or folder; the target must not exist (ERROR_ALREADY_EXISTS) unless it is
// the source itself spelled in another case, which renames it to that case, or the options
// allow replacing it.
DWORD moveEntry(std::u16string_view from, std::u16string_view to, MoveOptions options = {});

// Copies the data and the read-only attribute. With failIfExists an existing target fails
// with ERROR_FILE_EXISTS; otherwise it is overwritten. A copy that fails midway is removed.
DWORD copyFile(std::u16string_view from, std::u16string_view to, bool failIfExists);

// Creates one folder (0700) in an existing folder: ERROR_ALREADY_EXISTS when the name is taken.
DWORD makeDirectory(std::u16string_view path);
// Creates a folder and any missing folders above it; an existing folder is success.
DWORD makeDirectories(std::u16string_view path);
// ERROR_DIR_NOT_EMPTY, ERROR_DIRECTORY for a file, ERROR_ACCESS_DENIED for the root.
DWORD removeDirectory(std::u16string_view path);

// FILE_ATTRIBUTE_DIRECTORY, _READONLY or _NORMAL (links: read-only files).
Result<DWORD> attributesOf(std::u16string_view path);
// Only FILE_ATTRIBUTE_READONLY has an effect (the owner's write bit), and only on files;
// the other attributes the device knows are accepted and not kept.
DWORD setAttributes(std::u16string_view path, DWORD attributes);

}  // namespace handheld::fs
