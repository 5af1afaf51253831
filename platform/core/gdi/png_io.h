// PNG files of surfaces: screenshots from the device server, goldens in tests.
#pragma once

#include <filesystem>
#include <memory>

#include "gdi/surface.h"

namespace handheld::gdi {

// 8-bit RGB, no alpha. False when the file cannot be written.
bool writePng(const Surface& surface, const std::filesystem::path& path);

// A 32-bit top-down surface; any alpha is dropped. Null when the file is missing or not a
// PNG, or larger than Surface allows.
std::shared_ptr<Surface> readPng(const std::filesystem::path& path);

}  // namespace handheld::gdi
