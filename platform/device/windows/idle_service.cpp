#include "windows/idle_service.h"

#include "winerror.h"

namespace handheld::device {

IdleService::IdleService(Server& server, ProcessService& processes, UserClients& clients)
    : server_(server), processes_(processes), clients_(clients) {
  server_.onAsyncRequest<ipc::WaitIdle>(
      [this](Connection&, ipc::WaitIdle::Request& r, Responder<ipc::WaitIdle> responder) {
        const bool first = waiters_.empty();
        const uint64_t id = nextWaiter_++;
        auto timer = server_.loop().addTimer(
            EventLoop::Clock::now() + std::chrono::milliseconds(r.timeoutMs), [this, id] {
              auto it = waiters_.find(id);
              if (it == waiters_.end()) return;
              it->second.responder.send({WAIT_TIMEOUT});
              waiters_.erase(it);
            });
        waiters_.emplace(id, Waiter{std::move(responder), timer});
        if (first) {
          idle_.clear();
          for (auto& c : clients_.all()) ask(*c);
        }
        reconsider();
      });
  server_.onEvent<ipc::IdleAnswer>([this](Connection& c, ipc::IdleAnswer& answer) {
    auto it = asked_.find(c.id());
    if (it == asked_.end() || it->second != answer.queryId) return;  // an older question
    asked_.erase(it);
    idle_.insert(c.id());
    reconsider();
  });
  clients_.onAttach([this](Connection& c) {
    if (!waiters_.empty()) ask(c);
  });
  clients_.onDelivery([this](Connection& c) {
    if (!waiters_.empty()) ask(c);
  });
  clients_.onDetach([this](Connection& c) {
    forget(c);
    reconsider();
  });
  processes_.onExit([this](uint32_t) { reconsider(); });
}

void IdleService::ask(Connection& c) {
  const uint64_t query = nextQuery_++;
  asked_[c.id()] = query;
  idle_.erase(c.id());
  c.push(ipc::IdleQuery{query});
}

void IdleService::forget(const Connection& c) {
  asked_.erase(c.id());
  idle_.erase(c.id());
}

bool IdleService::settled() const {
  if (busy_ && busy_()) return false;
  for (const auto& c : clients_.all())
    if (!idle_.count(c->id())) return false;
  // Every device program attaches as it starts (before WinMain); until then it is starting.
  for (uint32_t pid : processes_.runningPrograms()) {
    auto c = server_.findProcess(pid);
    if (!c || !clients_.attached(*c)) return false;
  }
  return true;
}

void IdleService::reconsider() {
  if (waiters_.empty() || !settled()) return;
  for (auto& [id, waiter] : waiters_) {
    server_.loop().cancelTimer(waiter.timer);
    waiter.responder.send({0});
  }
  waiters_.clear();
  asked_.clear();
  idle_.clear();
}

}  // namespace handheld::device
