// Each test gets a fresh device root in a temporary folder (HANDHELD_ROOT and the process's
// root), plus a scratch folder outside it for links to point at.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fs/root.h"

class DeviceRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/handheld-fs-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    base_ = pattern;
    root_ = base_ / "root";
    outside_ = base_ / "outside";
    std::filesystem::create_directories(root_ / ".device");
    std::filesystem::create_directories(outside_);
    ::setenv("HANDHELD_ROOT", root_.c_str(), 1);
    ASSERT_EQ(handheld::fs::useProcessRoot(root_), DWORD{ERROR_SUCCESS});
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(base_, ignored);
  }

  static void writeHost(const std::filesystem::path& path, const std::string& data) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
  }
  static std::string readHost(const std::filesystem::path& path) {
    std::string data(std::filesystem::file_size(path), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    return data;
  }

  std::filesystem::path base_, root_, outside_;
};

// A handle that closes itself.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};
