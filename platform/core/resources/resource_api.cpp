// FindResourceW, LoadResource, LockResource, SizeofResource, FreeResource, LoadStringW.
#include <windows.h>

#include <algorithm>

#include "resources/module_registry.h"
#include "resources/resource_access.h"

using namespace handheld::resources;

namespace {

// The entry an HRSRC names, checked against the loaded modules (and the module given).
const ResourceEntry* entryOf(HMODULE module, HRSRC resource) {
  auto* entry = reinterpret_cast<const ResourceEntry*>(resource);
  Module* holder = resource ? moduleHoldingEntry(entry) : nullptr;
  if (!holder || (module && holder->handle() != module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return entry;
}

}  // namespace

HANDHELD_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  const ResourceEntry* entry = findResourceEntry(module, name, type);
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

HANDHELD_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
  const ResourceEntry* entry = entryOf(module, resource);
  if (!entry) return nullptr;
  return const_cast<unsigned char*>(entry->data);
}

HANDHELD_API LPVOID WINAPI LockResource(HGLOBAL resourceData) { return resourceData; }

HANDHELD_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
  const ResourceEntry* entry = entryOf(module, resource);
  return entry ? entry->size : 0;
}

HANDHELD_API BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

HANDHELD_API int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
  if (!buffer || bufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto text = loadString(instance, id);
  if (!text) return 0;
  if (bufferMax == 0) {
    // The string itself, read-only and not terminated.
    *reinterpret_cast<LPCWSTR*>(buffer) = text->data();
    return static_cast<int>(text->size());
  }
  size_t copied = std::min(text->size(), static_cast<size_t>(bufferMax) - 1);
  std::copy_n(text->data(), copied, buffer);
  buffer[copied] = 0;
  return static_cast<int>(copied);
}
