#include "bench_device.h"

#include <stdlib.h>

#include <cstdio>

#include "device_control.h"
#include "ipc/client.h"
#include "strings/utf.h"

namespace handheld::bench {

BenchDevice::BenchDevice(bool startupPrograms) {
  std::string pattern = (std::filesystem::temp_directory_path() / "handheld-bench-XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  setenv("HANDHELD_ROOT", root_.c_str(), 1);
  automation::StartOptions options;
  options.root = root_;
  options.deviceBinary = std::filesystem::path(HANDHELD_BUILD_DIR) / "bin" / "handheld-device";
  options.startupPrograms = startupPrograms;
  std::string error;
  if (!automation::startDevice(options, error)) {
    std::fprintf(stderr, "cannot start a device: %s\n", error.c_str());
    std::exit(1);
  }
}

BenchDevice::~BenchDevice() {
  if (auto* self = ipc::DeviceClient::current()) self->expectDisconnect();
  std::string error;
  automation::stopDevice(root_, error);
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::u16string BenchDevice::install(const std::string& testProgram) const {
  const std::filesystem::path build = HANDHELD_BUILD_DIR;
  std::string devicePath = "\\Tests\\" + testProgram, error;
  if (!automation::installProgram(build / "bin" / "handheld-device", root_,
                                  build / "tests" / "programs" / testProgram, devicePath, error)) {
    std::fprintf(stderr, "cannot install %s: %s\n", testProgram.c_str(), error.c_str());
    std::exit(1);
  }
  return strings::fromUtf8(devicePath);
}

}  // namespace handheld::bench
