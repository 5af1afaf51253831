// The device log stays small whatever happens: repeated failures are summed up, and the file
// is capped at 1 MiB with one rotated file beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "log.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

namespace fsys = std::filesystem;

std::vector<std::string> readLines(const fsys::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class DeviceLog : public DeviceFixture {};

TEST_F(DeviceLog, JunkNotificationsFileWritesAFewLines) {
  stopDevice();
  {
    std::ofstream junk(hostPath(".device/notifications"));
    for (int i = 0; i < 200000; ++i) junk << "junk " << i << "\n";
  }
  size_t before = readLines(hostPath(".device/device.log")).size();
  startDevice();
  auto lines = readLines(hostPath(".device/device.log"));
  ASSERT_GE(lines.size(), before);
  EXPECT_LT(lines.size() - before, 20u);
  bool summed = false;
  for (auto& line : lines) summed |= line.find("199995 more not logged") != std::string::npos;
  EXPECT_TRUE(summed);
  EXPECT_EQ(ctl("status"), 0);
}

class LogFile : public ::testing::Test {
 protected:
  void SetUp() override { fsys::create_directories(state()); }
  fsys::path state() const { return root_.path() / ".device"; }
  uintmax_t sizeOf(const char* name) const { return fsys::file_size(state() / name); }

  TemporaryRoot root_;
};

TEST_F(LogFile, RotatesAtOneMebibyteKeepingOneOlderFile) {
  device::Log log;
  std::string error;
  ASSERT_TRUE(log.open(root_.path(), false, error)) << error;
  const std::string filler(80, 'x');
  for (int i = 0; i < 40000; ++i) log.write("line " + std::to_string(i) + " " + filler);  // ~4 MiB
  EXPECT_LE(sizeOf("device.log"), 1048576u);
  EXPECT_LE(sizeOf("device.log.1"), 1048576u);
  EXPECT_GT(sizeOf("device.log.1"), 1048576u - 200);
  EXPECT_FALSE(fsys::exists(state() / "device.log.2"));
  auto lines = readLines(state() / "device.log");
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find("line 39999 x"), std::string::npos);
  auto older = readLines(state() / "device.log.1");
  ASSERT_FALSE(older.empty());
  EXPECT_EQ(older.front().find("line 0 "), std::string::npos);

  // One line of hostile length or with line breaks stays one bounded line.
  log.write(std::string(100000, 'y'));
  lines = readLines(state() / "device.log");
  EXPECT_LE(lines.back().size(), 2100u);
  log.write("a\n2026-01-01 00:00:00 forged");
  lines = readLines(state() / "device.log");
  EXPECT_NE(lines.back().find("a?2026-01-01 00:00:00 forged"), std::string::npos);
}

TEST_F(LogFile, CapturedStderrFollowsTheRotation) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    device::Log log;
    std::string error;
    if (!log.open(root_.path(), false, error)) _exit(1);
    log.captureStdio();
    for (int i = 0; i < 12000; ++i) log.write(std::string(100, 'z'));  // past 1 MiB once
    std::fputs("from stderr\n", stderr);
    std::fflush(stderr);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  auto lines = readLines(state() / "device.log");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "from stderr");
  EXPECT_LT(sizeOf("device.log"), 1048576u / 2);
}

TEST_F(LogFile, RefusesALinkAndAFifo) {
  TemporaryRoot outside;
  std::ofstream(outside.path() / "mine") << "keep\n";
  fsys::create_symlink(outside.path() / "mine", state() / "device.log");
  device::Log log;
  std::string error;
  EXPECT_FALSE(log.open(root_.path(), false, error));
  EXPECT_NE(error.find("device.log is a symbolic link"), std::string::npos) << error;
  EXPECT_EQ(fsys::file_size(outside.path() / "mine"), 5u);

  fsys::remove(state() / "device.log");
  ASSERT_EQ(::mkfifo((state() / "device.log").c_str(), 0600), 0);
  EXPECT_FALSE(log.open(root_.path(), false, error));  // and does not block
  EXPECT_NE(error.find("device.log is not a regular file"), std::string::npos) << error;
}

TEST_F(LogFile, RepeatedFailuresShowTheFirstFiveAndACount) {
  device::Log log;
  std::string error;
  ASSERT_TRUE(log.open(root_.path(), false, error)) << error;
  {
    device::RepeatedFailures failures(log, "things");
    for (int i = 0; i < 1000; ++i) failures.add("thing " + std::to_string(i) + " failed");
  }
  auto lines = readLines(state() / "device.log");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_NE(lines[4].find("thing 4 failed"), std::string::npos);
  EXPECT_NE(lines[5].find("things: 995 more not logged"), std::string::npos);
}

}  // namespace
}  // namespace handheld::testing
