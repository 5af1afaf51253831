// The device's clipboard: formats with their bytes, in the order they were set, kept here so
// that they outlive the process that put them. One thread of one process has it open at a
// time; the opener's end releases it, and the owner window goes with its process while the
// data stays.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "process_service.h"
#include "server.h"
#include "windows/user_clients.h"

namespace handheld::device {

class ClipboardService {
 public:
  ClipboardService(Server& server, ProcessService& processes, UserClients& clients);

 private:
  struct Opener {
    uint64_t connection;
    uint32_t pid;
    uint32_t threadId;
    uint32_t window;
  };

  bool openBy(const Connection& c, uint32_t threadId) const;
  // A process has gone (its end, or its connection's, whichever the server sees first).
  void processGone(uint64_t connection, uint32_t pid);
  uint32_t put(uint32_t format, ipc::Bytes data);

  UserClients& clients_;
  std::optional<Opener> opener_;
  std::vector<std::pair<uint32_t, ipc::Bytes>> formats_;
  size_t totalBytes_ = 0;
  uint32_t owner_ = 0;
  uint64_t ownerConnection_ = 0;
  uint32_t ownerPid_ = 0;
};

}  // namespace handheld::device
