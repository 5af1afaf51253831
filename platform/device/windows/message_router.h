// Messages between processes: sends kept in flight until the receiver answers (or ends, or
// its window is gone: then 0; or an automation send's time runs out: then ERROR_TIMEOUT),
// posts until the receiver has queued them (to a top-level window: counted against its
// thread's queue until taken), and questions about a process's windows. Only the receiver a
// send went to may answer it; every handle is checked against the process that owns its slot.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <unordered_map>

#include "server.h"
#include "windows/user_clients.h"
#include "windows/window_registry.h"

namespace handheld::device {

class MessageRouter {
 public:
  MessageRouter(Server& server, UserClients& clients, TopLevelRegistry& windows);

  bool inFlight() const { return !inFlight_.empty(); }
  // Called when a send completes (wait-idle may be done).
  void onSettle(std::function<void()> f) { settled_ = std::move(f); }

 private:
  using Done = std::function<void(uint32_t error, int64_t result)>;
  struct InFlight {
    uint64_t receiver;  // connection id
    uint64_t sender;    // connection id, for its limit
    Done done;
    EventLoop::TimerId timer = 0;  // posts, and automation sends given a time limit
  };
  struct Question {
    uint64_t process;  // connection id
    Responder<ipc::WindowDescribe> responder;
    EventLoop::TimerId timer = 0;
  };

  // The delivery id while the send is in flight; 0 when done has been told already (or a
  // notification needs no answer).
  uint64_t send(uint64_t sender, uint32_t handle, uint32_t message, uint64_t wParam, int64_t lParam,
                bool notify, Done done);
  void post(uint64_t sender, const ipc::MessagePost::Request& request, Done done);
  // Keeps a delivery in flight; 0 (done already told) when the sender has too many.
  uint64_t track(const Connection& receiver, uint64_t sender, Done done);
  void answerQuestion(uint64_t queryId, ipc::WindowDescribe::Reply reply);
  void describe(const ipc::WindowDescribe::Request& request, Responder<ipc::WindowDescribe> responder);
  void finish(uint64_t deliveryId, uint32_t error, int64_t result);
  void receiverGone(const Connection& c);

  Server& server_;
  UserClients& clients_;
  TopLevelRegistry& windows_;
  std::unordered_map<uint64_t, InFlight> inFlight_;  // by delivery id
  uint64_t nextDelivery_ = 1;
  // Posts answered here and not yet taken by the receiving thread, by (connection, thread).
  std::map<std::pair<uint64_t, uint32_t>, size_t> untakenPosts_;
  std::unordered_map<uint64_t, Question> questions_;  // by query id
  uint64_t nextQuestion_ = 1;
  std::function<void()> settled_;
};

}  // namespace handheld::device
