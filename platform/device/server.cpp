#include "server.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "os/descriptor_limit.h"
#include "os/device_root.h"
#include "winerror.h"

namespace handheld::device {

namespace {

// A client may not keep more than this many packets from being read in one go, so one busy
// client cannot starve the others.
constexpr int kPacketsPerWakeup = 64;
// Nor can a flood of connections keep the loop accepting.
constexpr int kAcceptsPerWakeup = 64;
// Every client greets at once; a connection that does not holds a descriptor for nothing.
constexpr auto kGreetingTime = std::chrono::seconds(3);
// Connections one host user may hold, and never more than half the descriptors, so that
// clients of one user cannot take the descriptors the device needs for its own work.
constexpr size_t kMaxConnectionsPerUser = 512;
// While out of descriptors, how often accepting is tried again when no connection went.
constexpr auto kAcceptRetryTime = std::chrono::seconds(1);

uint32_t peerUser(int socket) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return UINT32_MAX;
  return credentials.uid;
}

// Told before the socket closes; a fresh socket takes one packet at once. Closing over unread
// data would reset the connection, and the client would see the reset instead of the answer:
// so after the answer the socket is shut (the client can send nothing more) and what it sent
// before is read.
void refuseConnection(os::UniqueFd socket) {
  Connection refused(0, std::move(socket));
  ipc::Hello::Reply reply;
  reply.error = ERROR_REQ_NOT_ACCEP;
  refused.reply<ipc::Hello>(0, reply);
  ::shutdown(refused.fd(), SHUT_RDWR);
  constexpr int kPacketsRead = 8;  // a client that just connected has sent its greeting at most
  uint8_t discard[64];
  for (int i = 0; i < kPacketsRead && ::recv(refused.fd(), discard, sizeof discard, MSG_DONTWAIT) > 0; ++i) {
  }
}

}  // namespace

Server::Server(std::filesystem::path root, Log& log) : root_(std::move(root)), log_(log) {}

void Server::install(ipc::Op op, Handler handler) {
  if (!handlers_.emplace(static_cast<uint16_t>(op), std::move(handler)).second) {
    const std::string problem = "operation " + std::to_string(static_cast<unsigned>(op)) + " (" +
                                std::string(ipc::opName(op)) + ") was given a second handler";
    log_.write(problem + "; the device will not start");
    if (registrationError_.empty()) registrationError_ = problem;
  }
}

bool Server::listen(std::string& error) {
  if (!registrationError_.empty()) {
    error = registrationError_;
    return false;
  }
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
  for (int i = 0; i < kAcceptsPerWakeup; ++i) {
    int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) return pauseAccepting();
      descriptorsLogged_ = false;  // EAGAIN: everyone waiting was taken
      return;
    }
    os::UniqueFd socket(fd);
    const uint32_t user = peerUser(fd);
    size_t& held = connectionsPerUser_[user];
    if (held >= std::min(kMaxConnectionsPerUser, os::descriptorLimit() / 2)) {
      if (!userLimitLogged_)
        log_.write("host user " + std::to_string(user) + " has " + std::to_string(held) +
                   " connections, as many as it may: refusing more");
      userLimitLogged_ = true;
      refuseConnection(std::move(socket));
      continue;
    }
    ++held;
    auto c = std::make_shared<Connection>(nextConnection_++, std::move(socket));
    c->hostUser = user;
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
    c->greetingTimer = loop_.addTimer(EventLoop::Clock::now() + kGreetingTime, [this, id] {
      auto conn = find(id);
      if (!conn) return;
      conn->greetingTimer = 0;
      if (!conn->greeted) drop(id);
    });
    loop_.watch(c->fd(), EPOLLIN, [this, weak, id](uint32_t events) {
      auto conn = weak.lock();
      if (!conn) return;
      if (events & EPOLLOUT) conn->flush();
      if (events & (EPOLLIN | EPOLLHUP | EPOLLERR)) readFrom(conn);
      if (auto still = find(id)) updateInterest(*still);
    });
  }
}

void Server::pauseAccepting() {
  if (acceptPaused_) return;
  acceptPaused_ = true;
  loop_.unwatch(listener_.get());
  if (!descriptorsLogged_)
    log_.write("out of descriptors (" + std::to_string(connections_.size()) +
               " connections): accepting no more until one is free");
  descriptorsLogged_ = true;
  acceptRetry_ = loop_.addTimer(EventLoop::Clock::now() + kAcceptRetryTime, [this] {
    acceptRetry_ = 0;
    resumeAccepting();
  });
}

void Server::resumeAccepting() {
  if (!acceptPaused_) return;
  acceptPaused_ = false;
  if (acceptRetry_) loop_.cancelTimer(std::exchange(acceptRetry_, 0));
  // Level-triggered: whoever waits in the backlog is accepted on the next turn.
  loop_.watch(listener_.get(), EPOLLIN, [this](uint32_t) { accept(); });
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
    // The server asks no client anything that is answered with a reply; served as a request,
    // such a packet would get round the greeting.
    if (packet.flags & ipc::kReply) continue;
    if (!c->greeted) {
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
  if (c.greetingTimer) loop_.cancelTimer(std::exchange(c.greetingTimer, 0));
  c.kind = request.kind;
  c.pid = request.pid;
  ipc::Hello::Reply reply;
  for (auto& hook : helloHooks_) hook(c, reply);
  c.reply<ipc::Hello>(packet.serial, reply);
}

void Server::dispatch(Connection& c, ipc::Packet& packet) {
  auto it = handlers_.find(packet.op);
  if (it == handlers_.end()) return c.refuse(packet.op, packet.serial);
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
  if (c->greetingTimer) loop_.cancelTimer(c->greetingTimer);
  connections_.erase(it);
  if (auto user = connectionsPerUser_.find(c->hostUser); user != connectionsPerUser_.end() && --user->second == 0) {
    connectionsPerUser_.erase(user);
    userLimitLogged_ = false;
  }
  for (auto& hook : disconnectHooks_) hook(*c);
  resumeAccepting();  // its descriptor closes when the last holder lets go, at the latest now
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
