// wait-idle: answered once every attached process says it is idle (each thread waits with
// an empty queue and nothing to paint), no message is on its way between processes, and
// every program the device started has connected. A process that is sent work after it
// answered is asked again. Nothing polls: everything here happens on events.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "process_service.h"
#include "server.h"
#include "windows/user_clients.h"

namespace handheld::device {

class IdleService {
 public:
  IdleService(Server& server, ProcessService& processes, UserClients& clients);

  // What else keeps the device busy (messages in flight between processes).
  void setBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }
  // Something changed that may complete a wait (a message arrived at its receiver).
  void reconsider();

 private:
  struct Waiter {
    Responder<ipc::WaitIdle> responder;
    EventLoop::TimerId timer = 0;
  };

  void ask(Connection& c);
  void forget(const Connection& c);
  bool settled() const;

  Server& server_;
  ProcessService& processes_;
  UserClients& clients_;
  std::function<bool()> busy_;
  std::map<uint64_t, Waiter> waiters_;
  uint64_t nextWaiter_ = 1;
  std::unordered_map<uint64_t, uint64_t> asked_;  // connection -> question not yet answered
  std::unordered_set<uint64_t> idle_;             // connections that answered the latest question
  uint64_t nextQuery_ = 1;
};

}  // namespace handheld::device
