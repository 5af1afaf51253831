// The resource table a module carries: what handheld-rc generates from the module's script
// and what FindResourceW reads. Plain constant data, so that the generated source needs no
// code and the table lives in the module's read-only segment.
#pragma once

#include <cstdint>

namespace handheld::resources {

// A table's first word; a mismatch means the symbol is not a table of this layout.
inline constexpr uint32_t kResourceTableMagic = 0x31435248;  // "HRC1"

struct ResourceEntry {
  const char16_t* typeName;  // terminated, upper case; null when the type is typeId
  const char16_t* name;      // terminated, upper case; null when the name is nameId
  const unsigned char* data;
  uint32_t size;
  uint16_t typeId;
  uint16_t nameId;
};

struct ResourceTable {
  uint32_t magic;
  uint32_t count;
  const ResourceEntry* entries;
};

// Ordinals a library gives its exports (from its .def file, see handheld_add_exports).
inline constexpr uint32_t kExportTableMagic = 0x31585048;  // "HPX1"

struct ExportEntry {
  uint32_t ordinal;
  const char* name;  // the symbol dlsym finds
};

struct ExportTable {
  uint32_t magic;
  uint32_t count;
  const ExportEntry* entries;
};

}  // namespace handheld::resources

// The symbols every module defines (with default visibility) and libhandheld looks up in
// that module only. An executable exports them with -Wl,--export-dynamic-symbol.
#define HANDHELD_RESOURCE_TABLE_SYMBOL "handheld_module_resources"
#define HANDHELD_EXPORT_TABLE_SYMBOL "handheld_module_exports"
