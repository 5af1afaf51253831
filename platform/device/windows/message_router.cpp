#include "windows/message_router.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "winerror.h"

namespace handheld::device {

namespace {
// A process has few threads, each waiting for at most a few nested sends; posts are
// acknowledged at once.
constexpr size_t kMaxPendingPerSender = 256;
constexpr size_t kMaxQuestions = 256;
// A process that does not acknowledge a post (stopped, or hostile) does not hold the poster
// up for longer: the post counts as delivered. A question about its windows fails.
constexpr auto kPostAcknowledgeTime = std::chrono::seconds(1);
constexpr auto kQuestionTime = std::chrono::seconds(2);
// A thread's queue holds this many posted messages, from its own process or others.
constexpr size_t kMaxUntakenPosts = 10000;
}  // namespace

MessageRouter::MessageRouter(Server& server, UserClients& clients, TopLevelRegistry& windows)
    : server_(server), clients_(clients), windows_(windows) {
  server_.onEvent<ipc::MessageSend>([this](Connection& c, ipc::MessageSend& m) {
    std::weak_ptr<Connection> weak = server_.find(c.id());
    const uint64_t sendId = m.sendId;
    Done done = [this, weak, sendId](uint32_t error, int64_t result) {
      if (auto sender = weak.lock()) clients_.deliver(*sender, ipc::MessageSendDone{sendId, error, result});
    };
    send(c.id(), m.handle, m.message, m.wParam, m.lParam, m.notifyOnly, m.notifyOnly ? Done{} : done);
  });
  server_.onEvent<ipc::MessageResult>([this](Connection& c, ipc::MessageResult& r) {
    auto it = inFlight_.find(r.deliveryId);
    if (it == inFlight_.end() || it->second.receiver != c.id()) return;  // not asked of it
    finish(r.deliveryId, r.error, r.result);
  });
  server_.onAsyncRequest<ipc::AutomationSend>(
      [this](Connection& c, ipc::AutomationSend::Request& r, Responder<ipc::AutomationSend> responder) {
        const uint64_t id = send(c.id(), r.handle, r.message, r.wParam, r.lParam, false,
                                 [responder](uint32_t error, int64_t result) { responder.send({error, result}); });
        // Past its time the send is given up; finish() drops it, so a late answer finds nothing.
        if (id && r.timeoutMs)
          inFlight_.at(id).timer = server_.loop().addTimer(
              EventLoop::Clock::now() + std::chrono::milliseconds(r.timeoutMs),
              [this, id] { finish(id, ERROR_TIMEOUT, 0); });
      });
  server_.onAsyncRequest<ipc::MessagePost>(
      [this](Connection& c, ipc::MessagePost::Request& r, Responder<ipc::MessagePost> responder) {
        post(c.id(), r, [responder](uint32_t error, int64_t) { responder.send({error}); });
      });
  server_.onAsyncRequest<ipc::WindowDescribe>(
      [this](Connection&, ipc::WindowDescribe::Request& r, Responder<ipc::WindowDescribe> responder) {
        describe(r, std::move(responder));
      });
  server_.onEvent<ipc::DescribeAnswer>([this](Connection& c, ipc::DescribeAnswer& a) {
    auto it = questions_.find(a.queryId);
    if (it == questions_.end() || it->second.process != c.id()) return;
    for (auto& w : a.windows) w.pid = c.pid;  // the process does not vouch for itself
    // Menu items only of windows the process answered with: it speaks for no other window.
    std::erase_if(a.menuItems, [&](const ipc::MenuItemRecord& item) {
      return std::none_of(a.windows.begin(), a.windows.end(),
                          [&](const ipc::WindowRecord& w) { return w.handle == item.window; });
    });
    answerQuestion(a.queryId, {a.error, std::move(a.windows), std::move(a.menuItems)});
  });
  server_.onEvent<ipc::PostsTaken>([this](Connection& c, ipc::PostsTaken& taken) {
    auto it = untakenPosts_.find({c.id(), taken.threadId});
    if (it == untakenPosts_.end()) return;  // nothing it was counted
    it->second -= std::min<size_t>(it->second, taken.count);
    if (it->second == 0) untakenPosts_.erase(it);
  });
  clients_.onDetach([this](Connection& c) { receiverGone(c); });
  // A sender that went away waits for nothing: the receiver's late answer is dropped.
  server_.onDisconnect([this](Connection& c) {
    const auto dropped = std::erase_if(inFlight_, [&](const auto& entry) {
      if (entry.second.sender != c.id()) return false;
      if (entry.second.timer) server_.loop().cancelTimer(entry.second.timer);
      return true;
    });
    if (dropped && settled_) settled_();
  });
}

uint64_t MessageRouter::send(uint64_t sender, uint32_t handle, uint32_t message, uint64_t wParam,
                             int64_t lParam, bool notify, Done done) {
  auto receiver = clients_.ownerOf(handle);
  if (!receiver) {
    if (done) done(ERROR_INVALID_WINDOW_HANDLE, 0);
    return 0;
  }
  if (notify) {
    clients_.deliver(*receiver, ipc::MessageDeliver{0, ipc::Delivery::Notify, handle, 0, message, wParam, lParam});
    return 0;
  }
  const uint64_t id = track(*receiver, sender, std::move(done));
  if (!id) return 0;
  clients_.deliver(*receiver, ipc::MessageDeliver{id, ipc::Delivery::Send, handle, 0, message, wParam, lParam});
  return id;
}

void MessageRouter::post(uint64_t sender, const ipc::MessagePost::Request& r, Done done) {
  auto receiver = r.handle ? clients_.ownerOf(r.handle) : clients_.runningThread(r.threadId);
  if (!receiver) return done(r.handle ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_THREAD_ID, 0);
  const auto kind = r.handle ? ipc::Delivery::Post : ipc::Delivery::ThreadPost;
  if (const auto* known = r.handle ? windows_.find(r.handle) : nullptr) {
    // A top-level window the table knows: delivered without waiting for the receiver, which
    // reports when its thread has taken it.
    size_t& untaken = untakenPosts_[{receiver->id(), known->threadId}];
    if (untaken >= kMaxUntakenPosts) return done(ERROR_NOT_ENOUGH_QUOTA, 0);
    ++untaken;
    clients_.deliver(*receiver, ipc::MessageDeliver{0, kind, r.handle, known->threadId, r.message, r.wParam, r.lParam});
    return done(0, 0);
  }
  // Otherwise the receiver acknowledges (its reader thread queues the message), so a post to
  // a window or thread that does not exist fails as it would within a process.
  const uint64_t id = track(*receiver, sender, std::move(done));
  if (!id) return;
  inFlight_.at(id).timer =
      server_.loop().addTimer(EventLoop::Clock::now() + kPostAcknowledgeTime, [this, id] { finish(id, 0, 0); });
  clients_.deliver(*receiver, ipc::MessageDeliver{id, kind, r.handle, r.threadId, r.message, r.wParam, r.lParam});
}

uint64_t MessageRouter::track(const Connection& receiver, uint64_t sender, Done done) {
  const size_t pending = std::count_if(inFlight_.begin(), inFlight_.end(),
                                       [&](const auto& entry) { return entry.second.sender == sender; });
  if (pending >= kMaxPendingPerSender) {
    done(ERROR_NOT_ENOUGH_QUOTA, 0);
    return 0;
  }
  const uint64_t id = nextDelivery_++;
  inFlight_.emplace(id, InFlight{receiver.id(), sender, std::move(done)});
  return id;
}

void MessageRouter::describe(const ipc::WindowDescribe::Request& r,
                             Responder<ipc::WindowDescribe> responder) {
  if (r.handle && !r.tree) {
    if (const auto* known = windows_.find(r.handle)) return responder.send({0, {*known}, {}});
  }
  auto process = r.handle ? clients_.ownerOf(r.handle) : clients_.byPid(r.pid);
  if (!process) return responder.send({ERROR_INVALID_WINDOW_HANDLE, {}, {}});
  if (questions_.size() >= kMaxQuestions) return responder.send({ERROR_BUSY, {}, {}});
  const uint64_t id = nextQuestion_++;
  auto timer = server_.loop().addTimer(EventLoop::Clock::now() + kQuestionTime,
                                       [this, id] { answerQuestion(id, {ERROR_TIMEOUT, {}, {}}); });
  questions_.emplace(id, Question{process->id(), std::move(responder), timer});
  process->push(ipc::DescribeQuery{id, r.handle, r.handle == 0 || r.tree});
}

void MessageRouter::answerQuestion(uint64_t queryId, ipc::WindowDescribe::Reply reply) {
  auto it = questions_.find(queryId);
  if (it == questions_.end()) return;
  server_.loop().cancelTimer(it->second.timer);
  it->second.responder.send(reply);
  questions_.erase(it);
}

void MessageRouter::finish(uint64_t deliveryId, uint32_t error, int64_t result) {
  auto it = inFlight_.find(deliveryId);
  if (it == inFlight_.end()) return;
  Done done = std::move(it->second.done);
  if (it->second.timer) server_.loop().cancelTimer(it->second.timer);
  inFlight_.erase(it);
  if (done) done(error, result);
  if (settled_) settled_();
}

void MessageRouter::receiverGone(const Connection& c) {
  untakenPosts_.erase(untakenPosts_.lower_bound({c.id(), 0}), untakenPosts_.upper_bound({c.id(), UINT32_MAX}));
  std::vector<uint64_t> orphaned;
  for (const auto& [id, entry] : inFlight_)
    if (entry.receiver == c.id()) orphaned.push_back(id);
  for (uint64_t id : orphaned) finish(id, ERROR_INVALID_WINDOW_HANDLE, 0);
  std::vector<uint64_t> unanswered;
  for (const auto& [id, question] : questions_)
    if (question.process == c.id()) unanswered.push_back(id);
  for (uint64_t id : unanswered) answerQuestion(id, {ERROR_INVALID_WINDOW_HANDLE, {}, {}});
}

}  // namespace handheld::device
