#include "process_service.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "fs/device_path.h"
#include "os/device_root.h"
#include "strings/utf.h"
#include "winerror.h"

extern char** environ;

namespace handheld::device {

namespace {

constexpr size_t kEndedKept = 256;

os::UniqueFd openPidfd(pid_t pid) {
  return os::UniqueFd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
}

// A bare program name is looked for in \Windows first, then in the root, as the device does.
fs::Result<std::filesystem::path> findImage(const std::u16string& devicePath) {
  if (devicePath.find(u'\\') == std::u16string::npos) {
    auto image = fs::resolveDeviceImage(u"\\Windows\\" + devicePath);
    if (image || image.error() == ERROR_ACCESS_DENIED) return image;
  }
  return fs::resolveDeviceImage(devicePath);
}

void signalEvent(const os::UniqueFd& fd) {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(fd.get(), &one, sizeof one);
}

}  // namespace

ProcessService::ProcessService(Server& server) : server_(server) {
  server_.onHello([this](Connection& c, ipc::Hello::Reply& reply) {
    if (c.kind != ipc::ClientKind::Process) return;
    auto it = records_.find(c.pid);
    if (it == records_.end()) {
      track(c.pid, false);  // started outside the device, e.g. by a test
    } else {
      reply.modulePath = it->second.devicePath;
      reply.commandLine = it->second.commandLine;
    }
  });
  server_.onEvent<ipc::ProcessExiting>([this](Connection& c, ipc::ProcessExiting& e) {
    auto it = records_.find(c.pid);
    if (it != records_.end() && c.kind == ipc::ClientKind::Process) it->second.reportedExit = e.exitCode;
  });
  // A program's debug line, tagged with who wrote it (the log itself keeps one line one line).
  server_.onEvent<ipc::DebugOutput>([this](Connection& c, ipc::DebugOutput& e) {
    if (c.kind != ipc::ClientKind::Process) return;
    const std::u16string_view text = std::u16string_view(e.text).substr(0, ipc::kMaxDebugLine);
    auto it = records_.find(c.pid);
    const std::string who = it != records_.end() && !it->second.devicePath.empty()
                                ? strings::toUtf8(it->second.devicePath)
                                : std::string("process");
    server_.log().write(who + " (" + std::to_string(c.pid) + "): " + strings::toUtf8(text));
  });
  server_.onRequest<ipc::StartProcess>([this](Connection&, ipc::StartProcess::Request& r) {
    ipc::StartProcess::Reply reply;
    reply.error = launch(r.devicePath, r.commandLine, reply.pid);
    if (reply.error == 0)
      reply.exited.fd = os::UniqueFd(fcntl(records_.at(reply.pid).exited.get(), F_DUPFD_CLOEXEC, 0));
    return reply;
  });
  server_.onRequest<ipc::ProcessState>([this](Connection&, ipc::ProcessState::Request& r) {
    ipc::ProcessState::Reply reply;
    auto it = records_.find(r.pid);
    if (it == records_.end()) {
      reply.error = ERROR_INVALID_PARAMETER;
      return reply;
    }
    reply.running = it->second.running;
    reply.exitCode = it->second.exitCode;
    reply.exited.fd = os::UniqueFd(fcntl(it->second.exited.get(), F_DUPFD_CLOEXEC, 0));
    return reply;
  });
  server_.onRequest<ipc::KillProcess>([this](Connection&, ipc::KillProcess::Request& r) {
    auto it = records_.find(r.pid);
    if (it == records_.end() || !it->second.running)
      return ipc::KillProcess::Reply{ERROR_INVALID_PARAMETER};
    it->second.terminateCode = r.exitCode;
    ::kill(static_cast<pid_t>(r.pid), SIGKILL);
    return ipc::KillProcess::Reply{0};
  });
  server_.onRequest<ipc::ListProcesses>([this](Connection&, ipc::ListProcesses::Request&) {
    ipc::ListProcesses::Reply reply;
    for (auto& [pid, r] : records_)
      reply.processes.push_back({pid, r.devicePath, r.commandLine, r.running, r.exitCode});
    return reply;
  });
  server_.onAsyncRequest<ipc::WaitProcessExit>(
      [this](Connection&, ipc::WaitProcessExit::Request& r, Responder<ipc::WaitProcessExit> responder) {
        waitFor(r.pid, r.timeoutMs, std::move(responder));
      });
}

ProcessService::~ProcessService() {
  for (auto& [pid, r] : records_)
    if (r.pidfd) server_.loop().unwatch(r.pidfd.get());
}

ProcessService::Record& ProcessService::track(uint32_t pid, bool launched) {
  Record& r = records_[pid];
  r.pid = pid;
  r.launched = launched;
  r.exited = os::UniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  r.pidfd = openPidfd(static_cast<pid_t>(pid));
  if (r.pidfd) {
    server_.loop().watch(r.pidfd.get(), EPOLLIN, [this, pid](uint32_t) { processEnded(pid); });
  }
  return r;
}

uint32_t ProcessService::launch(const std::u16string& devicePath, const std::u16string& commandLine,
                                uint32_t& pid) {
  if (runningCount() >= ipc::kMaxRunningPrograms) return ERROR_NOT_ENOUGH_QUOTA;
  if (commandLine.size() > ipc::kMaxCommandLine) return ERROR_INVALID_PARAMETER;
  // A path that is no device path at all (one that climbs out of the root, say) is refused
  // as such, before looking for a program.
  if (auto names = fs::splitDevicePath(devicePath); !names) return names.error();
  auto image = findImage(devicePath);
  if (!image && image.error() == ERROR_ACCESS_DENIED) {
    server_.log().write("refused to start " + strings::toUtf8(devicePath) +
                        ": a link the device image did not place");
    return ERROR_ACCESS_DENIED;
  }
  if (!image) return ERROR_FILE_NOT_FOUND;
  std::string hostPath = image->string();
  std::string socketVar = "HANDHELD_SOCKET=" + os::deviceSocketPath(server_.root()).string();
  std::string rootVar = "HANDHELD_ROOT=" + server_.root().string();
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "HANDHELD_SOCKET=", 16) == 0 || std::strncmp(*e, "HANDHELD_ROOT=", 14) == 0)
      continue;
    env.push_back(*e);
  }
  env.push_back(socketVar.data());
  env.push_back(rootVar.data());
  env.push_back(nullptr);
  char* argv[] = {hostPath.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t child = 0;
  int rc = posix_spawn(&child, hostPath.c_str(), &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc == ENOEXEC ? ERROR_BAD_EXE_FORMAT : ERROR_FILE_NOT_FOUND;

  pid = static_cast<uint32_t>(child);
  Record& r = track(pid, true);
  r.devicePath = devicePath;
  r.commandLine = commandLine;
  server_.log().write("started " + strings::toUtf8(devicePath) + " as process " + std::to_string(pid));
  return 0;
}

void ProcessService::processEnded(uint32_t pid) {
  auto it = records_.find(pid);
  if (it == records_.end() || !it->second.running) return;
  Record& r = it->second;
  server_.loop().unwatch(r.pidfd.get());
  int status = 0;
  bool reaped = r.launched && ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG) == static_cast<pid_t>(pid);
  if (r.terminateCode) {
    r.exitCode = *r.terminateCode;
  } else if (r.reportedExit) {
    r.exitCode = *r.reportedExit;
  } else if (reaped && WIFEXITED(status)) {
    r.exitCode = static_cast<uint32_t>(WEXITSTATUS(status));
  } else if (reaped && WIFSIGNALED(status)) {
    r.exitCode = 128u + static_cast<uint32_t>(WTERMSIG(status));
  }
  r.running = false;
  r.pidfd.reset();
  signalEvent(r.exited);
  if (r.launched)
    server_.log().write("process " + std::to_string(pid) + " ended with " + std::to_string(r.exitCode));
  for (auto& [id, waiter] : r.waiters) {
    server_.loop().cancelTimer(waiter.timer);
    waiter.responder.send({0, r.exitCode});
  }
  r.waiters.clear();
  endedOrder_.push_back(pid);
  for (auto& f : exitListeners_) f(pid);
  forgetOldRecords();
}

