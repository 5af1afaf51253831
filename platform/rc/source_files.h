// Where the compiler reads scripts, headers and embedded files from: the host file system,
// or memory (the fuzz target and unit tests).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace handheld::rc {

class SourceFiles {
 public:
  virtual ~SourceFiles() = default;
  // The file's bytes, or nothing when it cannot be read.
  virtual std::optional<std::string> read(const std::filesystem::path& path) = 0;
};

class DiskFiles final : public SourceFiles {
 public:
  std::optional<std::string> read(const std::filesystem::path& path) override;
};

class MemoryFiles final : public SourceFiles {
 public:
  void add(const std::filesystem::path& path, std::string content) {
    files_[path.lexically_normal()] = std::move(content);
  }
  std::optional<std::string> read(const std::filesystem::path& path) override {
    auto it = files_.find(path.lexically_normal());
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::filesystem::path, std::string> files_;
};

}  // namespace handheld::rc
