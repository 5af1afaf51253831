// A device tied to a process ends with it, so a test that crashes or is killed leaves no
// device behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "device_control.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

// Whether the device of `root` released its lock within `seconds`.
bool deviceEnded(const std::filesystem::path& root, int seconds) {
  const int lock = ::open((root / ".device" / "lock").c_str(), O_RDWR | O_CLOEXEC);
  if (lock < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  bool free = false;
  while (!(free = flock(lock, LOCK_EX | LOCK_NB) == 0) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::close(lock);
  return free;
}

automation::StartOptions optionsFor(const TemporaryRoot& root, pid_t endWith) {
  automation::StartOptions options;
  options.root = root.path();
  options.deviceBinary = buildDir() / "bin" / "handheld-device";
  options.startupPrograms = false;
  options.endWithProcess = endWith;
  return options;
}

TEST(DeviceLifetime, EndsWithTheProcessItIsTiedTo) {
  TemporaryRoot root;
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    pause();
    _exit(0);
  }
  std::string error;
  ASSERT_TRUE(automation::startDevice(optionsFor(root, holder), error)) << error;
  EXPECT_FALSE(deviceEnded(root.path(), 0));

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(deviceEnded(root.path(), 10));
  std::stringstream log;
  log << std::ifstream(root.path() / ".device" / "device.log").rdbuf();
  EXPECT_NE(log.str().find("ended; the device stops with it"), std::string::npos) << log.str();
}

TEST(DeviceLifetime, AProcessGoneAlreadyIsRefused) {
  TemporaryRoot root;
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  std::string error;
  EXPECT_FALSE(automation::startDevice(optionsFor(root, gone), error));
  EXPECT_NE(error.find("is gone"), std::string::npos) << error;
  EXPECT_TRUE(deviceEnded(root.path(), 0));
}

}  // namespace
}  // namespace handheld::testing
