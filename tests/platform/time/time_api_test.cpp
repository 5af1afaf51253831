#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "kernel/device_clock.h"
#include "kernel/time_convert.h"

namespace {

using handheld::kernel::kTicksPerMinute;
using handheld::kernel::kTicksPerSecond;

int64_t ticksOf(const FILETIME& time) {
  return static_cast<int64_t>((uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}

TEST(TimeApiTest, FileTimeToSystemTimeFillsTheWeekday) {
  const FILETIME leapDay{static_cast<DWORD>(133536384000000000), static_cast<DWORD>(133536384000000000 >> 32)};
  SYSTEMTIME time{};
  ASSERT_TRUE(FileTimeToSystemTime(&leapDay, &time));
  EXPECT_EQ(time.wDayOfWeek, 4);  // 29 February 2024 was a Thursday
  FILETIME back{};
  ASSERT_TRUE(SystemTimeToFileTime(&time, &back));
  EXPECT_EQ(CompareFileTime(&back, &leapDay), 0);
}

TEST(TimeApiTest, InvalidInputFailsWithInvalidParameter) {
  SYSTEMTIME feb29{};
  feb29.wYear = 2023;
  feb29.wMonth = 2;
  feb29.wDay = 29;
  FILETIME fileTime{};
  SetLastError(0);
  EXPECT_FALSE(SystemTimeToFileTime(&feb29, &fileTime));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  SYSTEMTIME time{};
  const FILETIME tooLarge{0, 0x80000000u};
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &time));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  EXPECT_FALSE(SystemTimeToFileTime(nullptr, &fileTime));
  EXPECT_FALSE(FileTimeToSystemTime(&fileTime, nullptr));
  EXPECT_FALSE(FileTimeToLocalFileTime(nullptr, &fileTime));
  EXPECT_FALSE(LocalFileTimeToFileTime(&tooLarge, &fileTime));
}

TEST(TimeApiTest, CompareFileTimeOrdersUnsigned64BitValues) {
  const FILETIME low{0xFFFFFFFFu, 1};
  const FILETIME high{0, 2};
  const FILETIME top{0, 0x80000000u};
  EXPECT_EQ(CompareFileTime(&low, &high), -1);
  EXPECT_EQ(CompareFileTime(&high, &low), 1);
  EXPECT_EQ(CompareFileTime(&high, &high), 0);
  EXPECT_EQ(CompareFileTime(&high, &top), -1);
}

TEST(TimeApiTest, LocalFileTimeFollowsTheDeviceBias) {
  const FILETIME utc{0x12345678u, 0x01D00000u};
  FILETIME local{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  EXPECT_EQ(ticksOf(local), ticksOf(utc) - handheld::kernel::deviceTimeZoneBias() * kTicksPerMinute);
  FILETIME back{};
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(CompareFileTime(&back, &utc), 0);
}

TEST(TimeApiTest, ClockReadsTheDeviceClock) {
  SYSTEMTIME system{};
  SYSTEMTIME local{};
  const int64_t before = handheld::kernel::deviceUtcNow();
  GetSystemTime(&system);
  GetLocalTime(&local);
  const int64_t after = handheld::kernel::deviceUtcNow();
  FILETIME systemFile{};
  FILETIME localFile{};
  ASSERT_TRUE(SystemTimeToFileTime(&system, &systemFile));
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
  // GetSystemTime drops the part below a millisecond.
  EXPECT_GE(ticksOf(systemFile), before - handheld::kernel::kTicksPerMillisecond);
  EXPECT_LE(ticksOf(systemFile), after);
  const int64_t offset = ticksOf(systemFile) - ticksOf(localFile);
  EXPECT_NEAR(static_cast<double>(offset),
              static_cast<double>(handheld::kernel::deviceTimeZoneBias() * kTicksPerMinute),
              static_cast<double>(kTicksPerSecond));
}

TEST(TimeApiTest, TickCountAdvancesInMilliseconds) {
  const DWORD start = GetTickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const DWORD elapsed = GetTickCount() - start;  // unsigned difference survives the wrap
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
