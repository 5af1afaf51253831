// Every operation of the protocol from a real connection, the list taken from the op table:
// each request is answered in time (a new request nobody handles is refused and fails here),
// notices and messages sent the wrong way leave the connection up, and the device keeps
// answering. DeviceStop is the one request that ends the connection: after its answer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "ipc/protocol.h"
#include "os/device_root.h"
#include "support/device_fixture.h"
#include "support/raw_client.h"

namespace handheld::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Long enough for the slowest request with a default body on a loaded machine; a request
// that waits for something that never comes would take for ever.
constexpr int kAnswerMs = 5000;

template <class F, class... M>
void forEachMessage(ipc::MessageList<M...>, F f) {
  (f.template operator()<M>(), ...);
}

class EveryOperation : public DeviceFixture {
 protected:
  // Answered on this connection, and the connection still serves.
  static void expectStillServing(int socket, uint32_t serial) {
    raw::send<ipc::ClockGet>(socket, serial, {});
    auto reply = raw::replyTo(socket, serial, kAnswerMs);
    ASSERT_TRUE(reply) << "the connection stopped answering";
    EXPECT_FALSE(reply->flags & ipc::kError);
  }

  // Sends every message of one direction as this kind of client; body(M) gives the bytes.
  void sendEvery(ipc::ClientKind kind, bool garbage);
};

void EveryOperation::sendEvery(ipc::ClientKind kind, bool garbage) {
  auto socket = raw::greeted(root(), kind, kind == ipc::ClientKind::Process ? static_cast<uint32_t>(getpid()) : 0);
  uint32_t serial = 100;
  size_t requests = 0;
  forEachMessage(ipc::AllMessages{}, [&]<class M>() {
    const std::string name(ipc::opName(M::op));
    SCOPED_TRACE(name);
    const auto op = static_cast<uint16_t>(M::op);
    const uint32_t s = serial++;
    if constexpr (M::direction == ipc::Direction::Request) {
      // Hello is the greeting (answered above); stopping the device has a test of its own.
      if (M::op == ipc::Op::Hello || M::op == ipc::Op::DeviceStop) return;
      ++requests;
      const auto start = Clock::now();
      if (garbage) {
        raw::send(socket.get(), op, s, ipc::Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
      } else {
        raw::send<M>(socket.get(), s, typename M::Request{});
      }
      auto reply = raw::replyTo(socket.get(), s, kAnswerMs);
      ASSERT_TRUE(reply) << name << " was not answered within " << kAnswerMs << " ms";
      EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kAnswerMs));
      if (!garbage) {
        // A default body always decodes: a refusal means no handler took the operation.
        EXPECT_FALSE(reply->flags & ipc::kError) << name << " was refused: it has no handler";
        typename M::Reply decoded;
        EXPECT_TRUE(ipc::decode(reply->body.data(), reply->body.size(), &reply->fds, decoded, reply->descriptorsLost))
            << name << "'s reply does not decode";
      }
    } else if constexpr (M::direction == ipc::Direction::Notice) {
      if (garbage) raw::send(socket.get(), op, 0, ipc::Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
      else raw::sendMessage(socket.get(), M{});
      expectStillServing(socket.get(), s);
    } else {
      // The server's own message coming from a client is refused, whatever its body.
      raw::send(socket.get(), op, s, garbage ? ipc::Bytes{0xFF} : ipc::Bytes{});
      EXPECT_TRUE(raw::refused(raw::replyTo(socket.get(), s, kAnswerMs)));
    }
  });
  EXPECT_EQ(requests, 60u);  // the 62 requests but Hello and DeviceStop
  expectStillServing(socket.get(), 1);
}

TEST_F(EveryOperation, AnAutomationClientIsAnsweredForEveryOperation) {
  sendEvery(ipc::ClientKind::Automation, false);
  sendEvery(ipc::ClientKind::Automation, true);
  EXPECT_EQ(ctl("status"), 0);
}

TEST_F(EveryOperation, AProcessIsAnsweredForEveryOperation) {
  sendEvery(ipc::ClientKind::Process, false);
  sendEvery(ipc::ClientKind::Process, true);
  EXPECT_EQ(ctl("status"), 0);
}

TEST_F(EveryOperation, DeviceStopAnswersAndThenTheDeviceEnds) {
  auto socket = raw::greeted(root());
  raw::send<ipc::DeviceStop>(socket.get(), 5, {});
  auto reply = raw::replyTo(socket.get(), 5, kAnswerMs);
  ASSERT_TRUE(reply);
  EXPECT_FALSE(reply->flags & ipc::kError);
  ipc::Packet packet;
  EXPECT_EQ(ipc::receivePacketBlocking(socket.get(), packet, kAnswerMs), ipc::IoResult::Closed);
  // The server holds its lock until it has ended; then a device starts on the root again.
  os::UniqueFd lock(::open(os::deviceStateFile(root(), "lock").c_str(), O_RDWR | O_CLOEXEC));
  ASSERT_TRUE(lock);
  EXPECT_EQ(flock(lock.get(), LOCK_EX), 0);
  lock.reset();
  startDevice();
  EXPECT_EQ(ctl("status"), 0);
}

}  // namespace
}  // namespace handheld::testing
