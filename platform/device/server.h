// The device server: accepts clients on <root>/.device/socket and routes each request to the
// subsystem that registered for it. Runs on one thread; every handler returns at once.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "connection.h"
#include "event_loop.h"
#include "log.h"

namespace handheld::device {

class Server;

// Answers a request later (e.g. when a process ends). Harmless if the client went away.
template <ipc::ClientRequest M>
class Responder {
 public:
  Responder(std::weak_ptr<Connection> connection, uint32_t serial)
      : connection_(std::move(connection)), serial_(serial) {}
  void send(const typename M::Reply& reply) const;
  bool clientGone() const { return connection_.expired(); }

 private:
  std::weak_ptr<Connection> connection_;
  uint32_t serial_;
  friend class Server;
};

class Server {
 public:
  Server(std::filesystem::path root, Log& log);
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  const std::filesystem::path& root() const { return root_; }
  EventLoop& loop() { return loop_; }
  Log& log() { return log_; }

  // Fails, among other reasons, when an operation was given two handlers: which of them should
  // answer is a question for the code, never one to settle by the order of registration.
  bool listen(std::string& error);
  void run() { loop_.run(); }
  void stop() { loop_.stop(); }

  // f(Connection&, typename M::Request&) -> typename M::Reply
  template <ipc::ClientRequest M, class F>
  void onRequest(F f) {
    install(M::op, [f](Connection& c, ipc::Packet& p) {
      typename M::Request request;
      if (!ipc::decode(p.body.data(), p.body.size(), &p.fds, request)) return c.refuse(p.op, p.serial);
      c.template reply<M>(p.serial, f(c, request));
    });
  }
  // f(Connection&, typename M::Request&, Responder<M>) answers through the responder.
  template <ipc::ClientRequest M, class F>
  void onAsyncRequest(F f) {
    install(M::op, [this, f](Connection& c, ipc::Packet& p) {
      typename M::Request request;
      if (!ipc::decode(p.body.data(), p.body.size(), &p.fds, request)) return c.refuse(p.op, p.serial);
      f(c, request, Responder<M>(find(c.id()), p.serial));
    });
  }
  // f(Connection&, E&) for messages without a reply.
  template <ipc::ClientNotice E, class F>
  void onEvent(F f) {
    install(E::op, [f](Connection& c, ipc::Packet& p) {
      E event;
      if (ipc::decode(p.body.data(), p.body.size(), &p.fds, event)) f(c, event);
    });
  }
  // Called when a client has gone, before its state is dropped.
  void onDisconnect(std::function<void(Connection&)> f) { disconnectHooks_.push_back(std::move(f)); }
  // Called for Hello so subsystems can fill the greeting (window slot, info page, ...).
  void onHello(std::function<void(Connection&, ipc::Hello::Reply&)> f) { helloHooks_.push_back(std::move(f)); }

  std::shared_ptr<Connection> find(uint64_t id) const;
  std::shared_ptr<Connection> findProcess(uint32_t pid) const;
  template <class F>
  void forEachConnection(F f) const {
    for (auto& [id, c] : connections_) f(*c);
  }

 private:
  using Handler = std::function<void(Connection&, ipc::Packet&)>;
  // The one handler of an operation; a second is refused, logged and kept as the reason the
  // server will not listen.
  void install(ipc::Op op, Handler handler);
  void accept();
  // Out of descriptors: the listening socket is not watched (it would stay readable and the
  // loop spin) until a connection goes or a moment has passed.
  void pauseAccepting();
  void resumeAccepting();
  void readFrom(const std::shared_ptr<Connection>& c);
  void dispatch(Connection& c, ipc::Packet& packet);
  void greet(Connection& c, ipc::Packet& packet);
  void drop(uint64_t id);
  void updateInterest(Connection& c);

  std::filesystem::path root_;
  Log& log_;
  EventLoop loop_;
  os::UniqueFd listener_;
  std::unordered_map<uint64_t, std::shared_ptr<Connection>> connections_;
  uint64_t nextConnection_ = 1;
  std::unordered_map<uint32_t, size_t> connectionsPerUser_;
  bool userLimitLogged_ = false;  // once until that user's connections are all gone
  bool acceptPaused_ = false;
  bool descriptorsLogged_ = false;  // once until the backlog is empty again
  EventLoop::TimerId acceptRetry_ = 0;
  std::unordered_map<uint16_t, Handler> handlers_;
  std::string registrationError_;  // the first operation given a second handler
  std::vector<std::function<void(Connection&)>> disconnectHooks_;
  std::vector<std::function<void(Connection&, ipc::Hello::Reply&)>> helloHooks_;
};

template <ipc::ClientRequest M>
void Responder<M>::send(const typename M::Reply& reply) const {
  if (auto c = connection_.lock()) c->template reply<M>(serial_, reply);
}

}  // namespace handheld::device
