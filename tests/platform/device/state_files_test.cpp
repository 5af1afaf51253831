// The device's state on disk (hive, clock, notifications, lock) when the disk or the root
// misbehaves: a full disk, a read-only state folder or root, something other than a file at
// a state file's path, a clock file out of range. The device says what it could not do and
// never hangs or spins.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <thread>

#include "kernel/time_convert.h"
#include "os/unique_fd.h"
#include "support/device_fixture.h"

namespace handheld::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string readText(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

int64_t hostUtcTicks() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return 116444736000000000 + std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

class StateFiles : public DeviceFixture {
 protected:
  std::string deviceLog() const { return readText(hostPath(".device/device.log")); }

  uint32_t serverPid() {
    auto status = device().call<ipc::DeviceStatus>({});
    EXPECT_TRUE(status);
    return status ? status->serverPid : 0;
  }

  // User plus system time of a process, in clock ticks.
  static long cpuTicks(uint32_t pid) {
    std::string stat = readText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
      if (index == 14) utime = std::stol(field);
      if (index == 15) stime = std::stol(field);
    }
    return utime + stime;
  }

  // Starts the device and says how long it took; a server stuck opening a FIFO is let go
  // (by opening the other end) so that it does not outlive the test.
  std::chrono::milliseconds timedStart(const fs::path& fifo = {}) {
    auto began = std::chrono::steady_clock::now();
    startDevice();
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    if (::testing::Test::HasFatalFailure() && !fifo.empty()) {
      os::UniqueFd writer(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    }
    return took;
  }

  // The kinds of what was set aside for the state file `name`; removes them so that the next
  // round starts clean.
  std::vector<fs::file_type> takeSetAside(const std::string& name) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(hostPath(".device"))) {
      if (entry.path().filename().string().starts_with(name + ".damaged-")) found.push_back(entry.path());
    }
    std::vector<fs::file_type> kinds;
    for (const auto& path : found) {
      kinds.push_back(fs::symlink_status(path).type());
      fs::remove_all(path);
    }
    return kinds;
  }
};

// A FIFO there used to hang the server in open() while it held the lock.
TEST_F(StateFiles, SomethingOtherThanAFileAtAStatePathIsSetAsideAndTheDeviceStarts) {
  for (const std::string name : {"registry.reg", "clock", "notifications", "lock"}) {
    for (const bool fifo : {true, false}) {
      SCOPED_TRACE(name + (fifo ? " as a FIFO" : " as a folder"));
      stopDevice();
      const fs::path path = hostPath(".device/" + name);
      fs::remove_all(path);
      if (fifo) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
      } else {
        fs::create_directories(path / "inside");
      }
      EXPECT_LT(timedStart(fifo ? path : fs::path()), 2000ms);
      if (HasFatalFailure()) return;

      auto aside = takeSetAside(name);
      ASSERT_EQ(aside.size(), 1u);
      EXPECT_EQ(aside[0], fifo ? fs::file_type::fifo : fs::file_type::directory);
      EXPECT_TRUE(!fs::exists(fs::symlink_status(path)) || fs::is_regular_file(fs::symlink_status(path)));
      EXPECT_NE(deviceLog().find(path.string()), std::string::npos);
      EXPECT_EQ(ctl("status"), 0);
    }
  }
  // The registry still works and is saved where it belongs.
  ASSERT_EQ(ctl("reg set 'HKCU\\Test' Kept sz yes"), 0);
  EXPECT_TRUE(fs::is_regular_file(hostPath(".device/registry.reg")));
}

