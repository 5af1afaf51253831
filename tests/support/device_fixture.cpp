#include "support/device_fixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>

#include "device_control.h"
#include "ipc/client.h"
#include "strings/utf.h"

namespace handheld::testing {

std::filesystem::path buildDir() { return HANDHELD_BUILD_DIR; }

TemporaryRoot::TemporaryRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "handheld-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  path_ = made ? made : pattern;
}

TemporaryRoot::~TemporaryRoot() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void DeviceFixture::SetUp() {
  // This test process is a device process of the device too.
  setenv("HANDHELD_ROOT", root().c_str(), 1);
  startDevice();
}

void DeviceFixture::TearDown() {
  if (running_) stopDevice();
}

void DeviceFixture::startDevice() {
  automation::StartOptions options;
  options.root = root();
  options.deviceBinary = buildDir() / "bin" / "handheld-device";
  options.startupPrograms = startupPrograms;
  // A test process that crashes or is killed takes its device with it.
  options.endWithProcess = getpid();
  std::string error;
  ASSERT_TRUE(automation::startDevice(options, error)) << error;
  running_ = true;
  client_.reset();
}

void DeviceFixture::stopDevice() {
  client_.reset();
  // This process may be a client of the device too; it should live on without it.
  if (auto* self = ipc::DeviceClient::current()) self->expectDisconnect();
  std::string error;
  EXPECT_TRUE(automation::stopDevice(root(), error)) << error;
  running_ = false;
}

automation::AutomationClient& DeviceFixture::device() {
  if (!client_) {
    std::string error;
    client_ = automation::AutomationClient::connect(root(), error);
    if (!client_) {
      ADD_FAILURE() << error;
      std::abort();
    }
  }
  return *client_;
}

std::u16string installTestProgram(const std::filesystem::path& root, const std::string& name) {
  std::string devicePath = "\\Tests\\" + name, error;
  if (!automation::installProgram(buildDir() / "bin" / "handheld-device", root,
                                  buildDir() / "tests" / "programs" / name, devicePath, error))
    ADD_FAILURE() << "cannot install " << name << ": " << error;
  return strings::fromUtf8(devicePath);
}

uint32_t DeviceFixture::run(const std::u16string& devicePath, const std::u16string& commandLine) {
  auto reply = device().call<ipc::StartProcess>({devicePath, commandLine});
  if (!reply || reply->error) {
    ADD_FAILURE() << "cannot start " << strings::toUtf8(devicePath) << " error "
                  << (reply ? reply->error : 0);
    return 0;
  }
  return reply->pid;
}

std::optional<uint32_t> DeviceFixture::waitExit(uint32_t pid, uint32_t timeoutMs) {
  auto reply = device().call<ipc::WaitProcessExit>({pid, timeoutMs});
  if (!reply || reply->error) return std::nullopt;
  return reply->exitCode;
}

int DeviceFixture::ctl(const std::string& arguments, std::string* out) {
  std::string command = (buildDir() / "bin" / "handheld-ctl").string() + " --root '" + root().string() +
                        "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string output;
  std::array<char, 256> buffer;
  while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
  int status = pclose(pipe);
  if (out) *out = output;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace handheld::testing
