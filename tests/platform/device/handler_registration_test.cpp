// An operation has one handler: a second registration is refused, logged, and keeps the
// server from listening, so a device wired that way never starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log.h"
#include "os/device_root.h"
#include "server.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class HandlerRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(root_.path() / ".device");
    std::string error;
    ASSERT_TRUE(log_.open(root_.path(), false, error)) << error;
  }
  std::string logText() const {
    std::ifstream in(root_.path() / ".device" / "device.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static ipc::ClockGet::Reply now(device::Connection&, ipc::ClockGet::Request&) { return {}; }

  TemporaryRoot root_;
  device::Log log_;
};

TEST_F(HandlerRegistration, OneHandlerPerOperationListens) {
  device::Server server(root_.path(), log_);
  server.onRequest<ipc::ClockGet>(now);
  server.onEvent<ipc::IdleAnswer>([](device::Connection&, ipc::IdleAnswer&) {});
  std::string error;
  EXPECT_TRUE(server.listen(error)) << error;
  EXPECT_TRUE(std::filesystem::exists(os::deviceSocketPath(root_.path())));
  EXPECT_EQ(logText().find("second handler"), std::string::npos);
}

TEST_F(HandlerRegistration, SecondHandlerOfAnyKindStopsTheServerFromListening) {
  device::Server server(root_.path(), log_);
  server.onRequest<ipc::ClockGet>(now);
  server.onAsyncRequest<ipc::ClockGet>(
      [](device::Connection&, ipc::ClockGet::Request&, device::Responder<ipc::ClockGet>) {});
  server.onEvent<ipc::IdleAnswer>([](device::Connection&, ipc::IdleAnswer&) {});
  server.onEvent<ipc::IdleAnswer>([](device::Connection&, ipc::IdleAnswer&) {});
  std::string error;
  EXPECT_FALSE(server.listen(error));
  // The first conflict is the reason given; every conflict is in the log.
  EXPECT_EQ(error, "operation 61 (ClockGet) was given a second handler");
  EXPECT_FALSE(std::filesystem::exists(os::deviceSocketPath(root_.path())));
  const std::string text = logText();
  EXPECT_NE(text.find("operation 61 (ClockGet) was given a second handler; the device will not start"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("operation 151 (IdleAnswer) was given a second handler"), std::string::npos) << text;
}

}  // namespace
}  // namespace handheld::testing