// With pending notifications an offset of +-(2^63 - 1) made the server spin without a word.
// A notification far ahead (year 9999) must not overflow the wait either.
TEST_F(StateFiles, ClockFileOutOfRangeIsRefusedAndTheDeviceStaysIdle) {
  const std::string year = std::to_string(kernel::ticksToSystemTime(hostUtcTicks())->wYear);
  for (const std::string clock : {"offset 9223372036854775807", "offset -9223372036854775807",
                                  "frozen 9223372036854775807", "frozen -1"}) {
    SCOPED_TRACE(clock);
    stopDevice();
    std::ofstream(hostPath(".device/clock"), std::ios::trunc) << clock << "\n";
    std::ofstream(hostPath(".device/notifications"), std::ios::trunc)
        << "7\t2099\t6\t0\t1\t12\t0\t0\t0\t\\\\Windows\\\\none.exe\tlater\n"
        << "8\t9999\t6\t0\t1\t12\t0\t0\t0\t\\\\Windows\\\\none.exe\tmuch later\n";
    startDevice();
    const uint32_t pid = serverPid();
    ASSERT_NE(pid, 0u);
    std::this_thread::sleep_for(200ms);
    const long before = cpuTicks(pid);
    std::this_thread::sleep_for(1000ms);
    EXPECT_LE(cpuTicks(pid) - before, 10) << "the server keeps working while idle";

    EXPECT_EQ(countOf(deviceLog(), "holds a time outside the years 1601 to 9999; using the host time"), 1u);
    std::string out;
    ASSERT_EQ(ctl("clock get", &out), 0);
    EXPECT_EQ(out.substr(0, 4), year);
    ASSERT_EQ(ctl("notifications", &out), 0);
    EXPECT_EQ(countOf(out, "none.exe"), 2u) << out;
    fs::remove(hostPath(".device/device.log"));
  }
}

// It ran on into the year 10000, which the device cannot show and `clock set` refuses.
TEST_F(StateFiles, ClockStandsStillAtTheEndOf9999) {
  stopDevice();
  const int64_t twoSecondsBefore = *kernel::systemTimeToTicks({9999, 12, 0, 31, 23, 59, 58, 0});
  std::ofstream(hostPath(".device/clock")) << "offset " << twoSecondsBefore - hostUtcTicks() << "\n";
  startDevice();
  std::string out;
  ASSERT_EQ(ctl("clock get", &out), 0);
  EXPECT_EQ(out.substr(0, 17), "9999-12-31 23:59:");
  std::this_thread::sleep_for(3000ms);
  ASSERT_EQ(ctl("clock get", &out), 0);
  EXPECT_EQ(out, "9999-12-31 23:59:59\n");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 9999);
  EXPECT_EQ(now.wSecond, 59);
  EXPECT_NE(ctl("clock set '10000-01-01 00:00:00'"), 0);
}

// A root on a small disk of its own (a 2 MB tmpfs in a mount namespace of this test), so the
// disk can be filled and the root or its state folder made read-only; the device log is a
// file of the host's disk mounted in, so that it can still tell. Without the right to mount,
// a user other than root gets permission bits instead; root, whom they do not stop, skips.
class MountedRoot : public StateFiles {
 protected:
  void SetUp() override {
    setenv("HANDHELD_ROOT", root().c_str(), 1);
    mounts_ = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
              ::mount("tmpfs", root().c_str(), "tmpfs", 0, "size=2m,mode=0700") == 0;
    if (!mounts_ && ::geteuid() == 0) {
      GTEST_SKIP() << "cannot mount a tmpfs in a private mount namespace, and permission bits do not stop root";
    }
    if (mounts_) {
      const fs::path log = logHome_.path() / "device.log";
      std::ofstream{log};
      fs::create_directories(hostPath(".device"));
      std::ofstream{hostPath(".device/device.log")};
      ASSERT_EQ(::mount(log.c_str(), hostPath(".device/device.log").c_str(), nullptr, MS_BIND, nullptr), 0);
    }
    startDevice();
  }

  void TearDown() override {
    StateFiles::TearDown();
    if (mounts_) {
      while (::umount2(root().c_str(), MNT_DETACH) == 0) {
      }
    } else {
      ::chmod(root().c_str(), 0700);
      ::chmod(hostPath(".device").c_str(), 0700);
    }
  }

  // Makes `folder` (the root or inside it) read-only; false when only permission bits can.
  void makeReadOnly(const fs::path& folder) {
    if (mounts_) {
      ASSERT_EQ(::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr), 0);
      ASSERT_EQ(::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    } else {
      ASSERT_EQ(::chmod(folder.c_str(), 0500), 0);
    }
  }

