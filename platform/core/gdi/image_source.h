// Where image data comes from: a module's resource or a device file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace handheld::gdi {

// A whole device file, refused (ERROR_INVALID_DATA) above 64 MiB.
std::optional<std::vector<uint8_t>> readDeviceFile(LPCWSTR path);
// The bytes of a module's resource; they live as long as the module.
std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type);

}  // namespace handheld::gdi
