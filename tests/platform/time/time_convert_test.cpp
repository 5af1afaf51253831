#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "kernel/time_convert.h"

namespace {

using namespace handheld::kernel;

SYSTEMTIME makeTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                    int millisecond = 0) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  time.wMilliseconds = static_cast<WORD>(millisecond);
  return time;
}

TEST(TimeConvertTest, LeapYearRules) {
  EXPECT_TRUE(isLeapYear(1600));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_TRUE(isLeapYear(2004));
  EXPECT_FALSE(isLeapYear(2100));
  EXPECT_FALSE(isLeapYear(2023));
  EXPECT_EQ(daysInMonth(2000, 2), 29);
  EXPECT_EQ(daysInMonth(1900, 2), 28);
  EXPECT_EQ(daysInMonth(2023, 4), 30);
  EXPECT_EQ(daysInMonth(2023, 13), 0);
}

TEST(TimeConvertTest, KnownDatesAndWeekdays) {
  struct Known {
    SYSTEMTIME time;
    int64_t ticks;
    int weekday;
  };
  const Known known[] = {
      {makeTime(1601, 1, 1), 0, 1},
      {makeTime(1900, 1, 1), 94354848000000000, 1},
      {makeTime(1970, 1, 1), 116444736000000000, 4},
      {makeTime(2000, 1, 1), 125911584000000000, 6},
      {makeTime(2000, 2, 29), 125962560000000000, 2},
      {makeTime(2024, 2, 29), 133536384000000000, 4},
      {makeTime(2100, 3, 1), 157520160000000000, 1},
  };
  for (const auto& k : known) {
    EXPECT_EQ(systemTimeToTicks(k.time), k.ticks) << k.time.wYear;
    EXPECT_EQ(dayOfWeek(k.time.wYear, k.time.wMonth, k.time.wDay), k.weekday) << k.time.wYear;
    const auto back = ticksToSystemTime(k.ticks);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->wYear, k.time.wYear);
    EXPECT_EQ(back->wMonth, k.time.wMonth);
    EXPECT_EQ(back->wDay, k.time.wDay);
    EXPECT_EQ(back->wDayOfWeek, k.weekday);
  }
  EXPECT_EQ(systemTimeToTicks(makeTime(1601, 1, 1, 23, 59, 59, 999)), kTicksPerDay - kTicksPerMillisecond);
  EXPECT_EQ(dayOfWeek(2023, 2, 29), -1);
}

TEST(TimeConvertTest, InvalidFieldsAreRejected) {
  const SYSTEMTIME invalid[] = {
      makeTime(1900, 2, 29),  makeTime(2100, 2, 29),        makeTime(2023, 2, 29),
      makeTime(2023, 4, 31),  makeTime(2023, 0, 1),         makeTime(2023, 13, 1),
      makeTime(2023, 1, 0),   makeTime(2023, 1, 32),        makeTime(2023, 1, 1, 24),
      makeTime(2023, 1, 1, 0, 60), makeTime(2023, 1, 1, 0, 0, 60), makeTime(2023, 1, 1, 0, 0, 0, 1000),
      makeTime(1600, 12, 31), makeTime(30828, 1, 1),
  };
  for (const auto& time : invalid) {
    EXPECT_FALSE(systemTimeToTicks(time)) << time.wYear << '-' << time.wMonth << '-' << time.wDay;
  }
  EXPECT_TRUE(systemTimeToTicks(makeTime(2004, 2, 29)));
  EXPECT_TRUE(systemTimeToTicks(makeTime(30827, 12, 31, 23, 59, 59, 999)));
  SYSTEMTIME ignoredWeekday = makeTime(2023, 5, 17);
  ignoredWeekday.wDayOfWeek = 42;
  EXPECT_TRUE(systemTimeToTicks(ignoredWeekday));
}

// The standard library's civil calendar is an independent check of every field.
TEST(TimeConvertTest, AgreesWithTheStandardCalendarAcrossTheRange) {
  using namespace std::chrono;
  const sys_days epoch1601 = year{1601} / January / 1;
  constexpr int64_t kStep = 7'777'777'777'777;  // odd steps land on all kinds of times of day
  for (int64_t ticks = 0; ticks < 0x7FFF'FFFF'FFFF'FFFF - kStep; ticks += kStep) {
    const auto time = ticksToSystemTime(ticks);
    ASSERT_TRUE(time);
    const int64_t days = ticks / kTicksPerDay;
    const year_month_day expected{epoch1601 + std::chrono::days{days}};
    ASSERT_EQ(time->wYear, static_cast<int>(expected.year())) << ticks;
    ASSERT_EQ(time->wMonth, static_cast<unsigned>(expected.month())) << ticks;
    ASSERT_EQ(time->wDay, static_cast<unsigned>(expected.day())) << ticks;
    ASSERT_EQ(time->wDayOfWeek, weekday{sys_days{expected}}.c_encoding()) << ticks;
    const int64_t msOfDay = (ticks % kTicksPerDay) / kTicksPerMillisecond;
    ASSERT_EQ(((time->wHour * 60 + time->wMinute) * 60 + time->wSecond) * 1000 + time->wMilliseconds, msOfDay);
    if (time->wYear <= kLastYear) {
      ASSERT_EQ(systemTimeToTicks(*time), ticks - ticks % kTicksPerMillisecond);
    }
  }
}

TEST(TimeConvertTest, RangeEnds) {
  EXPECT_FALSE(ticksToSystemTime(-1));
  const auto last = ticksToSystemTime(0x7FFF'FFFF'FFFF'FFFF);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->wYear, 30828);
  EXPECT_EQ(last->wMonth, 9);
  EXPECT_EQ(last->wDay, 14);
  EXPECT_EQ(last->wHour, 2);
  EXPECT_EQ(last->wMinute, 48);
  EXPECT_EQ(last->wSecond, 5);
  EXPECT_EQ(last->wMilliseconds, 477);

  EXPECT_FALSE(fileTimeToTicks(FILETIME{0, 0x80000000u}));
  EXPECT_EQ(fileTimeToTicks(FILETIME{0xFFFFFFFFu, 0x7FFFFFFFu}), 0x7FFF'FFFF'FFFF'FFFF);
  const FILETIME split = ticksToFileTime(0x0123'4567'89AB'CDEF);
  EXPECT_EQ(split.dwHighDateTime, 0x01234567u);
  EXPECT_EQ(split.dwLowDateTime, 0x89ABCDEFu);
}

TEST(TimeConvertTest, LocalTimeIsUtcMinusTheBias) {
  const int64_t noon = *systemTimeToTicks(makeTime(2024, 6, 1, 12));
  // Bias 60: an hour west of UTC. Bias -120: two hours east.
  EXPECT_EQ(utcToLocalTicks(noon, 60), *systemTimeToTicks(makeTime(2024, 6, 1, 11)));
  EXPECT_EQ(utcToLocalTicks(noon, -120), *systemTimeToTicks(makeTime(2024, 6, 1, 14)));
  EXPECT_EQ(utcToLocalTicks(noon, -720), *systemTimeToTicks(makeTime(2024, 6, 2, 0)));
  for (int32_t bias : {-840, -330, 0, 180, 720}) {
    EXPECT_EQ(localToUtcTicks(*utcToLocalTicks(noon, bias), bias), noon) << bias;
  }
  EXPECT_FALSE(utcToLocalTicks(0, 60));
  EXPECT_FALSE(localToUtcTicks(0x7FFF'FFFF'FFFF'FFFF, 1));
}

}  // namespace
