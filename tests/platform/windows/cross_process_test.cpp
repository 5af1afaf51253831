// Windows and messages between this test process and a device program (window_probe):
// finding windows, the single-instance rule, sends and posts with nested sends both ways, a
// receiver that is killed, activation across the two processes, and what may not cross.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "automation_client.h"
#include "strings/utf.h"
#include "windows_fixture.h"

namespace handheld::testing {
namespace {

std::u16string hex(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

class CrossProcess : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    probe_ = installTestProgram("window_probe.exe");
  }
  // Starts the probe and returns its window once the device is idle again.
  HWND startProbe(const std::u16string& arguments, uint32_t* pid = nullptr) {
    uint32_t started = run(probe_, arguments);
    if (pid) *pid = started;
    if (!waitIdle()) ADD_FAILURE() << "the device did not become idle";
    return FindWindowW(u"ProbeClass", u"ProbeTitle");
  }
  bool recorded(UINT message, WPARAM wParam) const {
    for (const auto& m : recorder.messages())
      if (m.message == message && m.wParam == wParam) return true;
    return false;
  }

  std::u16string probe_;
};

TEST_F(CrossProcess, FindingAnotherProcessesWindowAndTheSingleInstanceRule) {
  HWND watcher = create(0, nullptr, {0, 0, 10, 10}, 0, u"Watcher");
  uint32_t pid = 0;
  HWND probe = startProbe(u"instance ProbeClass ProbeTitle " + hex(watcher), &pid);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(FindWindowW(u"probeclass", nullptr), probe);
  EXPECT_EQ(FindWindowW(nullptr, u"probetitle"), nullptr);  // titles compare exactly

  // A second start finds the first, tells it and ends.
  uint32_t second = run(probe_, u"instance ProbeClass ProbeTitle");
  EXPECT_EQ(waitExit(second), 0u);
  EXPECT_TRUE(recorder.pumpUntil([&] { return recorded(WM_APP + 10, second); }));

  WCHAR text[32];
  EXPECT_EQ(GetWindowTextW(probe, text, 32), 10);
  EXPECT_EQ(std::u16string(text), u"ProbeTitle");
  EXPECT_EQ(GetWindowTextLengthW(probe), 10);
  EXPECT_EQ(GetClassNameW(probe, text, 32), 10);
  EXPECT_EQ(std::u16string(text), u"ProbeClass");
  EXPECT_TRUE(IsWindow(probe));
  EXPECT_TRUE(IsWindowVisible(probe));
  EXPECT_TRUE(IsWindowEnabled(probe));
  RECT r;
  ASSERT_TRUE(GetWindowRect(probe, &r));
  EXPECT_EQ(r.right, 120);
  EXPECT_EQ(r.bottom, 80);
  DWORD owner = 0;
  EXPECT_NE(GetWindowThreadProcessId(probe, &owner), 0u);
  EXPECT_EQ(owner, pid);

  std::vector<HWND> all;
  EnumWindows([](HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all, (std::vector<HWND>{probe, watcher}));
}

TEST_F(CrossProcess, SendsAndPostsCarryIntegersOnly) {
  uint32_t pid = 0;
  HWND probe = startProbe(u"window ProbeClass ProbeTitle", &pid);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(SendMessageW(probe, WM_USER + 1, 40, 2), 42);
  EXPECT_EQ(SendMessageW(probe, WM_USER + 1, WPARAM{1} << 40, -3), (LRESULT{1} << 40) - 3);

  SetLastError(0);
  EXPECT_EQ(SendMessageW(probe, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"hack")), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
  EXPECT_FALSE(SetWindowTextW(probe, u"hack"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DestroyWindow(probe));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(FindWindowW(nullptr, u"ProbeTitle"), probe);
  // Posting a pointer to another process: text, a list box string, an edit message.
  for (UINT message : {0x000Cu, 0x0180u, 0x00B1u}) {
    SetLastError(0);
    EXPECT_FALSE(PostMessageW(probe, message, 0, reinterpret_cast<LPARAM>(u"hack")));
    EXPECT_EQ(GetLastError(), 1159u);
    EXPECT_FALSE(PostThreadMessageW(GetWindowThreadProcessId(probe, nullptr), message, 0, 0));
    EXPECT_EQ(GetLastError(), 1159u);
  }

  // A handle of the probe's slot that names nothing there.
  HWND ghost = reinterpret_cast<HWND>((reinterpret_cast<uintptr_t>(probe) & ~uintptr_t{0xFFFFF}) | 0xFFFFF);
  EXPECT_FALSE(IsWindow(ghost));
  SetLastError(0);
  EXPECT_EQ(SendMessageW(ghost, WM_USER + 1, 1, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessageW(ghost, WM_USER, 0, 0));

  // A thread message to the probe's thread ends its loop with that code.
  DWORD thread = GetWindowThreadProcessId(probe, nullptr);
  EXPECT_TRUE(PostThreadMessageW(thread, WM_QUIT, 5, 0));
  EXPECT_EQ(waitExit(pid), 5u);
  EXPECT_FALSE(IsWindow(probe));
  EXPECT_FALSE(PostMessageW(probe, WM_USER, 0, 0));
  EXPECT_EQ(FindWindowW(u"ProbeClass", nullptr), nullptr);
}

TEST_F(CrossProcess, NestedSendsInBothDirections) {
  HWND probe = startProbe(u"window ProbeClass ProbeTitle");
  HWND mine = create(0);
  recorder.clear();
  recorder.react(WM_USER + 3, [&](HWND, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    return SendMessageW(probe, WM_USER + 1, wParam, 100);  // back into the probe, which waits on us
  });
  // probe -> mine (WM_USER+3) -> probe (WM_USER+1): 5 + 100, then + 1000 in the probe.
  EXPECT_EQ(SendMessageW(probe, WM_USER + 2, reinterpret_cast<WPARAM>(mine), 5), 1105);
  EXPECT_TRUE(recorder.matches({{WM_USER + 3, kSent | kWParam, 5}}));
  PostMessageW(probe, WM_CLOSE, 0, 0);
}

TEST_F(CrossProcess, AKilledReceiverFreesTheSender) {
  uint32_t pid = 0;
  HWND probe = startProbe(u"window ProbeClass ProbeTitle", &pid);
  std::thread killer([&] {
    Sleep(200);
    std::string error;
    auto client = automation::AutomationClient::connect(root(), error);
    ASSERT_TRUE(client) << error;
    client->call<ipc::KillProcess>({pid, 9});
  });
  EXPECT_EQ(SendMessageW(probe, WM_USER + 4, 0, 0), 0);  // the probe never answers
  killer.join();
  EXPECT_EQ(waitExit(pid), 9u);
  EXPECT_FALSE(IsWindow(probe));
}

TEST_F(CrossProcess, AStoppedProcessHoldsNobodyUp) {
  uint32_t pid = 0;
  HWND probe = startProbe(u"window ProbeClass ProbeTitle", &pid);
  HWND ghost = reinterpret_cast<HWND>((reinterpret_cast<uintptr_t>(probe) & ~uintptr_t{0xFFFFF}) | 0xFFFFF);
  ASSERT_EQ(kill(static_cast<pid_t>(pid), SIGSTOP), 0);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(PostMessageW(probe, WM_USER, 0, 0));  // a known top-level window: at once
  EXPECT_LT(GetTickCount() - start, 900u);  // under the 1 s an unknown window is waited for
  EXPECT_FALSE(IsWindow(ghost));  // the stopped process cannot answer: refused in time
  EXPECT_TRUE(PostMessageW(ghost, WM_USER, 0, 0));  // not acknowledged: taken as delivered
  EXPECT_LT(GetTickCount() - start, 5000u);
  ASSERT_EQ(kill(static_cast<pid_t>(pid), SIGCONT), 0);
  EXPECT_TRUE(PostMessageW(probe, WM_CLOSE, 0, 0));
  EXPECT_EQ(waitExit(pid), 0u);
}

// The probe waits in a send while 100000 numbered posts come: its queue takes 10000, every
// other post fails with ERROR_NOT_ENOUGH_QUOTA (1816), and exactly the posts reported as
// posted arrive. Once it has taken them, posts go through again.
TEST_F(CrossProcess, ABusyReceiversFullQueueRefusesPosts) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, u"ProbeRelease");
  ASSERT_NE(release, nullptr);
  HWND probe = startProbe(u"window ProbeClass ProbeTitle");
  ASSERT_NE(probe, nullptr);
  ASSERT_TRUE(SendNotifyMessageW(probe, WM_USER + 7, 0, 0));  // busy until released

  LRESULT posted = 0;
  LRESULT sum = 0;
  int refusedForQuota = 0;
  for (int n = 1; n <= 100000; ++n) {
    SetLastError(0);
    if (PostMessageW(probe, WM_USER + 8, static_cast<WPARAM>(n), 0)) {
      ++posted;
      sum += n;
    } else if (GetLastError() == 1816) {
      ++refusedForQuota;
    }
  }
  EXPECT_EQ(posted, 10000);
  EXPECT_EQ(sum, 50005000);  // the first 10000
  EXPECT_EQ(refusedForQuota, 90000);
  // Whoever posts, and to the thread as well.
  SetLastError(0);
  EXPECT_FALSE(PostThreadMessageW(GetWindowThreadProcessId(probe, nullptr), WM_USER + 8, 1, 0));
  EXPECT_EQ(GetLastError(), 1816u);
  std::string out;
  EXPECT_EQ(ctl("post " + strings::toUtf8(hex(probe)) + " WM_USER+8 1 0", &out), 1) << out;

  ASSERT_TRUE(SetEvent(release));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(SendMessageW(probe, WM_USER + 9, 0, 0), posted);
  EXPECT_EQ(SendMessageW(probe, WM_USER + 11, 0, 0), sum);
  EXPECT_TRUE(PostMessageW(probe, WM_USER + 8, 1, 0));
  EXPECT_EQ(ctl("post " + strings::toUtf8(hex(probe)) + " WM_USER+8 1 0"), 0);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(SendMessageW(probe, WM_USER + 9, 0, 0), posted + 2);
  CloseHandle(release);
  PostMessageW(probe, WM_CLOSE, 0, 0);
}

TEST_F(CrossProcess, ActivationMessagesAcrossTwoProcesses) {
  HWND mine = create(WS_VISIBLE, nullptr, {0, 0, 50, 50}, 0, u"Mine");
  recorder.pumpPending();
  recorder.ignore({WM_PAINT, WM_ERASEBKGND});
  recorder.clear();
  HWND probe = startProbe(u"window ProbeClass ProbeTitle " + hex(mine));
  ASSERT_TRUE(recorder.pumpUntil([&] { return recorded(WM_APP + 1, WA_ACTIVE); }));
  EXPECT_EQ(GetForegroundWindow(), probe);
  EXPECT_TRUE(recorder.matches({{WM_ACTIVATE, kSent | kWParam | kLParam, WA_INACTIVE, reinterpret_cast<LPARAM>(probe)},
                                {WM_KILLFOCUS, kSent},
                                {WM_APP + 1, kPosted | kWParam, WA_ACTIVE},
                                {WM_APP + 2, kPosted}}));

  recorder.clear();
  ASSERT_TRUE(SetForegroundWindow(mine));
  EXPECT_EQ(GetForegroundWindow(), mine);
  ASSERT_TRUE(recorder.pumpUntil([&] { return recorded(WM_APP + 1, WA_INACTIVE) && recorded(WM_APP + 3, 0); }));
  EXPECT_TRUE(recorder.matches({{WM_ACTIVATE, kSent | kWParam | kLParam, WA_ACTIVE, reinterpret_cast<LPARAM>(probe)},
                                {WM_SETFOCUS, kSent},
                                {WM_APP + 1, kPosted | kWParam, WA_INACTIVE},
                                {WM_APP + 3, kPosted}},
                               mine));

  // The probe takes the activation back while this thread waits in a send to it.
  recorder.clear();
  EXPECT_EQ(SendMessageW(probe, WM_USER + 6, 0, 0), TRUE);
  ASSERT_TRUE(recorder.pumpUntil([&] { return recorded(WM_APP + 1, WA_ACTIVE); }));
  EXPECT_TRUE(recorder.matches({{WM_ACTIVATE, kSent | kWParam, WA_INACTIVE},
                                {WM_KILLFOCUS, kSent},
                                {WM_APP + 1, kPosted | kWParam, WA_ACTIVE},
                                {WM_APP + 2, kPosted}},
                               mine));

  // When the probe's window goes, the activation comes back here.
  recorder.clear();
  PostMessageW(probe, WM_CLOSE, 0, 0);
  ASSERT_TRUE(recorder.pumpUntil([&] { return GetActiveWindow() == mine; }));
  EXPECT_TRUE(recorder.matches({{WM_APP + 1, kPosted | kOptional},
                                {WM_APP + 3, kPosted | kOptional},
                                {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
                                {WM_SETFOCUS, kSent},
                                {WM_APP + 1, kPosted | kOptional},
                                {WM_APP + 3, kPosted | kOptional}},
                               mine));
}

}  // namespace
}  // namespace handheld::testing
