#include "server.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "os/device_root.h"

namespace handheld::device {

// A client may not keep more than this many packets from being read in one go, so one busy
// client cannot starve the others.
constexpr int kPacketsPerWakeup = 64;

Server::Server(std::filesystem::path root, Log& log) : root_(std::move(root)), log_(log) {}

bool Server::listen(std::string& error) {
  auto path = os::deviceSocketPath(root_);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.native().size() >= sizeof(addr.sun_path)) {
    error = "device root path too long for a socket: " + path.string();
    return false;
  }
  std::strcpy(addr.sun_path, path.c_str());
  listener_.reset(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!listener_) {
    error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  ::unlink(path.c_str());  // a stale socket of a device that died; the lock file proved it dead
  if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener_.get(), 64) != 0) {
    error = "cannot listen on " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  ::chmod(path.c_str(), 0600);
  loop_.watch(listener_.get(), EPOLLIN, [this](uint32_t) { accept(); });
  return true;
}

void Server::accept() {
  for (;;) {
    int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // EAGAIN, or out of descriptors: try again on the next readiness
    }
    auto c = std::make_shared<Connection>(nextConnection_++, os::UniqueFd(fd));
    uint64_t id = c->id();
    connections_[id] = c;
    std::weak_ptr<Connection> weak = c;
    c->onBacklog = [this, id] {
      auto conn = find(id);
      if (!conn) return;
      if (conn->broken()) {
        // Not here: the caller may be in the middle of using this connection.
        loop_.addTimer(EventLoop::Clock::now(), [this, id] { drop(id); });
      } else {
        updateInterest(*conn);
      }
    };
    loop_.watch(fd, EPOLLIN, [this, weak, id](uint32_t events) {
      auto conn = weak.lock();
      if (!conn) return;
      if (events & EPOLLOUT) conn->flush();
      if (events & (EPOLLIN | EPOLLHUP | EPOLLERR)) readFrom(conn);
      if (auto still = find(id)) updateInterest(*still);
    });
  }
}

void Server::readFrom(const std::shared_ptr<Connection>& c) {
  for (int i = 0; i < kPacketsPerWakeup; ++i) {
    ipc::Packet packet;
    auto result = ipc::receivePacket(c->fd(), packet);
    if (result == ipc::IoResult::WouldBlock) return;
    if (result != ipc::IoResult::Done) {
      drop(c->id());
      return;
    }
    if (packet.flags & ipc::kReply) {
      dispatch(*c, packet);  // replies of clients to server-initiated requests
    } else if (!c->greeted) {
      greet(*c, packet);
    } else {
      dispatch(*c, packet);
    }
    if (c->broken()) {
      drop(c->id());
      return;
    }
  }
}

void Server::greet(Connection& c, ipc::Packet& packet) {
  ipc::Hello::Request request;
  if (packet.op != static_cast<uint16_t>(ipc::Op::Hello) ||
      !ipc::decode(packet.body.data(), packet.body.size(), &packet.fds, request) ||
      request.protocolVersion != ipc::kProtocolVersion) {
    c.refuse(packet.op, packet.serial);
    return;
  }
  c.greeted = true;
  c.kind = request.kind;
  c.pid = request.pid;
  ipc::Hello::Reply reply;
  for (auto& hook : helloHooks_) hook(c, reply);
  c.reply<ipc::Hello>(packet.serial, reply);
}

void Server::dispatch(Connection& c, ipc::Packet& packet) {
  auto it = handlers_.find(packet.op);
  if (it == handlers_.end()) {
    if (!(packet.flags & ipc::kReply)) c.refuse(packet.op, packet.serial);
    return;
  }
  it->second(c, packet);
}

void Server::updateInterest(Connection& c) {
  loop_.modify(c.fd(), EPOLLIN | (c.wantsWrite() ? EPOLLOUT : 0u));
}

void Server::drop(uint64_t id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  auto c = it->second;
  loop_.unwatch(c->fd());
  connections_.erase(it);
  for (auto& hook : disconnectHooks_) hook(*c);
}

std::shared_ptr<Connection> Server::find(uint64_t id) const {
  auto it = connections_.find(id);
  return it == connections_.end() ? nullptr : it->second;
}

std::shared_ptr<Connection> Server::findProcess(uint32_t pid) const {
  for (auto& [id, c] : connections_)
    if (c->greeted && c->kind == ipc::ClientKind::Process && c->pid == pid) return c;
  return nullptr;
}

}  // namespace handheld::device
