// A fresh headless device in a temporary root for one test, and ways to drive it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "automation_client.h"

namespace handheld::testing {

class TemporaryRoot {
 public:
  TemporaryRoot();
  ~TemporaryRoot();
  TemporaryRoot(const TemporaryRoot&) = delete;
  TemporaryRoot& operator=(const TemporaryRoot&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Places the test program `name` (from build/tests/programs) at \Tests\<name> of `root`
// through the device's install step (`handheld-device --install`); a hand-made link would
// not start. Returns the device path, or adds a test failure.
std::u16string installTestProgram(const std::filesystem::path& root, const std::string& name);

class DeviceFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& root() const { return root_.path(); }
  // Whether the device starts its start-up programs (the shell); set before SetUp. Off, so
  // that a test sees only the windows and processes it makes.
  bool startupPrograms = false;
  std::filesystem::path hostPath(const std::string& relative) const { return root() / relative; }
  automation::AutomationClient& device();

  // Starts (again) / stops the device on the same root.
  void startDevice();
  void stopDevice();

  // Places the test program `name` (from build/tests/programs) at \Tests\<name>.
  std::u16string installTestProgram(const std::string& name) {
    return testing::installTestProgram(root(), name);
  }
  // Starts a device program; the pid, or 0 with a test failure.
  uint32_t run(const std::u16string& devicePath, const std::u16string& commandLine = u"");
  // The exit code, or nullopt on time-out.
  std::optional<uint32_t> waitExit(uint32_t pid, uint32_t timeoutMs = 10000);

  // Runs handheld-ctl on this root; returns its exit code and its output in `out`.
  int ctl(const std::string& arguments, std::string* out = nullptr);

 private:
  TemporaryRoot root_;
  std::optional<automation::AutomationClient> client_;
  bool running_ = false;
};

std::filesystem::path buildDir();

}  // namespace handheld::testing
