#include "ipc/channel.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace handheld::ipc {

namespace {

constexpr size_t kHeaderSize = 8;

void putHeader(Bytes& out, uint16_t op, uint16_t flags, uint32_t serial) {
  uint8_t h[kHeaderSize] = {
      static_cast<uint8_t>(op), static_cast<uint8_t>(op >> 8),
      static_cast<uint8_t>(flags), static_cast<uint8_t>(flags >> 8),
      static_cast<uint8_t>(serial), static_cast<uint8_t>(serial >> 8),
      static_cast<uint8_t>(serial >> 16), static_cast<uint8_t>(serial >> 24)};
  out.insert(out.begin(), h, h + kHeaderSize);
}

os::UniqueFd bodyToMemfd(const Bytes& body) {
  os::UniqueFd fd(memfd_create("handheld-packet", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (!fd) return {};
  size_t done = 0;
  while (done < body.size()) {
    ssize_t n = ::write(fd.get(), body.data() + done, body.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {};
    done += static_cast<size_t>(n);
  }
  // Sealed so the receiver can trust the size it reads.
  fcntl(fd.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
  return fd;
}

bool memfdToBody(int fd, Bytes& body) {
  int seals = fcntl(fd, F_GET_SEALS);
  if (seals < 0 || !(seals & F_SEAL_WRITE) || !(seals & F_SEAL_SHRINK)) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size < 0 || static_cast<size_t>(st.st_size) > kMaxBody)
    return false;
  body.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < body.size()) {
    ssize_t n = ::pread(fd, body.data() + done, body.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<OutgoingPacket> buildPacket(uint16_t op, uint16_t flags, uint32_t serial,
                                          WireWriter& writer) {
  OutgoingPacket packet;
  Bytes& body = writer.bytes();
  if (body.size() > kMaxBody || writer.fds().size() + 1 > kMaxFds) return std::nullopt;
  packet.fds = writer.fds();
  if (body.size() > kInlineLimit) {
    packet.largeBody = bodyToMemfd(body);
    if (!packet.largeBody) return std::nullopt;
    packet.fds.insert(packet.fds.begin(), packet.largeBody.get());
    flags |= kLarge;
    packet.bytes.clear();
  } else {
    packet.bytes = std::move(body);
  }
  putHeader(packet.bytes, op, flags, serial);
  return packet;
}

IoResult sendPacket(int socket, const OutgoingPacket& packet) {
  iovec iov{const_cast<uint8_t*>(packet.bytes.data()), packet.bytes.size()};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)];
  if (!packet.fds.empty()) {
    size_t bytes = sizeof(int) * packet.fds.size();
    msg.msg_control = control;
    msg.msg_controllen = CMSG_SPACE(bytes);
    cmsghdr* cmsg = CMSG_FIRSTHDR(&msg);
    if (!cmsg) return IoResult::Failed;
    cmsg->cmsg_level = SOL_SOCKET;
    cmsg->cmsg_type = SCM_RIGHTS;
    cmsg->cmsg_len = CMSG_LEN(bytes);
    std::memcpy(CMSG_DATA(cmsg), packet.fds.data(), bytes);
  }
  for (;;) {
    ssize_t n = ::sendmsg(socket, &msg, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) return IoResult::Done;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return IoResult::WouldBlock;
    if (errno == EPIPE || errno == ECONNRESET) return IoResult::Closed;
    return IoResult::Failed;
  }
}

IoResult receivePacket(int socket, Packet& packet) {
  packet = Packet{};
  Bytes buffer(kInlineLimit + 4096);
  iovec iov{buffer.data(), buffer.size()};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)];
  msg.msg_control = control;
  msg.msg_controllen = sizeof(control);
  ssize_t n;
  for (;;) {
    n = ::recvmsg(socket, &msg, MSG_CMSG_CLOEXEC | MSG_DONTWAIT);
    if (n >= 0) break;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return IoResult::WouldBlock;
    if (errno == ECONNRESET) return IoResult::Closed;
    return IoResult::Failed;
  }
  // Take ownership of every descriptor first so none leaks whatever happens next.
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
    size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
    for (size_t i = 0; i < count; ++i) {
      int fd;
      std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof(int));
      packet.fds.emplace_back(fd);
    }
  }
  if (n == 0) return IoResult::Closed;
  if ((msg.msg_flags & MSG_TRUNC) || static_cast<size_t>(n) < kHeaderSize) return IoResult::Failed;
  if (msg.msg_flags & MSG_CTRUNC) {
    // Some may have arrived, but which positions they held is unknown.
    packet.fds.clear();
    packet.descriptorsLost = true;
  }
  packet.op = static_cast<uint16_t>(buffer[0] | (buffer[1] << 8));
  packet.flags = static_cast<uint16_t>(buffer[2] | (buffer[3] << 8));
  packet.serial = static_cast<uint32_t>(buffer[4]) | (static_cast<uint32_t>(buffer[5]) << 8) |
                  (static_cast<uint32_t>(buffer[6]) << 16) | (static_cast<uint32_t>(buffer[7]) << 24);
  if (packet.flags & kLarge) {
    if (static_cast<size_t>(n) != kHeaderSize) return IoResult::Failed;
    if (packet.descriptorsLost) return IoResult::Done;
    if (packet.fds.empty()) return IoResult::Failed;
    if (!memfdToBody(packet.fds.front().get(), packet.body)) return IoResult::Failed;
    packet.fds.erase(packet.fds.begin());
  } else {
    packet.body.assign(buffer.begin() + kHeaderSize, buffer.begin() + n);
  }
  return IoResult::Done;
}

IoResult sendPacketBlocking(int socket, const OutgoingPacket& packet) {
  for (;;) {
    auto result = sendPacket(socket, packet);
    if (result != IoResult::WouldBlock) return result;
    pollfd p{socket, POLLOUT, 0};
    if (::poll(&p, 1, -1) < 0 && errno != EINTR) return IoResult::Failed;
  }
}

IoResult receivePacketBlocking(int socket, Packet& packet, int timeoutMs) {
  for (;;) {
    auto result = receivePacket(socket, packet);
    if (result != IoResult::WouldBlock) return result;
    pollfd p{socket, POLLIN, 0};
    int n = ::poll(&p, 1, timeoutMs);
    if (n == 0) return IoResult::WouldBlock;
    if (n < 0 && errno != EINTR) return IoResult::Failed;
  }
}

std::optional<std::pair<os::UniqueFd, os::UniqueFd>> socketPair() {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return std::nullopt;
  return std::make_pair(os::UniqueFd(fds[0]), os::UniqueFd(fds[1]));
}

}  // namespace handheld::ipc
