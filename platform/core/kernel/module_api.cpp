// GetModuleHandleW, LoadLibraryW, FreeLibrary, GetProcAddressW, GetModuleFileNameW.
#include <windows.h>

#include <algorithm>
#include <string>

#include "resources/module_registry.h"
#include "strings/utf.h"

using namespace handheld::resources;

HANDHELD_API HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return mainModule();
  Module* module = moduleByName(moduleName);
  return module ? module->handle() : nullptr;
}

HANDHELD_API HMODULE WINAPI LoadLibraryW(LPCWSTR libFileName) {
  if (!libFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return loadLibrary(libFileName);
}

HANDHELD_API BOOL WINAPI FreeLibrary(HMODULE module) { return freeLibrary(module) ? TRUE : FALSE; }

HANDHELD_API FARPROC WINAPI GetProcAddressW(HMODULE handle, LPCWSTR procName) {
  Module* module = handle ? moduleFromHandle(handle) : nullptr;
  if (!module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!procName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  void* symbol = nullptr;
  if (IS_INTRESOURCE(procName)) {
    const char* name = module->exportName(static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(procName)));
    symbol = name ? module->ownSymbol(name) : nullptr;
  } else if (auto name = handheld::strings::toUtf8Strict(procName)) {
    symbol = module->ownSymbol(name->c_str());
  }
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

HANDHELD_API DWORD WINAPI GetModuleFileNameW(HMODULE handle, LPWSTR fileName, DWORD size) {
  Module* module = moduleFromHandle(handle);
  if (!module) return 0;
  if (!fileName && size > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& path = module->devicePath();
  if (path.size() < size) {
    std::copy(path.begin(), path.end(), fileName);
    fileName[path.size()] = 0;
    return static_cast<DWORD>(path.size());
  }
  // Cut to size - 1 characters and terminated (never left unterminated), as the platform
  // documents since its later releases.
  std::copy_n(path.begin(), size - 1, fileName);
  fileName[size - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
