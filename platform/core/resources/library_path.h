// Where LoadLibraryW finds the host shared object for a device path: the one place that
// knows, so that the device image's own resolution can take over here.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace handheld::resources {

// The host file for a device library path (a name alone means one in \Windows\), or nothing
// when the path is refused or leads nowhere.
std::optional<std::filesystem::path> libraryHostPath(std::u16string_view devicePath);

}  // namespace handheld::resources
