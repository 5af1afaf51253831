// The device processes that use windows or messages (they said so with UserAttach): where a
// window handle or a thread id leads, and pushing work to them so that wait-idle hears of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include "server.h"

namespace handheld::device {

class UserClients {
 public:
  explicit UserClients(Server& server);

  bool attached(const Connection& c) const { return attached_.count(c.id()) > 0; }
  // The attached process whose window slot the handle carries, or null.
  std::shared_ptr<Connection> ownerOf(uint32_t handle) const;
  std::shared_ptr<Connection> byPid(uint32_t pid) const;
  // The attached process that runs a host thread, or null.
  std::shared_ptr<Connection> runningThread(uint32_t threadId) const;
  std::vector<std::shared_ptr<Connection>> all() const;

  // Work for a process: pushed, and the process no longer counts as idle.
  template <ipc::ServerPush E>
  void deliver(Connection& c, const E& event) {
    c.push(event);
    for (auto& f : deliveryListeners_) f(c);
  }
  void onDelivery(std::function<void(Connection&)> f) { deliveryListeners_.push_back(std::move(f)); }
  void onAttach(std::function<void(Connection&)> f) { attachListeners_.push_back(std::move(f)); }
  // Before the attached process's state is dropped (after the server's own hooks).
  void onDetach(std::function<void(Connection&)> f) { detachListeners_.push_back(std::move(f)); }

 private:
  Server& server_;
  std::unordered_set<uint64_t> attached_;
  std::vector<std::function<void(Connection&)>> deliveryListeners_;
  std::vector<std::function<void(Connection&)>> attachListeners_;
  std::vector<std::function<void(Connection&)>> detachListeners_;
};

}  // namespace handheld::device