  // Fills the disk, or takes the state folder's write permission when no disk of its own.
  void fillDisk() {
    if (!mounts_) return makeReadOnly(hostPath(".device"));
    os::UniqueFd filler(::open(hostPath("filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(filler);
    std::vector<char> block(65536, 'x');
    while (::write(filler.get(), block.data(), block.size()) > 0) {
    }
    ASSERT_EQ(errno, ENOSPC);
  }
  void freeDisk() {
    if (mounts_) {
      fs::remove(hostPath("filler"));
    } else {
      ::chmod(hostPath(".device").c_str(), 0700);
    }
  }

  bool mounts_ = false;
  TemporaryRoot logHome_;
};

TEST_F(MountedRoot, ChangesThatCannotBeSavedAreReportedAndSavedOnceThereIsRoom) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Test", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(key, u"Before", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);

  fillDisk();
  const std::string reason = mounts_ ? "No space left on device" : "Permission denied";
  std::string out;
  EXPECT_EQ(ctl("reg set 'HKCU\\Test' Lost sz x", &out), 1);
  EXPECT_NE(out.find("could not be saved"), std::string::npos) << out;
  EXPECT_NE(out.find(reason), std::string::npos) << out;
  // The API keeps the value in memory; the flush says it is not on disk.
  DWORD two = 2;
  EXPECT_EQ(RegSetValueExW(key, u"FromApi", 0, REG_DWORD, reinterpret_cast<BYTE*>(&two), 4), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), mounts_ ? 112 /* ERROR_DISK_FULL */ : 5 /* ERROR_ACCESS_DENIED */);
  EXPECT_EQ(ctl("reg delete 'HKCU\\Test' Before", &out), 1);
  EXPECT_NE(out.find(reason), std::string::npos) << out;
  EXPECT_EQ(ctl("clock freeze '2030-01-02 03:04:05'", &out), 1);
  EXPECT_NE(out.find("could not be saved"), std::string::npos) << out;
  EXPECT_NE(out.find(reason), std::string::npos) << out;
  EXPECT_EQ(ctl("clock run", &out), 1);
  EXPECT_EQ(ctl("locale --time-format 0", &out), 1);
  ASSERT_EQ(ctl("reg get 'HKCU\\Test' Lost", &out), 0);  // in effect all the same
  EXPECT_EQ(out, "x\n");

  std::string log = deviceLog();
  EXPECT_EQ(countOf(log, "registry: cannot"), 1u) << log;  // once, not per attempt
  EXPECT_EQ(countOf(log, "clock: cannot"), 1u) << log;

  freeDisk();
  // The clock is tried again by itself (after 1 s, then 2 s ...).
  for (int waited = 0; waited < 100 && deviceLog().find("clock: saved again") == std::string::npos; ++waited) {
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_NE(deviceLog().find("clock: saved again"), std::string::npos);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  RegCloseKey(key);

  stopDevice();
  startDevice();
  ASSERT_EQ(ctl("reg get 'HKCU\\Test' Lost", &out), 0);
  EXPECT_EQ(out, "x\n");
  ASSERT_EQ(ctl("reg get 'HKCU\\Test' FromApi", &out), 0);
  EXPECT_EQ(out, "2\n");
  EXPECT_EQ(ctl("reg get 'HKCU\\Test' Before", &out), 1);
  ASSERT_EQ(ctl("clock get", &out), 0);
  EXPECT_EQ(out.substr(0, 10), "2030-01-02");
}

TEST_F(MountedRoot, ReadOnlyStateFolderIsReported) {
  if (!mounts_) GTEST_SKIP() << "the disk-full case covers permission bits";
  makeReadOnly(hostPath(".device"));
  std::string out;
  EXPECT_EQ(ctl("reg set 'HKCU\\Test' Lost sz x", &out), 1);
  EXPECT_NE(out.find("Read-only file system"), std::string::npos) << out;
  EXPECT_EQ(ctl("clock set '2030-01-02 03:04:05'", &out), 1);
  EXPECT_NE(out.find("Read-only file system"), std::string::npos) << out;
  ASSERT_EQ(::umount2(hostPath(".device").c_str(), MNT_DETACH), 0);
}

// It said "a device is already running".
TEST_F(MountedRoot, ReadOnlyRootIsRefusedWithTheReason) {
  stopDevice();
  makeReadOnly(root());
  std::string out;
  EXPECT_EQ(ctl("start --headless", &out), 1);
  EXPECT_NE(out.find("cannot be written"), std::string::npos) << out;
  EXPECT_NE(out.find(mounts_ ? "Read-only file system" : "Permission denied"), std::string::npos) << out;
  EXPECT_EQ(out.find("already running"), std::string::npos) << out;
  EXPECT_EQ(ctl("status"), 1);
}

}  // namespace
}  // namespace handheld::testing
