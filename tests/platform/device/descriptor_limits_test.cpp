// Descriptors running out. The server's: connections that never greet, under a low limit,
// may not make it spin or lock everyone out for longer than the greeting time. A program's:
// named events until the call fails, after which the program goes on.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ipc/channel.h"
#include "ipc/client.h"
#include "ipc/protocol.h"
#include "os/device_root.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class DescriptorLimits : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    auto status = device().call<ipc::DeviceStatus>({});
    ASSERT_TRUE(status);
    server_ = static_cast<pid_t>(status->serverPid);
  }

  // As if the server had been started under `ulimit -n`.
  void limitServer(rlim_t descriptors) {
    rlimit limit{descriptors, descriptors};
    ASSERT_EQ(prlimit(server_, RLIMIT_NOFILE, &limit, nullptr), 0) << std::strerror(errno);
  }
  size_t serverDescriptors() const {
    std::error_code ec;
    auto entries = std::filesystem::directory_iterator("/proc/" + std::to_string(server_) + "/fd", ec);
    return static_cast<size_t>(std::distance(entries, std::filesystem::directory_iterator()));
  }
  // User and system time the server has used, in clock ticks.
  long serverCpuTicks() const {
    std::ifstream in("/proc/" + std::to_string(server_) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i == 14) user = std::stol(field);
      if (i == 15) system = std::stol(field);
    }
    return user + system;
  }
  long ticksOverOneSecond() const {
    const long before = serverCpuTicks();
    std::this_thread::sleep_for(1s);
    return serverCpuTicks() - before;
  }
  // A connection that never greets; none when the server's backlog stays full for 200 ms.
  os::UniqueFd connectIdle() const {
    os::UniqueFd socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    const timeval patience{0, 200000};
    setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = os::deviceSocketPath(root()).string();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return {};
    fcntl(socket.get(), F_SETFL, O_NONBLOCK);
    return socket;
  }
  // How long until `status` finds the device again.
  Clock::duration untilServed(Clock::duration patience) {
    const auto start = Clock::now();
    while (ctl("status") != 0 && Clock::now() - start < patience) std::this_thread::sleep_for(100ms);
    return Clock::now() - start;
  }

  pid_t server_ = 0;
};

// 400 connections that never greet against a server limited to 256 descriptors: it keeps
// half of them for one host user, refuses the rest in words, stays idle, and closes the
// silent ones within a few seconds, after which everyone is served again.
TEST_F(DescriptorLimits, IdleConnectionsUnderALowLimit) {
  limitServer(256);
  const auto start = Clock::now();
  std::vector<os::UniqueFd> idle;
  for (int i = 0; i < 400; ++i)
    if (auto socket = connectIdle()) idle.push_back(std::move(socket));
  std::string out;
  EXPECT_EQ(ctl("status", &out), 1);
  EXPECT_NE(out.find("as many connections as it allows"), std::string::npos) << out;

  std::this_thread::sleep_for(200ms);
  EXPECT_LT(ticksOverOneSecond(), 10) << "the server spins";
  EXPECT_LT(serverDescriptors(), 256u);
  size_t refused = 0;
  for (const auto& socket : idle) {
    ipc::Packet packet;
    ipc::Hello::Reply reply;
    if (ipc::receivePacket(socket.get(), packet) == ipc::IoResult::Done &&
        ipc::decode(packet.body.data(), packet.body.size(), &packet.fds, reply) && reply.error == 71)
      ++refused;
  }
  EXPECT_GT(refused, 0u) << idle.size() << " connected";
  EXPECT_LE(idle.size() - refused, 128u);  // half the limit, this test's own connection among them

  untilServed(10s);
  EXPECT_LT(Clock::now() - start, 6s);
  EXPECT_LT(ticksOverOneSecond(), 10);
}

// With no descriptor left the server stops accepting instead of spinning on the listening
// socket, and takes the waiting clients once descriptors are free again.
TEST_F(DescriptorLimits, OutOfDescriptorsTheServerWaits) {
  limitServer(serverDescriptors() + 4);
  std::vector<os::UniqueFd> idle;
  for (int i = 0; i < 20; ++i)
    if (auto socket = connectIdle()) idle.push_back(std::move(socket));
  ASSERT_EQ(idle.size(), 20u);
  std::this_thread::sleep_for(200ms);
  EXPECT_LT(ticksOverOneSecond(), 10) << "the server spins";
  idle.clear();
  EXPECT_LT(untilServed(10s), 3s);
}

// This test process is the program: it raises its soft limit when it joins the device, then
// runs into a low one making named events. The call that found no descriptor fails and the
// process goes on; the event that could not be handed over is given back.
TEST_F(DescriptorLimits, AProgramOutOfDescriptorsGoesOn) {
  ASSERT_EQ(ipc::DeviceClient::current(), nullptr);
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  const rlimit lowered{64, limit.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"Limits0");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  EXPECT_EQ(limit.rlim_cur, limit.rlim_max);

  std::error_code ec;
  const auto open = static_cast<rlim_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd", ec),
                                                      std::filesystem::directory_iterator()));
  const rlimit low{open + 40, limit.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<HANDLE> events{first};
  std::u16string failedName;
  for (int n = 1; n < 1000; ++n) {
    std::u16string name = u"Limits" + std::u16string(1, u'A' + n / 26) + std::u16string(1, u'a' + n % 26);
    SetLastError(0);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    if (!event) {
      failedName = name;
      break;
    }
    events.push_back(event);
  }
  const DWORD namedError = GetLastError();
  SetLastError(0);
  const HANDLE unnamed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const DWORD unnamedError = GetLastError();
  // Checked with the limit back: the sanitizers' own checks (of printing test values, of
  // destroying objects) need a descriptor of their own.
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
  ASSERT_FALSE(failedName.empty()) << "no limit reached";
  EXPECT_TRUE(namedError == 4 || namedError == 8) << namedError;
  EXPECT_GT(events.size(), 10u);
  EXPECT_EQ(unnamed, nullptr);
  EXPECT_EQ(unnamedError, 4u);

  // Still connected, and the name that failed was not left held.
  for (int i = 0; i < 4; ++i) {
    CloseHandle(events.back());
    events.pop_back();
  }
  SetLastError(0);
  HANDLE again = CreateEventW(nullptr, TRUE, FALSE, failedName.c_str());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(SetEvent(again));
  EXPECT_EQ(WaitForSingleObject(again, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ipc::DeviceClient::get().call<ipc::ClockGet>({}));
  CloseHandle(again);
  for (HANDLE event : events) CloseHandle(event);
}

}  // namespace
}  // namespace handheld::testing
