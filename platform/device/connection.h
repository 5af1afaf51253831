// One client of the server: a device process or an automation client (handheld-ctl, tests).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>

#include "ipc/channel.h"
#include "ipc/protocol.h"

namespace handheld::device {

class Connection {
 public:
  Connection(uint64_t id, os::UniqueFd socket) : id_(id), socket_(std::move(socket)) {}

  uint64_t id() const { return id_; }
  int fd() const { return socket_.get(); }

  bool greeted = false;
  uint32_t hostUser = 0;        // the host user on the other end (SO_PEERCRED)
  uint64_t greetingTimer = 0;   // until the greeting comes
  ipc::ClientKind kind = ipc::ClientKind::Process;
  uint32_t pid = 0;
  uint32_t windowSlot = 0;
  // Named objects this client holds, with how many references each.
  std::unordered_map<uint64_t, uint32_t> heldObjects;

  template <ipc::ClientRequest M>
  void reply(uint32_t serial, const typename M::Reply& reply) {
    send(static_cast<uint16_t>(M::op), ipc::kReply, serial, reply);
  }
  template <ipc::ServerPush E>
  void push(const E& event) {
    send(static_cast<uint16_t>(E::op), 0, 0, event);
  }
  void refuse(uint16_t op, uint32_t serial);

  // Writes what the socket takes now; the rest waits for writability.
  // Returns false when the peer is gone.
  bool flush();
  bool wantsWrite() const { return !outgoing_.empty(); }
  bool broken() const { return broken_; }
  // Told when output is left waiting for the socket or the peer broke, so the server can
  // watch for writability or drop the client.
  std::function<void()> onBacklog;

 private:
  template <class T>
  void send(uint16_t op, uint16_t flags, uint32_t serial, const T& message) {
    ipc::WireWriter writer;
    ipc::encode(writer, message);
    enqueue(op, flags, serial, writer);
  }
  void enqueue(uint16_t op, uint16_t flags, uint32_t serial, ipc::WireWriter& writer);

  uint64_t id_;
  os::UniqueFd socket_;
  // Descriptors a queued packet refers to are kept open here until it is sent.
  struct Queued {
    ipc::OutgoingPacket packet;
    std::vector<os::UniqueFd> keepAlive;
  };
  std::deque<Queued> outgoing_;
  bool broken_ = false;
};

}  // namespace handheld::device
