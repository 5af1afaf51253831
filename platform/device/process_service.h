// The process table and launcher: starts device programs from their device path, tracks every
// device process (also those started outside, which announce themselves), keeps exit codes for
// those who wait, and frees what a process held when it ends.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "server.h"

namespace handheld::device {

class ProcessService {
 public:
  explicit ProcessService(Server& server);
  ~ProcessService();

  // Starts a device program; returns the error code (0) and the pid.
  uint32_t launch(const std::u16string& devicePath, const std::u16string& commandLine,
                  uint32_t& pid);
  size_t runningCount() const;
  // The programs the device started that still run.
  std::vector<uint32_t> runningPrograms() const;
  // Listeners learn of each process's end (windows, objects and the like are dropped there).
  void onExit(std::function<void(uint32_t pid)> f) { exitListeners_.push_back(std::move(f)); }
  // Ends every running device process (the device is stopping).
  void terminateAll();

 private:
  struct Waiter {
    Responder<ipc::WaitProcessExit> responder;
    EventLoop::TimerId timer = 0;
  };
  struct Record {
    uint32_t pid = 0;
    std::u16string devicePath;
    std::u16string commandLine;
    bool launched = false;  // our child: we reap it
    bool running = true;
    std::optional<uint32_t> reportedExit;
    std::optional<uint32_t> terminateCode;
    uint32_t exitCode = 0;
    os::UniqueFd pidfd;
    os::UniqueFd exited;  // eventfd signalled once the process has ended
    std::map<uint64_t, Waiter> waiters;
  };

  Record& track(uint32_t pid, bool launched);
  void processEnded(uint32_t pid);
  void forgetOldRecords();
  void waitFor(uint32_t pid, uint32_t timeoutMs, Responder<ipc::WaitProcessExit> responder);

  Server& server_;
  std::map<uint32_t, Record> records_;
  std::vector<uint32_t> endedOrder_;
  uint64_t nextWaiter_ = 1;
  std::vector<std::function<void(uint32_t)>> exitListeners_;
};

}  // namespace handheld::device
