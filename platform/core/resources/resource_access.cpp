#include "resources/resource_access.h"

#include "resources/byte_reader.h"
#include "resources/module_registry.h"
#include "resources/template_layout.h"
#include "strings/case_fold.h"

namespace handheld::resources {

namespace {

// A name or type argument: an ordinal (MAKEINTRESOURCE or "#123") or a string.
struct Key {
  std::optional<uint16_t> ordinal;
  std::u16string_view name;
};

Key keyOf(LPCWSTR argument) {
  if (IS_INTRESOURCE(argument)) return Key{static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(argument)), {}};
  std::u16string_view text(argument);
  if (text.size() > 1 && text[0] == u'#') {
    uint32_t value = 0;
    bool digits = true;
    for (char16_t unit : text.substr(1)) {
      digits = unit >= u'0' && unit <= u'9' && value <= 0xFFFF;
      if (!digits) break;
      value = value * 10 + static_cast<uint32_t>(unit - u'0');
    }
    if (digits && value <= 0xFFFF) return Key{static_cast<uint16_t>(value), {}};
  }
  return Key{std::nullopt, text};
}

bool matches(const Key& key, const char16_t* entryName, uint16_t entryId) {
  if (key.ordinal) return !entryName && entryId == *key.ordinal;
  return entryName && strings::equalNoCase(key.name, entryName);
}

LPCWSTR ordinal(uint16_t value) { return MAKEINTRESOURCEW(value); }

}  // namespace

const ResourceEntry* findResourceEntry(HMODULE handle, LPCWSTR name, LPCWSTR type) {
  Module* module = moduleFromHandle(handle);
  if (!module) return nullptr;
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto entries = module->resources();
  if (entries.empty()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  Key nameKey = keyOf(name);
  Key typeKey = keyOf(type);
  bool typeFound = false;
  for (const ResourceEntry& entry : entries) {
    if (!matches(typeKey, entry.typeName, entry.typeId)) continue;
    typeFound = true;
    if (matches(nameKey, entry.name, entry.nameId)) return &entry;
  }
  SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

std::optional<std::span<const uint8_t>> loadResourceBytes(HMODULE module, LPCWSTR name,
                                                          LPCWSTR type) {
  const ResourceEntry* entry = findResourceEntry(module, name, type);
  if (!entry) return std::nullopt;
  return std::span<const uint8_t>(entry->data, entry->size);
}

std::optional<std::u16string_view> loadString(HMODULE module, UINT id) {
  if (id > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::nullopt;
  }
  auto block = loadResourceBytes(
      module, ordinal(static_cast<uint16_t>(id / layout::kStringsPerBlock + 1)),
      ordinal(layout::kTypeString));
  if (!block) {
    if (GetLastError() != ERROR_INVALID_HANDLE) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::nullopt;
  }
  ByteReader reader(*block);
  for (unsigned slot = 0; slot < id % layout::kStringsPerBlock; ++slot) reader.skip(size_t{reader.u16()} * 2);
  uint16_t length = reader.u16();
  size_t start = reader.offset();
  reader.skip(size_t{length} * 2);
  if (!reader.ok()) {
    SetLastError(ERROR_INVALID_DATA);
    return std::nullopt;
  }
  if (length == 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::nullopt;
  }
  // Resource data is 8-byte aligned and each string starts at an even offset.
  return std::u16string_view(reinterpret_cast<const char16_t*>(block->data() + start), length);
}

std::optional<DialogTemplate> loadDialog(HMODULE module, LPCWSTR name) {
  auto bytes = loadResourceBytes(module, name, ordinal(layout::kTypeDialog));
  if (!bytes) return std::nullopt;
  auto dialog = decodeDialog(*bytes);
  if (!dialog) SetLastError(ERROR_INVALID_DATA);
  return dialog;
}

std::optional<MenuTemplate> loadMenu(HMODULE module, LPCWSTR name) {
  auto bytes = loadResourceBytes(module, name, ordinal(layout::kTypeMenu));
  if (!bytes) return std::nullopt;
  auto menu = decodeMenu(*bytes);
  if (!menu) SetLastError(ERROR_INVALID_DATA);
  return menu;
}

std::optional<ShellMenuBar> loadShellMenuBar(HMODULE module, UINT id) {
  if (id > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::nullopt;
  }
  LPCWSTR name = ordinal(static_cast<uint16_t>(id));
  auto bytes = loadResourceBytes(module, name, u"SHMENUBAR");
  if (!bytes && GetLastError() != ERROR_INVALID_HANDLE) {
    // A module without RT_RCDATA still lacks the name, not the type, when it has menu bars.
    const DWORD first = GetLastError();
    bytes = loadResourceBytes(module, name, ordinal(layout::kTypeRcData));
    if (!bytes && first == ERROR_RESOURCE_NAME_NOT_FOUND) SetLastError(first);
  }
  if (!bytes) return std::nullopt;
  auto bar = decodeShellMenuBar(*bytes);
  if (!bar) SetLastError(ERROR_INVALID_DATA);
  return bar;
}

}  // namespace handheld::resources
