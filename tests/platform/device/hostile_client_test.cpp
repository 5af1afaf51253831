// A client that breaks every rule of the protocol: requests before the greeting, a wrong
// protocol version, unknown operations, every operation with bytes that do not decode, and
// packets that are not packets. The server refuses each, drops only a client whose framing
// is broken, and keeps serving everyone else.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>

#include "ipc/channel.h"
#include "ipc/client.h"
#include "ipc/protocol.h"
#include "support/device_fixture.h"
#include "support/raw_client.h"

namespace handheld::testing {
namespace {

using ipc::Bytes;

using raw::refused;
using raw::replyTo;
using raw::send;

class HostileClient : public DeviceFixture {
 protected:
  os::UniqueFd connectRaw() { return raw::connect(root()); }
  os::UniqueFd greeted(ipc::ClientKind kind = ipc::ClientKind::Automation, uint32_t pid = 0) {
    return raw::greeted(root(), kind, pid);
  }

  void sendGarbage(os::UniqueFd socket);

  // The server still answers a plain request on a fresh connection.
  void expectServing() {
    auto socket = greeted();
    send<ipc::ClockGet>(socket.get(), 2, {});
    auto reply = replyTo(socket.get(), 2);
    ASSERT_TRUE(reply);
    EXPECT_FALSE(reply->flags & ipc::kError);
  }
};

TEST_F(HostileClient, NothingButTheRightGreetingIsAnsweredFirst) {
  auto socket = connectRaw();
  send<ipc::ClockGet>(socket.get(), 7, {});
  EXPECT_TRUE(refused(replyTo(socket.get(), 7)));
  send<ipc::Hello>(socket.get(), 8, {ipc::ClientKind::Automation, 0, ipc::kProtocolVersion + 1});
  EXPECT_TRUE(refused(replyTo(socket.get(), 8)));
  send(socket.get(), static_cast<uint16_t>(ipc::Op::Hello), 9, Bytes{1, 2});
  EXPECT_TRUE(refused(replyTo(socket.get(), 9)));
  send<ipc::Hello>(socket.get(), 10, {ipc::ClientKind::Automation, 0, ipc::kProtocolVersion});
  auto welcome = replyTo(socket.get(), 10);
  ASSERT_TRUE(welcome);
  EXPECT_FALSE(welcome->flags & ipc::kError);
  send(socket.get(), 0xBEEF, 11, {});
  EXPECT_TRUE(refused(replyTo(socket.get(), 11)));
}

// As an automation client, and as a process that claims to be this test's process.
TEST_F(HostileClient, GarbageForEveryOperationLeavesTheServerServing) {
  for (auto kind : {ipc::ClientKind::Automation, ipc::ClientKind::Process}) {
    SCOPED_TRACE(static_cast<int>(kind));
    sendGarbage(greeted(kind, static_cast<uint32_t>(getpid())));
  }
  expectServing();
  EXPECT_EQ(ctl("status"), 0);
  // This process's own connection is unharmed.
  EXPECT_TRUE(ipc::DeviceClient::get().call<ipc::ClockGet>({}));
}

void HostileClient::sendGarbage(os::UniqueFd socket) {
  std::mt19937 random(20261207);
  std::vector<Bytes> bodies = {{}, Bytes(8, 0xFF), Bytes(3, 0x00)};
  for (int i = 0; i < 4; ++i) {
    Bytes body(1 + random() % 96);
    for (auto& byte : body) byte = static_cast<uint8_t>(random());
    bodies.push_back(std::move(body));
  }
  uint32_t serial = 100;
  for (uint16_t op = 0; op < 320; ++op) {
    // Stopping the device is what that request is for, whoever asks.
    if (op == static_cast<uint16_t>(ipc::Op::DeviceStop)) continue;
    for (const auto& body : bodies) {
      send(socket.get(), op, serial++, body);
      send(socket.get(), op, serial++, body, ipc::kReply);  // answers nobody asked for
    }
  }
  // Everything before it has been read once this is answered, on the same connection.
  send<ipc::ClockGet>(socket.get(), 1, {});
  auto reply = replyTo(socket.get(), 1);
  ASSERT_TRUE(reply) << "the server stopped answering the hostile client";
  EXPECT_FALSE(reply->flags & ipc::kError);
}

// No client answers the server: a packet marked as a reply is nobody's request, neither before
// the greeting (where it would get round it) nor after.
TEST_F(HostileClient, PacketsMarkedAsRepliesAreNotServed) {
  ipc::ClockControl::Request freeze{ipc::ClockMode::Freeze, 0};
  auto socket = connectRaw();
  send<ipc::ClockControl>(socket.get(), 7, freeze, ipc::kReply);
  send<ipc::Hello>(socket.get(), 8, {ipc::ClientKind::Automation, 0, ipc::kProtocolVersion});
  auto first = raw::nextReply(socket.get());
  ASSERT_TRUE(first);
  EXPECT_EQ(first->serial, 8u);
  EXPECT_FALSE(first->flags & ipc::kError);
  send<ipc::ClockControl>(socket.get(), 9, freeze, ipc::kReply);
  send<ipc::ClockGet>(socket.get(), 10, {});
  auto clock = raw::nextReply(socket.get());
  ASSERT_TRUE(clock);
  ASSERT_EQ(clock->serial, 10u);
  ipc::ClockGet::Reply now;
  ASSERT_TRUE(ipc::decode(clock->body.data(), clock->body.size(), nullptr, now));
  EXPECT_FALSE(now.frozen);
}

TEST_F(HostileClient, BrokenFramingDropsOnlyThatClient) {
  auto socket = greeted();
  const uint8_t notAPacket[3] = {1, 2, 3};
  ASSERT_EQ(::send(socket.get(), notAPacket, sizeof notAPacket, 0), 3);
  ipc::Packet packet;
  EXPECT_EQ(ipc::receivePacketBlocking(socket.get(), packet, 5000), ipc::IoResult::Closed);
  expectServing();
}

}  // namespace
}  // namespace handheld::testing