void ProcessService::forgetOldRecords() {
  while (endedOrder_.size() > kEndedKept) {
    records_.erase(endedOrder_.front());
    endedOrder_.erase(endedOrder_.begin());
  }
}

void ProcessService::waitFor(uint32_t pid, uint32_t timeoutMs,
                             Responder<ipc::WaitProcessExit> responder) {
  auto it = records_.find(pid);
  if (it == records_.end()) return responder.send({ERROR_INVALID_PARAMETER, 0});
  if (!it->second.running) return responder.send({0, it->second.exitCode});
  uint64_t id = nextWaiter_++;
  Waiter& waiter = it->second.waiters.emplace(id, Waiter{std::move(responder), 0}).first->second;
  waiter.timer = server_.loop().addTimer(
      EventLoop::Clock::now() + std::chrono::milliseconds(timeoutMs), [this, pid, id] {
        auto rec = records_.find(pid);
        if (rec == records_.end()) return;
        auto w = rec->second.waiters.find(id);
        if (w == rec->second.waiters.end()) return;
        w->second.responder.send({WAIT_TIMEOUT, 0});
        rec->second.waiters.erase(w);
      });
}

std::vector<uint32_t> ProcessService::runningPrograms() const {
  std::vector<uint32_t> pids;
  for (auto& [pid, r] : records_)
    if (r.running && r.launched) pids.push_back(pid);
  return pids;
}

size_t ProcessService::runningCount() const {
  size_t n = 0;
  for (auto& [pid, r] : records_) n += r.running ? 1 : 0;
  return n;
}

void ProcessService::terminateAll() {
  for (auto& [pid, r] : records_)
    if (r.running && r.launched) ::kill(static_cast<pid_t>(pid), SIGTERM);
}

}  // namespace handheld::device
