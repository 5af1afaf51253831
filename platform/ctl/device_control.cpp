#include "device_control.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "automation_client.h"
#include "os/device_root.h"
#include "os/unique_fd.h"

namespace handheld::automation {

std::filesystem::path deviceBinaryBesideSelf() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "handheld-device";
}

namespace {

std::string readAll(int fd) {
  std::string text;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

}  // namespace

bool startDevice(const StartOptions& options, std::string& error) {
  int ready[2], messages[2];
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(messages, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  os::UniqueFd readyRead(ready[0]), readyWrite(ready[1]);
  os::UniqueFd messageRead(messages[0]), messageWrite(messages[1]);
  std::string readyArg = std::to_string(ready[1]);
  std::vector<std::string> args = {options.deviceBinary.string(), "--root", options.root.string(),
                                   "--ready-fd", readyArg, "--screen", options.screen};
  if (options.headless) args.push_back("--headless");
  if (!options.startupPrograms) args.push_back("--no-startup");
  if (options.endWithProcess > 0) {
    args.push_back("--end-with");
    args.push_back(std::to_string(options.endWithProcess));
  }
  if (options.scale) {
    args.push_back("--scale");
    args.push_back(std::to_string(options.scale));
  }

  pid_t child = fork();
  if (child < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    return false;
  }
  if (child == 0) {
    setsid();  // the device outlives this terminal session
    int devnull = ::open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(messages[1], 2);  // until the device has its log, its complaints come back here
    fcntl(ready[1], F_SETFD, 0);
    // Double fork so the device is not our child and nobody has to reap it.
    if (fork() != 0) _exit(0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
  }
  waitpid(child, nullptr, 0);
  readyWrite.reset();
  messageWrite.reset();
  pollfd p{readyRead.get(), POLLIN, 0};
  int n;
  do {
    n = ::poll(&p, 1, options.readyTimeoutMs);
  } while (n < 0 && errno == EINTR);
  char byte = 0;
  if (n > 0 && ::read(readyRead.get(), &byte, 1) == 1) return true;
  if (n == 0) {
    error = "the device did not become ready in time; see " +
            os::deviceStateFile(options.root, "device.log").string();
    return false;
  }
  error = readAll(messageRead.get());
  while (!error.empty() && error.back() == '\n') error.pop_back();
  if (error.empty()) error = "the device ended before it was ready";
  return false;
}

bool stopDevice(const std::filesystem::path& root, std::string& error) {
  auto client = AutomationClient::connect(root, error);
  if (!client) return false;
  if (!client->call<ipc::DeviceStop>({})) {
    error = "the device did not take the stop request";
    return false;
  }
  // The server holds its lock until it has ended; taking it means it is gone.
  os::UniqueFd lock(::open(os::deviceStateFile(root, "lock").c_str(), O_RDWR | O_CLOEXEC));
  if (lock) flock(lock.get(), LOCK_EX);
  return true;
}

bool installProgram(const std::filesystem::path& deviceBinary, const std::filesystem::path& root,
                    const std::filesystem::path& hostFile, const std::string& devicePath,
                    std::string& error) {
  int messages[2];
  if (pipe2(messages, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  os::UniqueFd messageRead(messages[0]), messageWrite(messages[1]);
  std::vector<std::string> args = {deviceBinary.string(), "--root", root.string(), "--install",
                                   hostFile.string(), devicePath};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    return false;
  }
  if (child == 0) {
    dup2(messages[1], 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  messageWrite.reset();
  error = readAll(messageRead.get());
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  while (!error.empty() && error.back() == '\n') error.pop_back();
  if (error.empty()) error = "cannot run " + deviceBinary.string();
  return false;
}

}  // namespace handheld::automation
