// Processes the device starts, watches and ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// The device runs at most this many programs at once; a start beyond it fails with
// ERROR_NOT_ENOUGH_QUOTA. A longer command line fails with ERROR_INVALID_PARAMETER.
inline constexpr size_t kMaxRunningPrograms = 64;
inline constexpr size_t kMaxCommandLine = 32 * 1024;

struct StartProcess {
  static constexpr Op op = Op::StartProcess;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::u16string devicePath;
    std::u16string commandLine;  // exactly what the program receives
    HANDHELD_FIELDS(devicePath, commandLine)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t pid = 0;
    Fd exited;  // eventfd signalled when the process has ended
    HANDHELD_FIELDS(error, pid, exited)
  };
};

struct ProcessState {
  static constexpr Op op = Op::ProcessState;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t pid = 0;
    HANDHELD_FIELDS(pid)
  };
  struct Reply {
    uint32_t error = 0;
    bool running = false;
    uint32_t exitCode = 0;
    Fd exited;
    HANDHELD_FIELDS(error, running, exitCode, exited)
  };
};

struct KillProcess {
  static constexpr Op op = Op::KillProcess;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t pid = 0;
    uint32_t exitCode = 0;
    HANDHELD_FIELDS(pid, exitCode)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Sent by a process just before it ends, with the code it ends with.
struct ProcessExiting {
  static constexpr Op op = Op::ProcessExiting;
  static constexpr Direction direction = Direction::Notice;
  uint32_t exitCode = 0;
  HANDHELD_FIELDS(exitCode)
};

struct ProcessEntry {
  uint32_t pid = 0;
  std::u16string devicePath;
  std::u16string commandLine;
  bool running = false;
  uint32_t exitCode = 0;
  HANDHELD_FIELDS(pid, devicePath, commandLine, running, exitCode)
};

struct ListProcesses {
  static constexpr Op op = Op::ListProcesses;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<ProcessEntry> processes;
    HANDHELD_FIELDS(processes)
  };
};

// Answered when the process has ended or the time is up (error WAIT_TIMEOUT).
struct WaitProcessExit {
  static constexpr Op op = Op::WaitProcessExit;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t pid = 0;
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(pid, timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t exitCode = 0;
    HANDHELD_FIELDS(error, exitCode)
  };
};

}  // namespace handheld::ipc
