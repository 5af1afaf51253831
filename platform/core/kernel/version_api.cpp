// GetVersionExW: the device reports its handheld system version.
#include <windows.h>

namespace {

constexpr DWORD kMajorVersion = 4;
constexpr DWORD kMinorVersion = 21;
constexpr DWORD kBuildNumber = 1088;

}  // namespace

HANDHELD_API BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW information) {
  if (!information) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (information->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  *information = OSVERSIONINFOW{};
  information->dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  information->dwMajorVersion = kMajorVersion;
  information->dwMinorVersion = kMinorVersion;
  information->dwBuildNumber = kBuildNumber;
  information->dwPlatformId = VER_PLATFORM_WIN32_CE;
  return TRUE;
}
