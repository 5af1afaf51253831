#include "support/raw_client.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cstring>

#include "os/device_root.h"

namespace handheld::testing::raw {

os::UniqueFd connect(const std::filesystem::path& root) {
  os::UniqueFd socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = os::deviceSocketPath(root).string();
  std::memcpy(address.sun_path, path.c_str(), std::min(path.size() + 1, sizeof address.sun_path));
  EXPECT_EQ(::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
  return socket;
}

os::UniqueFd greeted(const std::filesystem::path& root, ipc::ClientKind kind, uint32_t pid) {
  auto socket = connect(root);
  send<ipc::Hello>(socket.get(), 1, {kind, pid, ipc::kProtocolVersion});
  auto reply = replyTo(socket.get(), 1);
  EXPECT_TRUE(reply && !(reply->flags & ipc::kError));
  return socket;
}

void send(int socket, uint16_t op, uint32_t serial, const ipc::Bytes& body, uint16_t flags) {
  ipc::WireWriter writer;
  writer.bytes() = body;
  auto packet = ipc::buildPacket(op, flags, serial, writer);
  ASSERT_TRUE(packet);
  ASSERT_EQ(ipc::sendPacketBlocking(socket, *packet), ipc::IoResult::Done);
}

std::optional<ipc::Packet> nextReply(int socket, int timeoutMs) {
  for (;;) {
    ipc::Packet packet;
    if (ipc::receivePacketBlocking(socket, packet, timeoutMs) != ipc::IoResult::Done) return std::nullopt;
    if (packet.flags & ipc::kReply) return packet;
  }
}

std::optional<ipc::Packet> replyTo(int socket, uint32_t serial, int timeoutMs) {
  for (;;) {
    auto packet = nextReply(socket, timeoutMs);
    if (!packet || packet->serial == serial) return packet;
  }
}

}  // namespace handheld::testing::raw
