// ShellExecuteEx: the target resolved (shell_target.h) with the associations of
// HKEY_CLASSES_ROOT, then started through CreateProcessW, whose launcher refuses anything
// the device image did not place.
#include <shellapi.h>
#include <windows.h>

#include "shellsvc/execute/shell_target.h"
#include "strings/case_fold.h"

using namespace handheld;

namespace {

// A key's default string value; nullopt when missing or not a string.
std::optional<std::u16string> defaultString(const std::u16string& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, 0, &key) != ERROR_SUCCESS) return std::nullopt;
  WCHAR value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value) - sizeof(WCHAR);
  DWORD type = 0;
  const LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::u16string(value);
}

// HKCR\<extension> names a class; HKCR\<class>\shell\open\command holds its command.
std::optional<std::u16string> openCommand(std::u16string_view extension) {
  auto kind = defaultString(std::u16string(extension));
  if (!kind || kind->empty()) return std::nullopt;
  return defaultString(*kind + u"\\shell\\open\\command");
}

bool exists(std::u16string_view devicePath) {
  return GetFileAttributesW(std::u16string(devicePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL fail(LPSHELLEXECUTEINFOW info, DWORD error) {
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(shellsvc::shellErrorFor(error)));
  SetLastError(error);
  return FALSE;
}

}  // namespace

HANDHELD_API BOOL WINAPI ShellExecuteEx(LPSHELLEXECUTEINFOW info) {
  if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hProcess = nullptr;
  if (!info->lpFile || !*info->lpFile) return fail(info, ERROR_FILE_NOT_FOUND);
  const std::u16string_view verb = info->lpVerb ? info->lpVerb : u"";
  if (!verb.empty() && !strings::equalNoCase(verb, u"open")) return fail(info, ERROR_NO_ASSOCIATION);

  const shellsvc::Associations associations{openCommand, exists};
  auto resolution = shellsvc::resolveTarget(info->lpFile, info->lpParameters ? info->lpParameters : u"", associations);
  if (!resolution.launch) return fail(info, resolution.error);

  PROCESS_INFORMATION started{};
  if (!CreateProcessW(resolution.launch->program.c_str(), resolution.launch->arguments.c_str(), nullptr, nullptr,
                      FALSE, 0, nullptr, nullptr, nullptr, &started))
    return fail(info, GetLastError());
  CloseHandle(started.hThread);
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(33));  // above 32: started
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) {
    info->hProcess = started.hProcess;
  } else {
    CloseHandle(started.hProcess);
  }
  return TRUE;
}
