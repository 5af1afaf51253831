// Replacing a file so that a crash leaves either the old or the new content, never a mix:
// write a temporary file beside it, fsync, rename over, fsync the folder.
#pragma once

#include <filesystem>
#include <string_view>

namespace handheld::os {

bool writeFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace handheld::os
