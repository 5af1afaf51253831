// SHGetSpecialFolderPath: the device's well-known folders.
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <string_view>

#include "fs/file_ops.h"

namespace {

std::u16string_view specialFolder(int folder) {
  switch (folder) {
    case CSIDL_DESKTOP: return u"\\Windows\\Desktop";
    case CSIDL_PROGRAMS: return u"\\Windows\\Start Menu\\Programs";
    case CSIDL_PERSONAL: return u"\\My Documents";
    case CSIDL_STARTUP: return u"\\Windows\\StartUp";
    case CSIDL_WINDOWS: return u"\\Windows";
    case CSIDL_PROGRAM_FILES: return u"\\Program Files";
    default: return {};
  }
}

}  // namespace

HANDHELD_API BOOL WINAPI SHGetSpecialFolderPath(HWND, LPWSTR path, int folder, BOOL create) {
  std::u16string_view devicePath = specialFolder(folder);
  if (!path || devicePath.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (create) {
    DWORD error = handheld::fs::makeDirectories(devicePath);
    if (error != ERROR_SUCCESS) {
      SetLastError(error);
      return FALSE;
    }
  }
  // The caller's buffer holds MAX_PATH units; every special path is far shorter.
  *std::copy(devicePath.begin(), devicePath.end(), path) = u'\0';
  return TRUE;
}
