// handheld-ctl's refusals in words: the platform's error codes as text, a program the device
// will not start, no device on the root, and a root this user may not enter.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <regex>
#include <sstream>

#include "kernel/error_text.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

TEST(ErrorText, CodesReadAsWordsWithTheCodeInBrackets) {
  EXPECT_EQ(kernel::describeError(3), "the path was not found [error 3]");
  EXPECT_EQ(kernel::describeError(1816), "a limit of the device is reached [error 1816]");
  EXPECT_EQ(kernel::describeError(3, "the path is empty"), "the path is empty [error 3]");
  EXPECT_EQ(kernel::describeError(1460), "the operation timed out [error 1460]");
  EXPECT_EQ(kernel::describeError(99999), "error 99999");
  EXPECT_EQ(kernel::errorText(99999), "");
}

TEST(ErrorText, EveryCodeThePlatformDeclaresHasWords) {
  std::ifstream header(std::string(HANDHELD_SOURCE_DIR) + "/platform/include/winerror.h");
  ASSERT_TRUE(header);
  const std::regex define(R"(#define\s+(\w+)\s+(\d+)L)");
  int codes = 0;
  for (std::string line; std::getline(header, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, define)) continue;
    ++codes;
    EXPECT_FALSE(kernel::errorText(static_cast<uint32_t>(std::stoul(m[2]))).empty()) << m[1];
  }
  EXPECT_GT(codes, 80);
}

// handheld-ctl with `arguments`, its standard error and output in `out`; exit code, or -1.
// As `uid` when it is not the caller's (only root may do that).
int runCtl(const std::vector<std::string>& arguments, std::string& out, uid_t uid = getuid()) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  std::vector<std::string> argv{(buildDir() / "bin" / "handheld-ctl").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], 1);
    dup2(pipeFds[1], 2);
    if (uid != getuid() && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) _exit(126);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipeFds[1]);
  out.clear();
  std::array<char, 256> buffer;
  ssize_t n;
  while ((n = read(pipeFds[0], buffer.data(), buffer.size())) > 0) out.append(buffer.data(), static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class CtlRefusals : public DeviceFixture {};

TEST_F(CtlRefusals, ProgramsTheDeviceWillNotStartAreExplained) {
  std::string out;
  EXPECT_EQ(ctl("run ''", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: the path is empty [error 3]\n");
  EXPECT_EQ(ctl("run '\\Nowhere\\app.exe'", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: no device program at \\Nowhere\\app.exe [error 2]\n");
  EXPECT_EQ(ctl("run 'a:b'", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: a:b is not a device path (a path may not leave the device root) "
                 "[error 123]\n");
  EXPECT_EQ(ctl("run '\\.device\\lock'", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: access to \\.device\\lock is denied (a path may not go through a link "
                 "or into \\.device) [error 5]\n");
  EXPECT_EQ(ctl("run '\\Windows\\" + std::string(300, 'n') + ".exe'", &out), 1);
  EXPECT_NE(out.find("is too long [error 206]"), std::string::npos) << out;
  EXPECT_EQ(ctl("wait-exit 999999999", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: no device process 999999999 [error 87]\n");
}

TEST_F(CtlRefusals, TheProgramLimitIsNamed) {
  auto probe = installTestProgram("probe.exe");
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, u"CtlRefusalsRelease");  // this process runs too
  std::vector<uint32_t> pids;
  for (;;) {
    auto reply = device().call<ipc::StartProcess>({probe, u"event-wait CtlRefusalsRelease 60000"});
    ASSERT_TRUE(reply);
    if (reply->error) {
      EXPECT_EQ(reply->error, 1816u);
      break;
    }
    pids.push_back(reply->pid);
    ASSERT_LE(pids.size(), 64u);
  }
  auto listed = device().call<ipc::ListProcesses>({});
  ASSERT_TRUE(listed);
  EXPECT_EQ(std::count_if(listed->processes.begin(), listed->processes.end(), [](auto& p) { return p.running; }), 64);
  std::string out;
  EXPECT_EQ(ctl("run '\\Tests\\probe.exe' exit 0", &out), 1);
  EXPECT_EQ(out, "handheld-ctl: refused: the device runs its maximum of 64 programs [error 1816]\n");
  SetEvent(release);
  for (uint32_t pid : pids) EXPECT_EQ(waitExit(pid), 0u);
  CloseHandle(release);
}

TEST_F(CtlRefusals, NoDeviceAndNoAccessAreToldApart) {
  TemporaryRoot empty;
  std::string out;
  EXPECT_EQ(runCtl({"--root", empty.path().string(), "ps"}, out), 1);
  EXPECT_EQ(out, "handheld-ctl: no device is running on " + empty.path().string() +
                     " (start it with `handheld-ctl start`)\n");
  EXPECT_EQ(runCtl({"--root", empty.path().string(), "status"}, out), 1);
  EXPECT_EQ(out, "stopped: no device is running on " + empty.path().string() + "\n");

  // Root passes every permission check: it asks as nobody. Anyone else is kept out by a folder
  // without permissions.
  const bool asRoot = geteuid() == 0;
  const uid_t nobody = 65534;
  const auto state = root() / ".device";
  if (asRoot) {
    if (runCtl({"--help"}, out, nobody) != 0)
      GTEST_SKIP() << "nobody may not run " << (buildDir() / "bin" / "handheld-ctl") << ": " << out;
  } else {
    std::filesystem::permissions(state, std::filesystem::perms::none);
  }
  const uid_t asker = asRoot ? nobody : getuid();
  const std::string expected =
      "handheld-ctl: cannot reach the device at " + root().string() + ": permission denied\n";
  EXPECT_EQ(runCtl({"--root", root().string(), "ps"}, out, asker), 1);
  EXPECT_EQ(out, expected);
  EXPECT_EQ(runCtl({"--root", root().string(), "status"}, out, asker), 1);
  EXPECT_EQ(out, expected);
  if (!asRoot) std::filesystem::permissions(state, std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace handheld::testing
