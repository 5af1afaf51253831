// The modules of this process: the main executable and the libraries LoadLibraryW loaded.
// An HMODULE / HINSTANCE is a pointer to a Module record. Records are never destroyed (a
// freed library's record waits to be reused by the same path), so a stale handle is
// recognised as unloaded instead of naming something else.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "resources/resource_table.h"

namespace handheld::resources {

class Module {
 public:
  HMODULE handle() { return reinterpret_cast<HMODULE>(this); }
  bool isMain() const { return isMain_; }
  // What GetModuleFileNameW reports.
  const std::u16string& devicePath() const { return devicePath_; }
  std::span<const ResourceEntry> resources() const { return resources_; }
  // An ordinal's symbol name from the library's export table, or null.
  const char* exportName(uint32_t ordinal) const;
  // A symbol the module itself defines (not one of its dependencies), or null.
  void* ownSymbol(const char* name) const;

 private:
  friend class ModuleRegistry;
  Module() = default;
  void attachTables();

  bool isMain_ = false;
  bool loaded_ = false;
  unsigned references_ = 0;
  std::u16string devicePath_;
  void* library_ = nullptr;   // the dlopen handle
  const void* linkMap_ = nullptr;
  std::span<const ResourceEntry> resources_;
  std::span<const ExportEntry> exports_;
};

// The main executable's module (what WinMain receives as its instance).
HINSTANCE mainModule();

// The loaded module a handle names (NULL: the main module), or null with ERROR_INVALID_HANDLE.
Module* moduleFromHandle(HMODULE handle);
// The loaded module whose device path or file name matches (".dll" assumed when the name
// has no extension), or null with ERROR_MOD_NOT_FOUND.
Module* moduleByName(std::u16string_view name);
// The loaded module whose resource table holds this entry, or null.
Module* moduleHoldingEntry(const ResourceEntry* entry);

// LoadLibraryW and FreeLibrary; they set the last error on failure.
HMODULE loadLibrary(std::u16string_view devicePath);
bool freeLibrary(HMODULE handle);

}  // namespace handheld::resources
