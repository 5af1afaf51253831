#include "windows/user_clients.h"

#include <sys/stat.h>

#include <string>

namespace handheld::device {

namespace {
constexpr uint32_t kSerialBits = 20;  // window handles: (slot << 20) | serial
}

UserClients::UserClients(Server& server) : server_(server) {
  server_.onEvent<ipc::UserAttach>([this](Connection& c, ipc::UserAttach&) {
    if (c.kind != ipc::ClientKind::Process || !attached_.insert(c.id()).second) return;
    for (auto& f : attachListeners_) f(c);
  });
  server_.onDisconnect([this](Connection& c) {
    if (attached_.erase(c.id()) == 0) return;
    for (auto& f : detachListeners_) f(c);
  });
}

std::shared_ptr<Connection> UserClients::ownerOf(uint32_t handle) const {
  const uint32_t slot = handle >> kSerialBits;
  if (slot == 0 || (handle & ((1u << kSerialBits) - 1)) == 0) return nullptr;
  for (uint64_t id : attached_) {
    auto c = server_.find(id);
    if (c && c->windowSlot == slot) return c;
  }
  return nullptr;
}

std::shared_ptr<Connection> UserClients::byPid(uint32_t pid) const {
  for (uint64_t id : attached_) {
    auto c = server_.find(id);
    if (c && c->pid == pid) return c;
  }
  return nullptr;
}

std::shared_ptr<Connection> UserClients::runningThread(uint32_t threadId) const {
  if (threadId == 0) return nullptr;
  for (uint64_t id : attached_) {
    auto c = server_.find(id);
    if (!c) continue;
    struct stat info;
    std::string task = "/proc/" + std::to_string(c->pid) + "/task/" + std::to_string(threadId);
    if (stat(task.c_str(), &info) == 0) return c;
  }
  return nullptr;
}

std::vector<std::shared_ptr<Connection>> UserClients::all() const {
  std::vector<std::shared_ptr<Connection>> result;
  for (uint64_t id : attached_)
    if (auto c = server_.find(id)) result.push_back(std::move(c));
  return result;
}

}  // namespace handheld::device
