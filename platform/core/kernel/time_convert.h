// Calendar arithmetic of the platform's times: SYSTEMTIME fields and ticks (100 ns units since
// 1 January 1601, UTC or local), on the proleptic Gregorian calendar. No clock is read here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace handheld::kernel {

inline constexpr int64_t kTicksPerMillisecond = 10'000;
inline constexpr int64_t kTicksPerSecond = 1000 * kTicksPerMillisecond;
inline constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
inline constexpr int64_t kTicksPerDay = 24 * 60 * kTicksPerMinute;
// The years a SYSTEMTIME may carry into a conversion, as the platform documents.
inline constexpr int kFirstYear = 1601;
inline constexpr int kLastYear = 30827;

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // 0 for a month outside 1-12
// 0 = Sunday ... 6 = Saturday, as wDayOfWeek counts; -1 for a date that does not exist.
int dayOfWeek(int year, int month, int day);

// Every field in range (wDayOfWeek is ignored, as the platform does).
bool isValidSystemTime(const SYSTEMTIME& time);
// Nothing for an invalid time.
std::optional<int64_t> systemTimeToTicks(const SYSTEMTIME& time);
// Nothing for negative ticks; wDayOfWeek is filled.
std::optional<SYSTEMTIME> ticksToSystemTime(int64_t ticks);

// A FILETIME is valid for conversions below 2^63; nothing otherwise.
std::optional<int64_t> fileTimeToTicks(const FILETIME& time);
FILETIME ticksToFileTime(int64_t ticks);

// biasMinutes is what local time adds to reach UTC: local = UTC - bias. Nothing when the
// result falls outside 0 .. 2^63 - 1.
std::optional<int64_t> utcToLocalTicks(int64_t utcTicks, int32_t biasMinutes);
std::optional<int64_t> localToUtcTicks(int64_t localTicks, int32_t biasMinutes);

}  // namespace handheld::kernel
