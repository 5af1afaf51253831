#include "resources/module_registry.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "fs/device_path.h"
#include "strings/case_fold.h"
#include "strings/utf.h"

namespace handheld::resources {

namespace {

using DllMainFunction = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

const void* linkMapOf(void* library) {
  link_map* map = nullptr;
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  return map;
}

std::u16string mainDevicePath() {
  if (const char* fromLauncher = std::getenv("HANDHELD_MODULE"); fromLauncher && *fromLauncher) {
    return strings::fromUtf8(fromLauncher);
  }
  std::error_code error;
  auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return u"\\Windows\\" + strings::fromUtf8(error ? "program.exe" : executable.filename().string());
}

// The host file a library's device path runs: a bare name means one in \Windows\.
fs::Result<std::filesystem::path> libraryHostPath(std::u16string_view devicePath) {
  std::u16string path(devicePath);
  if (path.find_first_of(u"\\/") == std::u16string::npos) path = u"\\Windows\\" + path;
  return fs::resolveDeviceImage(path);
}

std::u16string_view fileNameOf(std::u16string_view path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

void* Module::ownSymbol(const char* name) const {
  if (!loaded_ || !library_) return nullptr;
  void* symbol = dlsym(library_, name);
  if (!symbol) return nullptr;
  // dlsym also searches the module's dependencies (and, for the executable, every global
  // library); only the module's own definition counts.
  Dl_info info;
  link_map* owner = nullptr;
  if (!dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) ||
      owner != linkMap_) {
    return nullptr;
  }
  return symbol;
}

const char* Module::exportName(uint32_t ordinal) const {
  for (const ExportEntry& entry : exports_) {
    if (entry.ordinal == ordinal) return entry.name;
  }
  return nullptr;
}

void Module::attachTables() {
  auto* table = static_cast<const ResourceTable*>(ownSymbol(HANDHELD_RESOURCE_TABLE_SYMBOL));
  if (table && table->magic == kResourceTableMagic && (table->entries || table->count == 0)) {
    resources_ = std::span(table->entries, table->count);
  }
  auto* exports = static_cast<const ExportTable*>(ownSymbol(HANDHELD_EXPORT_TABLE_SYMBOL));
  if (exports && exports->magic == kExportTableMagic && (exports->entries || exports->count == 0)) {
    exports_ = std::span(exports->entries, exports->count);
  }
}

class ModuleRegistry {
 public:
  static ModuleRegistry& instance() {
    static ModuleRegistry* registry = new ModuleRegistry;  // outlives static destructors
    return *registry;
  }

  Module& main() {
    std::lock_guard guard(lock_);
    return *main_;
  }

  Module* find(HMODULE handle) {
    std::lock_guard guard(lock_);
    if (!handle) return main_;
    for (const auto& module : modules_) {
      if (module->handle() == handle && module->loaded_) return module.get();
    }
    return nullptr;
  }

  Module* findIf(const std::function<bool(const Module&)>& matches) {
    std::lock_guard guard(lock_);
    for (const auto& module : modules_) {
      if (module->loaded_ && matches(*module)) return module.get();
    }
    return nullptr;
  }

