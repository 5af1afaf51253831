// Host errno values as the platform's error codes.
#pragma once

#include <windows.h>

namespace handheld::fs {

// `missing` is what ENOENT means at the call site: ERROR_FILE_NOT_FOUND for the last name of a
// path, ERROR_PATH_NOT_FOUND for a folder on the way.
DWORD errorFromErrno(int error, DWORD missing = ERROR_FILE_NOT_FOUND);

}  // namespace handheld::fs
