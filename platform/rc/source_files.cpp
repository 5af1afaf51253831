#include "source_files.h"

#include <fstream>
#include <system_error>

namespace handheld::rc {

std::optional<std::string> DiskFiles::read(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  auto size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string content(size, '\0');
  if (!in.read(content.data(), static_cast<std::streamsize>(size))) return std::nullopt;
  return content;
}

}  // namespace handheld::rc
