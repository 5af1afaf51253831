// Replacing a file so that a crash leaves either the old or the new content, never a mix:
// write a temporary file beside it, fsync, rename over, fsync the folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace handheld::os {

struct FileWriteError {
  int hostError = 0;    // errno of the step that failed
  std::string message;  // that step, e.g. "cannot write /r/.device/clock (No space left on device)"
};

// The new file has mode 0600. Nothing on success; a failure before the rename leaves the old
// file as it was.
std::optional<FileWriteError> replaceFileAtomically(const std::filesystem::path& file,
                                                    std::string_view content);

}  // namespace handheld::os
