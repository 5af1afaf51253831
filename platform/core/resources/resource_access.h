// Reading a module's resources from inside the platform: what FindResourceW, LoadStringW,
// LoadBitmapW, LoadMenuW, DialogBoxW and SHCreateMenuBar share. Each sets the last error
// when it returns nothing: ERROR_INVALID_HANDLE (bad module), ERROR_RESOURCE_DATA_NOT_FOUND
// (the module has no resources), ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND,
// ERROR_INVALID_DATA (a template that does not decode).
//
// Layout conventions of the data (see template_layout.h for the templates):
// - RT_BITMAP: the .bmp file without its 14-byte BITMAPFILEHEADER (info header, palette, bits).
// - RT_GROUP_ICON and RT_ICON (RT_GROUP_CURSOR and RT_CURSOR): both hold the whole .ico
//   (.cur) file under the script's name; one copy of the bytes serves both.
// - "SHMENUBAR" (a user type by name): the shell menu bar's WORD list; loadShellMenuBar also
//   accepts it as RT_RCDATA for scripts whose headers map SHMENUBAR to RCDATA.
// - RT_STRING: blocks of 16 length-prefixed strings; loadString reads them.
// Names and types match as FindResourceW does: MAKEINTRESOURCE numbers, "#123", or strings
// compared without regard to case.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "resources/resource_table.h"
#include "resources/templates.h"

namespace handheld::resources {

// The entry for name and type in a module (NULL: the main module).
const ResourceEntry* findResourceEntry(HMODULE module, LPCWSTR name, LPCWSTR type);

std::optional<std::span<const uint8_t>> loadResourceBytes(HMODULE module, LPCWSTR name,
                                                          LPCWSTR type);
// The string with this id (not terminated; it lives as long as the module is loaded).
std::optional<std::u16string_view> loadString(HMODULE module, UINT id);
std::optional<DialogTemplate> loadDialog(HMODULE module, LPCWSTR name);
std::optional<MenuTemplate> loadMenu(HMODULE module, LPCWSTR name);
std::optional<ShellMenuBar> loadShellMenuBar(HMODULE module, UINT id);

}  // namespace handheld::resources
