// The kernel services of a running device, from this test process and from real device
// processes started on it.
#include <gtest/gtest.h>
#include <windows.h>

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "support/device_fixture.h"

using handheld::testing::DeviceFixture;

namespace {

std::u16string readUtf16File(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

class KernelServices : public DeviceFixture {};

TEST_F(KernelServices, RegistryThroughTheApi) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Test\\Deep", 0, nullptr, 0, 0, nullptr, &key,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  DWORD number = 1234;
  ASSERT_EQ(RegSetValueExW(key, u"Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4), ERROR_SUCCESS);
  const char16_t text[] = u"hello";
  ASSERT_EQ(RegSetValueExW(key, u"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
            ERROR_SUCCESS);
  RegCloseKey(key);

  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"\\software\\TEST\\deep", 0, nullptr, 0, 0, nullptr, &key,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegQueryValueExW(key, u"number", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 1234u);

  WCHAR small[3];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof text);
  size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof text);

  WCHAR name[8];
  DWORD nameLength = 8;
  EXPECT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"Number");
  nameLength = 8;
  EXPECT_EQ(RegEnumValueW(key, 2, name, &nameLength, nullptr, &type, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

  EXPECT_EQ(RegDeleteValueW(key, u"Text"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Missing", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

// Debug lines reach the device log tagged with the process, one log line each, cut at 1024
// characters.
TEST_F(KernelServices, DebugOutputGoesToTheDeviceLog) {
  OutputDebugStringW(u"first line\r\n");
  OutputDebugStringW(u"two\nlines\x1b[31m");
  OutputDebugStringW((std::u16string(1030, u'a') + u"b").c_str());
  OutputDebugStringW(nullptr);
  // A request after the notices is answered after they are handled.
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, 0, &key);
  RegCloseKey(key);
  std::ifstream in(root() / ".device" / "device.log");
  const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string tag = "process (" + std::to_string(getpid()) + "): ";
  EXPECT_NE(log.find(tag + "first line\n"), std::string::npos) << log;
  EXPECT_NE(log.find(tag + "two?lines?[31m\n"), std::string::npos) << log;
  EXPECT_NE(log.find(tag + std::string(1024, 'a') + "\n"), std::string::npos);
  EXPECT_EQ(log.find(std::string(1024, 'a') + "b"), std::string::npos);
}

TEST_F(KernelServices, HiveSurvivesRestartAndDamage) {
  ASSERT_EQ(ctl("reg set 'HKLM\\SOFTWARE\\Test' Kept dword 77"), 0);
  stopDevice();
  startDevice();
  std::string out;
  ASSERT_EQ(ctl("reg get 'HKLM\\SOFTWARE\\Test' Kept", &out), 0);
  EXPECT_EQ(out, "77\n");

  stopDevice();
  std::ofstream(hostPath(".device/registry.reg"), std::ios::trunc) << "\x01garbage[[[\n\"x\"=dword:zz";
  startDevice();
  EXPECT_NE(ctl("reg get 'HKLM\\SOFTWARE\\Test' Kept"), 0);
  // The default hive took its place: the record button's entry is there again.
  ASSERT_EQ(ctl("reg dump 'HKLM\\SOFTWARE\\Microsoft\\Shell\\Keys'", &out), 0);
  EXPECT_NE(out.find("Button 5"), std::string::npos);
  bool setAside = false;
  for (auto& entry : std::filesystem::directory_iterator(hostPath(".device")))
    setAside |= entry.path().filename().string().rfind("registry.reg.damaged-", 0) == 0;
  EXPECT_TRUE(setAside);
}

TEST_F(KernelServices, LaunchedProcessGetsItsExactCommandLineAndExitCode) {
  auto probe = installTestProgram("probe.exe");
  EXPECT_EQ(waitExit(run(probe, u"exit 42")), 42u);
  EXPECT_EQ(waitExit(run(probe, u"exit 70000")), 70000u);  // wider than a host exit status
  std::u16string line = u"cmdline \\Temp\\line.txt  two  spaces \"and quotes\" \u00e9\U0001F600";
  ASSERT_EQ(waitExit(run(probe, line)), 0u);
  EXPECT_EQ(readUtf16File(hostPath("Temp/line.txt")), line);
}

TEST_F(KernelServices, NamedEventWakesAWaiterInAnotherProcess) {
  auto probe = installTestProgram("probe.exe");
  // Held here, the event outlives a setter that runs before the waiter has opened it (a
  // named object goes with its last handle).
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, u"CrossEvent");
  ASSERT_NE(held, nullptr);
  uint32_t waiter = run(probe, u"event-wait CrossEvent 10000");
  Sleep(200);  // normally the waiter waits by now; the outcome does not depend on it
  EXPECT_FALSE(waitExit(waiter, 0));
  uint32_t setter = run(probe, u"event-set CrossEvent");
  EXPECT_EQ(waitExit(setter), 0u);
  EXPECT_EQ(waitExit(waiter), 0u);
  CloseHandle(held);
  EXPECT_EQ(waitExit(run(probe, u"event-wait NobodySets 100")), 1u);
}

// A pulse must find the waiters of other processes before it leaves the event reset.
TEST_F(KernelServices, PulsingANamedEventReleasesWaitersInOtherProcesses) {
  auto probe = installTestProgram("probe.exe");
  HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, u"PulseReady");
  auto startWaiters = [&](const char16_t* name) {
    std::vector<uint32_t> pids;
    for (int i = 0; i < 2; ++i) {
      pids.push_back(run(probe, std::u16string(u"event-wait ") + name + u" 10000 PulseReady"));
      EXPECT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
    }
    Sleep(200);  // from setting READY to waiting takes the probe microseconds
    return pids;
  };

  HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, u"PulseManual");
  auto manualWaiters = startWaiters(u"PulseManual");
  ASSERT_TRUE(PulseEvent(manual));
  for (uint32_t pid : manualWaiters) EXPECT_EQ(waitExit(pid, 5000), 0u);
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  HANDLE automatic = CreateEventW(nullptr, FALSE, FALSE, u"PulseAuto");
  auto autoWaiters = startWaiters(u"PulseAuto");
  ASSERT_TRUE(PulseEvent(automatic));
  Sleep(300);
  const int stillWaiting = !waitExit(autoWaiters[0], 0) + !waitExit(autoWaiters[1], 0);
  EXPECT_EQ(stillWaiting, 1);
  // A pulse from another process releases the other one, and nobody after it.
  EXPECT_EQ(waitExit(run(probe, u"event-pulse PulseAuto")), 0u);
  for (uint32_t pid : autoWaiters) EXPECT_EQ(waitExit(pid, 5000), 0u);
  EXPECT_EQ(waitExit(run(probe, u"event-wait PulseAuto 100")), 1u);
  for (HANDLE h : {ready, manual, automatic}) CloseHandle(h);
}

TEST_F(KernelServices, NamedMappingIsSharedAndVanishesWithTheLastHandle) {
  auto probe = installTestProgram("probe.exe");
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 520, u"SharedBlock");
  ASSERT_NE(map, nullptr);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  auto* view = static_cast<WCHAR*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  lstrcpyW(view, u"\\My Documents\\My Pinnotes\\Pinnote3.stk");
  UnmapViewOfFile(view);
  EXPECT_EQ(waitExit(run(probe, u"map-read SharedBlock \\Temp\\map.txt")), 0u);
  EXPECT_EQ(readUtf16File(hostPath("Temp/map.txt")), u"\\My Documents\\My Pinnotes\\Pinnote3.stk");
  CloseHandle(map);
  EXPECT_EQ(waitExit(run(probe, u"map-read SharedBlock \\Temp\\map.txt")), 2u);
}

TEST_F(KernelServices, NotificationFiresWhenTheFrozenClockReachesIt) {
  auto probe = installTestProgram("probe.exe");
  ASSERT_EQ(ctl("clock freeze '2026-03-01 10:00:00'"), 0);
  std::u16string app = probe;
  std::u16string args = u"cmdline \\Temp\\fired.txt AppRunAtTime";
  CE_NOTIFICATION_TRIGGER trigger{};
  trigger.dwSize = sizeof trigger;
  trigger.dwType = CNT_TIME;
  trigger.lpszApplication = app.data();
  trigger.lpszArguments = args.data();
  trigger.stStartTime = SYSTEMTIME{2026, 3, 0, 1, 11, 0, 0, 0};
  trigger.stEndTime = trigger.stStartTime;
  HANDLE notification = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
  ASSERT_NE(notification, nullptr);
  std::string listed;
  ASSERT_EQ(ctl("notifications", &listed), 0);
  EXPECT_NE(listed.find("2026-03-01 11:00:00"), std::string::npos);

  ASSERT_EQ(ctl("clock set '2026-03-01 10:59:59'"), 0);
  EXPECT_FALSE(std::filesystem::exists(hostPath("Temp/fired.txt")));
  ASSERT_EQ(ctl("clock set '2026-03-01 11:00:00'"), 0);
  auto processes = device().call<handheld::ipc::ListProcesses>({});
  ASSERT_TRUE(processes);
  uint32_t fired = 0;
  for (auto& p : processes->processes)
    if (p.commandLine == args) fired = p.pid;
  ASSERT_NE(fired, 0u);
  EXPECT_EQ(waitExit(fired), 0u);
  EXPECT_EQ(readUtf16File(hostPath("Temp/fired.txt")), args);
  ASSERT_EQ(ctl("notifications", &listed), 0);
  EXPECT_EQ(listed, "");
  EXPECT_FALSE(CeClearUserNotification(notification));  // it fired and is gone
}

TEST_F(KernelServices, CtlRefusesPathsOutsideTheRootAndReportsTheClock) {
  std::string out;
  EXPECT_NE(ctl("run '\\..\\..\\bin\\sh'", &out), 0);
  EXPECT_NE(out.find("may not leave the device root"), std::string::npos);
  EXPECT_NE(ctl("run /bin/sh", &out), 0);
  ASSERT_EQ(ctl("clock freeze '2030-12-31 23:59:58'"), 0);
  ASSERT_EQ(ctl("clock get", &out), 0);
  EXPECT_EQ(out, "2030-12-31 23:59:58\n");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2030);
  EXPECT_EQ(now.wSecond, 58);
}

TEST_F(KernelServices, LocaleFollowsTheDeviceSettings) {
  WCHAR answer[5];
  ASSERT_EQ(ctl("locale --date-order 2 --time-format 0"), 0);
  ASSERT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILDATE, answer, 5), 2);
  EXPECT_EQ(std::u16string(answer), u"2");
  ASSERT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ITIME, answer, 5), 2);
  EXPECT_EQ(std::u16string(answer), u"0");
  PROCESSOR_INFO info{};
  DWORD returned = 0;
  ASSERT_TRUE(KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &returned));
  EXPECT_EQ(std::u16string(info.szProcessorName), u"Handheld ARM");
}

}  // namespace
