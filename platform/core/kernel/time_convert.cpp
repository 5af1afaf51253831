#include "kernel/time_convert.h"

#include <limits>

namespace handheld::kernel {
namespace {

// Days from 1 January 1601 to 1 January of a year (Gregorian rules throughout; 1601 starts a
// 400-year cycle, which keeps the counting simple).
int64_t daysBeforeYear(int64_t year) {
  const int64_t y = year - 1601;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

int daysBeforeMonth(int year, int month) {
  static constexpr int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kCumulative[month - 1] + (month > 2 && isLeapYear(year) ? 1 : 0);
}

// 1 January 1601 was a Monday.
int weekdayOfDay(int64_t daysSince1601) { return static_cast<int>((daysSince1601 + 1) % 7); }

std::optional<int64_t> addChecked(int64_t ticks, int64_t delta) {
  int64_t result = 0;
  if (__builtin_add_overflow(ticks, delta, &result) || result < 0) return std::nullopt;
  return result;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int dayOfWeek(int year, int month, int day) {
  if (year < kFirstYear || day < 1 || day > daysInMonth(year, month)) return -1;
  return weekdayOfDay(daysBeforeYear(year) + daysBeforeMonth(year, month) + day - 1);
}

bool isValidSystemTime(const SYSTEMTIME& time) {
  return time.wYear >= kFirstYear && time.wYear <= kLastYear && time.wMonth >= 1 && time.wMonth <= 12 &&
         time.wDay >= 1 && time.wDay <= daysInMonth(time.wYear, time.wMonth) && time.wHour <= 23 &&
         time.wMinute <= 59 && time.wSecond <= 59 && time.wMilliseconds <= 999;
}

std::optional<int64_t> systemTimeToTicks(const SYSTEMTIME& time) {
  if (!isValidSystemTime(time)) return std::nullopt;
  const int64_t days = daysBeforeYear(time.wYear) + daysBeforeMonth(time.wYear, time.wMonth) + time.wDay - 1;
  const int64_t milliseconds =
      ((int64_t{time.wHour} * 60 + time.wMinute) * 60 + time.wSecond) * 1000 + time.wMilliseconds;
  return days * kTicksPerDay + milliseconds * kTicksPerMillisecond;
}

std::optional<SYSTEMTIME> ticksToSystemTime(int64_t ticks) {
  if (ticks < 0) return std::nullopt;
  const int64_t days = ticks / kTicksPerDay;
  const int64_t millisecondOfDay = (ticks % kTicksPerDay) / kTicksPerMillisecond;

  // Whole 400-year cycles first, then years inside the cycle (the first guess may be one
  // year too far where a leap day has not been reached yet).
  constexpr int64_t kDaysPer400Years = 146097;
  int64_t year = 1601 + (days / kDaysPer400Years) * 400;
  const int64_t dayOfCycle = days % kDaysPer400Years;
  int64_t yearOfCycle = dayOfCycle / 365;
  while (daysBeforeYear(1601 + yearOfCycle) > dayOfCycle) --yearOfCycle;
  year += yearOfCycle;
  const int dayOfYear = static_cast<int>(days - daysBeforeYear(year));

  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  int month = 1;
  while (month < 12 && daysBeforeMonth(static_cast<int>(year), month + 1) <= dayOfYear) ++month;
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(dayOfYear - daysBeforeMonth(static_cast<int>(year), month) + 1);
  time.wDayOfWeek = static_cast<WORD>(weekdayOfDay(days));
  time.wHour = static_cast<WORD>(millisecondOfDay / 3'600'000);
  time.wMinute = static_cast<WORD>(millisecondOfDay / 60'000 % 60);
  time.wSecond = static_cast<WORD>(millisecondOfDay / 1000 % 60);
  time.wMilliseconds = static_cast<WORD>(millisecondOfDay % 1000);
  return time;
}

std::optional<int64_t> fileTimeToTicks(const FILETIME& time) {
  const uint64_t value = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
  return static_cast<int64_t>(value);
}

FILETIME ticksToFileTime(int64_t ticks) {
  const auto value = static_cast<uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

std::optional<int64_t> utcToLocalTicks(int64_t utcTicks, int32_t biasMinutes) {
  return addChecked(utcTicks, -int64_t{biasMinutes} * kTicksPerMinute);
}

std::optional<int64_t> localToUtcTicks(int64_t localTicks, int32_t biasMinutes) {
  return addChecked(localTicks, int64_t{biasMinutes} * kTicksPerMinute);
}

}  // namespace handheld::kernel
