// The mail composer on a device: started as the about box starts it, it is addressed to the
// -to argument, logs its command line, and "Send" keeps the message in the Outbox.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class Composer : public DeviceFixture {
 protected:
  void start(const std::u16string& program) {
    pid_ = run(program, u"-to \"friend@example.org\" -OId");
    ASSERT_NE(pid_, 0u);
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  // The composer's control with this id, from `handheld-ctl tree`.
  nlohmann::json control(int id) {
    std::string out;
    EXPECT_EQ(ctl("tree --pid " + std::to_string(pid_), &out), 0);
    auto tree = nlohmann::json::parse(out, nullptr, false);
    if (!tree.is_array()) return nullptr;
    for (const auto& window : tree)
      if (window["class"] == "MailComposer")
        for (const auto& child : window["children"])
          if (child["id"] == id) return child;
    return nullptr;
  }
  void act(const std::string& command) {
    ASSERT_EQ(ctl(command), 0) << command;
    ASSERT_EQ(ctl("wait-idle 10"), 0);
  }
  void tapControl(int id) {
    auto c = control(id);
    ASSERT_FALSE(c.is_null()) << "no control " << id;
    const int x = c["rect"][0], y = c["rect"][1], w = c["rect"][2], h = c["rect"][3];
    act("tap " + std::to_string(x + w / 2) + " " + std::to_string(y + h / 2));
  }
  std::string readHost(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path outbox() { return root() / "My Documents" / "Outbox"; }

  uint32_t pid_ = 0;
};

TEST_F(Composer, SendKeepsTheMessageInTheOutbox) {
  start(u"\\Windows\\TMail.exe");
  EXPECT_EQ(control(201)["state"]["text"], "friend@example.org");
  EXPECT_NE(readHost(root() / ".device" / "device.log")
                .find("\\Windows\\TMail.exe command line: -to \"friend@example.org\" -OId"),
            std::string::npos);
  tapControl(202);
  act("text Lunch");
  tapControl(203);
  act("text See you at noon");
  tapControl(1);  // Send
  ASSERT_TRUE(waitExit(pid_));
  EXPECT_EQ(readHost(outbox() / "Message0001.txt"), "To: friend@example.org\r\nSubject: Lunch\r\n\r\nSee you at noon");

  // The next message gets the next name; the first is left as it was.
  start(u"\\Windows\\PMail.exe");
  tapControl(1);
  ASSERT_TRUE(waitExit(pid_));
  EXPECT_EQ(readHost(outbox() / "Message0002.txt"), "To: friend@example.org\r\nSubject: \r\n\r\n");
  EXPECT_EQ(readHost(outbox() / "Message0001.txt"), "To: friend@example.org\r\nSubject: Lunch\r\n\r\nSee you at noon");
}

TEST_F(Composer, CancelKeepsNothing) {
  start(u"\\Windows\\PMail.exe");
  tapControl(2);  // Cancel
  ASSERT_TRUE(waitExit(pid_));
  EXPECT_FALSE(std::filesystem::exists(outbox() / "Message0001.txt"));
}

TEST_F(Composer, WithoutAnAddressNothingIsSent) {
  pid_ = run(u"\\Windows\\TMail.exe", u"");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(control(201)["state"]["text"], "");
  tapControl(1);  // Send: a message box asks for an address
  EXPECT_FALSE(std::filesystem::exists(outbox() / "Message0001.txt"));
  EXPECT_FALSE(waitExit(pid_, 300));
  act("key press VK_RETURN");  // the box goes
  tapControl(2);
  EXPECT_TRUE(waitExit(pid_));
}

}  // namespace
}  // namespace handheld::testing
