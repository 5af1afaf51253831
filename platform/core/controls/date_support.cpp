#include "controls/date_support.h"

#include <algorithm>
#include <cstdio>

#include "kernel/time_convert.h"

namespace handheld::controls {

std::optional<SYSTEMTIME> checkedTime(const SYSTEMTIME* time) {
  if (!time || !kernel::isValidSystemTime(*time)) return std::nullopt;
  SYSTEMTIME result = *time;
  result.wDayOfWeek = static_cast<WORD>(kernel::dayOfWeek(result.wYear, result.wMonth, result.wDay));
  return result;
}

int64_t ticksOf(const SYSTEMTIME& time) { return kernel::systemTimeToTicks(time).value_or(0); }

SYSTEMTIME dateOnly(const SYSTEMTIME& time) {
  SYSTEMTIME result = time;
  result.wHour = result.wMinute = result.wSecond = result.wMilliseconds = 0;
  return result;
}

SYSTEMTIME localNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now;
}

SYSTEMTIME addMonths(const SYSTEMTIME& time, int months) {
  int index = time.wYear * 12 + (time.wMonth - 1) + months;
  const int year = std::clamp(index / 12, kernel::kFirstYear, kernel::kLastYear);
  index = std::clamp(index, year * 12, year * 12 + 11);
  SYSTEMTIME result = time;
  result.wYear = static_cast<WORD>(year);
  result.wMonth = static_cast<WORD>(index % 12 + 1);
  result.wDay = static_cast<WORD>(std::min<int>(time.wDay, kernel::daysInMonth(year, result.wMonth)));
  result.wDayOfWeek = static_cast<WORD>(kernel::dayOfWeek(year, result.wMonth, result.wDay));
  return result;
}

SYSTEMTIME addDays(const SYSTEMTIME& time, int days) {
  auto moved = kernel::ticksToSystemTime(ticksOf(time) + days * kernel::kTicksPerDay);
  if (!moved || !kernel::isValidSystemTime(*moved)) return time;  // past the calendar's ends
  return *moved;
}

bool sameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

bool DateRange::set(WPARAM flags, const SYSTEMTIME* pair, bool datesOnly) {
  if (!pair && (flags & (GDTR_MIN | GDTR_MAX))) return false;
  std::optional<SYSTEMTIME> newMin, newMax;
  if (flags & GDTR_MIN) {
    newMin = checkedTime(&pair[0]);
    if (!newMin) return false;
    if (datesOnly) newMin = dateOnly(*newMin);
  }
  if (flags & GDTR_MAX) {
    newMax = checkedTime(&pair[1]);
    if (!newMax) return false;
    if (datesOnly) newMax = dateOnly(*newMax);
  }
  if (newMin && newMax && ticksOf(*newMin) > ticksOf(*newMax)) return false;
  min = newMin;
  max = newMax;
  return true;
}

LRESULT DateRange::get(SYSTEMTIME* pair) const {
  if (!pair) return 0;
  pair[0] = min.value_or(SYSTEMTIME{});
  pair[1] = max.value_or(SYSTEMTIME{});
  return (min ? GDTR_MIN : 0) | (max ? GDTR_MAX : 0);
}

bool DateRange::contains(const SYSTEMTIME& time) const {
  const int64_t t = ticksOf(time);
  return (!min || t >= ticksOf(*min)) && (!max || t <= ticksOf(*max));
}

SYSTEMTIME DateRange::clamp(const SYSTEMTIME& time) const {
  if (min && ticksOf(time) < ticksOf(*min)) return *min;
  if (max && ticksOf(time) > ticksOf(*max)) return *max;
  return time;
}

std::string isoDate(const SYSTEMTIME& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
  return text;
}

std::string isoMonth(const SYSTEMTIME& time) { return isoDate(time).substr(0, 7); }

std::string isoDateTime(const SYSTEMTIME& time) {
  char text[32];
  std::snprintf(text, sizeof text, " %02u:%02u:%02u", time.wHour, time.wMinute, time.wSecond);
  return isoDate(time) + text;
}

}  // namespace handheld::controls
