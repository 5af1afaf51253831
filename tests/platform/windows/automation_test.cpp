// handheld-ctl's window commands against a device program, wait-idle, send's time limit, and
// an idle device using no processor time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

class Automation : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    probe_ = installTestProgram("window_probe.exe");
  }
  std::string findProbe() {
    std::string out;
    EXPECT_EQ(ctl("find ProbeClass ProbeTitle", &out), 0);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }
  // Milliseconds a ctl command took.
  long long timed(const std::string& arguments, int* code) {
    auto start = std::chrono::steady_clock::now();
    *code = ctl(arguments);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  }

  std::u16string probe_;
};

// utime + stime of a process, in clock ticks.
long long cpuTicks(uint32_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) {
      stime = std::stoll(field);
      break;
    }
  }
  return utime + stime;
}

TEST_F(Automation, WindowsFindSendTreePostAndWaitIdle) {
  uint32_t pid = run(probe_, u"window ProbeClass ProbeTitle");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  std::string out;
  ASSERT_EQ(ctl("windows", &out), 0);
  EXPECT_NE(out.find("ProbeClass"), std::string::npos) << out;
  EXPECT_NE(out.find("ProbeTitle"), std::string::npos) << out;
  ASSERT_EQ(ctl("windows --json", &out), 0);
  auto listed = nlohmann::json::parse(out);
  auto probeWindow = std::find_if(listed.begin(), listed.end(), [](const auto& w) { return w["class"] == "ProbeClass"; });
  ASSERT_NE(probeWindow, listed.end()) << out;
  EXPECT_EQ((*probeWindow)["title"], "ProbeTitle");
  EXPECT_EQ((*probeWindow)["rect"], nlohmann::json::parse("[0, 0, 120, 80]"));
  EXPECT_EQ((*probeWindow)["visible"], true);
  EXPECT_EQ((*probeWindow)["enabled"], true);
  EXPECT_EQ((*probeWindow)["pid"], pid);

  std::string handle = findProbe();
  EXPECT_EQ(handle.substr(0, 2), "0x");
  EXPECT_EQ(ctl("find ProbeClass Other"), 1);
  EXPECT_EQ(ctl("find '*' ProbeTitle", &out), 0);
  EXPECT_EQ(ctl("send " + handle + " WM_USER+1 40 2", &out), 0);
  EXPECT_EQ(out, "42\n");
  EXPECT_EQ(ctl("send " + handle + " 0x401 -5 3", &out), 0);
  EXPECT_EQ(out, "-2\n");
  EXPECT_NE(ctl("send 0x7ff00001 WM_USER 0 0"), 0);
  EXPECT_EQ(ctl("send " + handle + " WM_USER"), 2);

  ASSERT_EQ(ctl("tree " + handle, &out), 0);
  auto window = nlohmann::json::parse(out);
  EXPECT_EQ(window["handle"], handle);
  EXPECT_EQ(window["class"], "ProbeClass");
  EXPECT_EQ(window["text"], "ProbeTitle");
  EXPECT_EQ(window["children"], nlohmann::json::array());
  EXPECT_FALSE(window.contains("state"));  // not a control
  ASSERT_EQ(ctl("tree --pid " + std::to_string(pid), &out), 0);
  auto windows = nlohmann::json::parse(out);
  ASSERT_TRUE(windows.is_array());
  EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [&](const auto& w) { return w["handle"] == handle; })) << out;

  // Busy for 400 ms: wait-idle waits for it.
  ASSERT_EQ(ctl("post " + handle + " WM_USER+5 400 0"), 0);
  int code = 0;
  EXPECT_GE(timed("wait-idle 10", &code), 300);
  EXPECT_EQ(code, 0);

  // A busy window thread cannot hold the description up: it is asked for its state for at
  // most half a second, and the answer comes without it.
  ASSERT_EQ(ctl("post " + handle + " WM_USER+5 3000 0"), 0);
  EXPECT_LT(timed("tree --pid " + std::to_string(pid), &code), 2000);
  EXPECT_EQ(code, 0);
  ASSERT_EQ(ctl("wait-idle 10"), 0);

  ASSERT_EQ(ctl("post " + handle + " WM_CLOSE 0 0"), 0);
  EXPECT_EQ(waitExit(pid), 0u);
  ASSERT_EQ(ctl("windows", &out), 0);
  EXPECT_EQ(out.find("ProbeClass"), std::string::npos);
  EXPECT_NE(ctl("post " + handle + " WM_CLOSE 0 0"), 0);
}

