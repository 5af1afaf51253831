// A headless device in a temporary root for the length of a benchmark run.
#pragma once

#include <filesystem>
#include <string>

namespace handheld::bench {

class BenchDevice {
 public:
  // Starts the device and makes this process one of its clients; the device's start-up
  // programs (the shell) only when asked, so that other benchmarks measure nothing else.
  explicit BenchDevice(bool startupPrograms = false);
  ~BenchDevice();
  BenchDevice(const BenchDevice&) = delete;
  BenchDevice& operator=(const BenchDevice&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // Installs a test program into the device as \Tests\<name> (the image's install step).
  std::u16string install(const std::string& testProgram) const;

 private:
  std::filesystem::path root_;
};

}  // namespace handheld::bench