  HMODULE load(std::u16string_view devicePath) {
    std::lock_guard guard(lock_);  // held across DllMain, as the platform's loader lock is
    if (Module* loaded = findIf([&](const Module& module) {
          return !module.isMain_ && strings::equalNoCase(module.devicePath_, devicePath);
        })) {
      ++loaded->references_;
      return loaded->handle();
    }
    auto hostPath = libraryHostPath(devicePath);
    if (!hostPath) {
      // A link planted by hand is refused as such; anything else is no module.
      SetLastError(hostPath.error() == ERROR_ACCESS_DENIED ? ERROR_ACCESS_DENIED : ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    void* library = dlopen(hostPath->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      std::fprintf(stderr, "handheld: cannot load %s: %s\n", hostPath->c_str(), dlerror());
      SetLastError(ERROR_BAD_EXE_FORMAT);
      return nullptr;
    }
    // The same host file under another device path is the same module.
    if (Module* same = findIf([&](const Module& module) { return module.library_ == library; })) {
      dlclose(library);
      ++same->references_;
      return same->handle();
    }
    Module* module = nullptr;
    for (const auto& record : modules_) {
      if (!record->loaded_ && strings::equalNoCase(record->devicePath_, devicePath)) module = record.get();
    }
    if (!module) {
      modules_.push_back(std::unique_ptr<Module>(new Module));
      module = modules_.back().get();
    }
    module->devicePath_ = std::u16string(devicePath);
    module->library_ = library;
    module->linkMap_ = linkMapOf(library);
    module->loaded_ = true;
    module->references_ = 1;
    module->attachTables();
    if (!callDllMain(*module, DLL_PROCESS_ATTACH)) {
      // Refused: the library hears that it goes, and goes.
      callDllMain(*module, DLL_PROCESS_DETACH);
      unload(*module);
      SetLastError(ERROR_DLL_INIT_FAILED);
      return nullptr;
    }
    return module->handle();
  }

  bool free(HMODULE handle) {
    std::lock_guard guard(lock_);
    Module* module = handle ? find(handle) : nullptr;
    if (!module) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    if (module->isMain_) return true;  // the executable stays
    if (--module->references_ == 0) {
      callDllMain(*module, DLL_PROCESS_DETACH);
      unload(*module);
    }
    return true;
  }

 private:
  ModuleRegistry() {
    auto module = std::unique_ptr<Module>(new Module);
    module->isMain_ = true;
    module->loaded_ = true;
    module->references_ = 1;
    module->devicePath_ = mainDevicePath();
    module->library_ = dlopen(nullptr, RTLD_NOW);
    module->linkMap_ = module->library_ ? linkMapOf(module->library_) : nullptr;
    module->attachTables();
    main_ = module.get();
    modules_.push_back(std::move(module));
  }

  static bool callDllMain(Module& module, DWORD reason) {
    void* entry = module.ownSymbol("DllMain");
    if (!entry) return true;
    auto dllMain = reinterpret_cast<DllMainFunction>(entry);
    return dllMain(module.handle(), reason, nullptr) != FALSE;
  }

  static void unload(Module& module) {
    dlclose(module.library_);
    module.library_ = nullptr;
    module.linkMap_ = nullptr;
    module.loaded_ = false;
    module.references_ = 0;
    module.resources_ = {};
    module.exports_ = {};
  }

  std::recursive_mutex lock_;
  std::vector<std::unique_ptr<Module>> modules_;
  Module* main_ = nullptr;
};

HINSTANCE mainModule() { return ModuleRegistry::instance().main().handle(); }

Module* moduleFromHandle(HMODULE handle) {
  Module* module = ModuleRegistry::instance().find(handle);
  if (!module) SetLastError(ERROR_INVALID_HANDLE);
  return module;
}

Module* moduleByName(std::u16string_view name) {
  std::u16string wanted(name);
  if (fileNameOf(wanted).find(u'.') == std::u16string_view::npos) wanted += u".dll";
  bool wholePath = wanted.find_first_of(u"\\/") != std::u16string::npos;
  Module* module = ModuleRegistry::instance().findIf([&](const Module& candidate) {
    return wholePath ? strings::equalNoCase(candidate.devicePath(), wanted)
                     : strings::equalNoCase(fileNameOf(candidate.devicePath()), wanted);
  });
  if (!module) SetLastError(ERROR_MOD_NOT_FOUND);
  return module;
}

Module* moduleHoldingEntry(const ResourceEntry* entry) {
  // Compared as addresses: the handle may point anywhere, so no pointer arithmetic on it.
  auto address = reinterpret_cast<uintptr_t>(entry);
  return ModuleRegistry::instance().findIf([&](const Module& module) {
    auto entries = module.resources();
    auto first = reinterpret_cast<uintptr_t>(entries.data());
    return address >= first && address < first + entries.size_bytes() &&
           (address - first) % sizeof(ResourceEntry) == 0;
  });
}

HMODULE loadLibrary(std::u16string_view devicePath) {
  if (devicePath.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return ModuleRegistry::instance().load(devicePath);
}

bool freeLibrary(HMODULE handle) { return ModuleRegistry::instance().free(handle); }

}  // namespace handheld::resources