TEST_F(Automation, WaitIdleTimesOutWhileAProgramIsBusy) {
  uint32_t pid = run(probe_, u"window ProbeClass ProbeTitle");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  int code = 0;
  EXPECT_LT(timed("wait-idle 10", &code), 1000);  // an idle device answers at once
  ASSERT_EQ(ctl("post " + findProbe() + " WM_USER+4 0 0"), 0);  // never returns
  EXPECT_GE(timed("wait-idle 1", &code), 900);
  EXPECT_NE(code, 0);
  device().call<ipc::KillProcess>({pid, 1});
  EXPECT_EQ(waitExit(pid), 1u);
  EXPECT_EQ(ctl("wait-idle 10"), 0);
}

// send gives up on a window procedure that does not return in time and exits 1; the answer
// that comes later is dropped, and nothing of the send is left waiting in the device.
TEST_F(Automation, SendGivesUpOnAWindowThatDoesNotReturnInTime) {
  uint32_t pid = run(probe_, u"window ProbeClass ProbeTitle");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  const std::string handle = findProbe();
  int code = 0;
  std::string out;
  EXPECT_EQ(ctl("send --timeout x " + handle + " WM_USER+1 1 2"), 2);
  EXPECT_EQ(ctl("send " + handle + " WM_USER+1 40 2 --timeout 1", &out), 0);
  EXPECT_EQ(out, "42\n");

  // Busy for 1.5 s: given up after 1 s; its answer comes half a second later and goes nowhere.
  auto late = timed("send --timeout 1 " + handle + " WM_USER+5 1500 0", &code);
  EXPECT_EQ(code, 1);
  EXPECT_GE(late, 900);
  EXPECT_LT(late, 1400);
  EXPECT_EQ(ctl("wait-idle 10"), 0);
  EXPECT_EQ(ctl("send " + handle + " WM_USER+1 40 2", &out), 0);
  EXPECT_EQ(out, "42\n");

  // Hung for good.
  auto hung = timed("send --timeout 1 " + handle + " WM_USER+4 0 0", &code);
  EXPECT_EQ(code, 1);
  EXPECT_LT(hung, 2000);
  EXPECT_EQ(ctl("send --timeout 1 " + handle + " WM_USER+4 0 0", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: timed out: window " + handle + " did not return from message WM_USER+4 within 1 s\n");
  // Ten seconds unless told otherwise.
  auto byDefault = timed("send " + handle + " WM_USER+1 0 0", &code);
  EXPECT_EQ(code, 1);
  EXPECT_GE(byDefault, 9900);
  EXPECT_LT(byDefault, 11000);

  device().call<ipc::KillProcess>({pid, 1});
  EXPECT_EQ(waitExit(pid), 1u);
  EXPECT_EQ(ctl("wait-idle 10"), 0);
}

TEST_F(Automation, AnIdleDeviceUsesNoProcessorTime) {
  uint32_t first = run(probe_, u"window ProbeClass ProbeTitle");
  uint32_t second = run(probe_, u"window OtherClass OtherTitle");
  ASSERT_EQ(ctl("wait-idle 10"), 0);
  auto status = device().call<ipc::DeviceStatus>({});
  ASSERT_TRUE(status);
  const std::vector<uint32_t> pids{status->serverPid, first, second};
  std::vector<long long> before;
  for (uint32_t pid : pids) before.push_back(cpuTicks(pid));
  std::this_thread::sleep_for(std::chrono::seconds(3));
  for (size_t i = 0; i < pids.size(); ++i) EXPECT_LE(cpuTicks(pids[i]) - before[i], 1) << "process " << pids[i];
}

}  // namespace
}  // namespace handheld::testing
