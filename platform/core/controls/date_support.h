// What the month calendar and the date and time picker share: dates checked and compared as
// ticks, a range with optional ends, month arithmetic and the ISO texts automation reports.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>

namespace handheld::controls {

// Nothing for a null pointer or a time that does not exist; the day of the week is filled in.
std::optional<SYSTEMTIME> checkedTime(const SYSTEMTIME* time);
int64_t ticksOf(const SYSTEMTIME& time);
// The date at midnight.
SYSTEMTIME dateOnly(const SYSTEMTIME& time);
SYSTEMTIME localNow();
// The same day (or the month's last) `months` months away.
SYSTEMTIME addMonths(const SYSTEMTIME& time, int months);
SYSTEMTIME addDays(const SYSTEMTIME& time, int days);
bool sameDate(const SYSTEMTIME& a, const SYSTEMTIME& b);

// The limits of DTM_SETRANGE and MCM_SETRANGE (GDTR_MIN, GDTR_MAX).
struct DateRange {
  std::optional<SYSTEMTIME> min, max;

  // False (and unchanged) for a null pointer, an invalid end given, or min after max.
  bool set(WPARAM flags, const SYSTEMTIME* pair, bool datesOnly);
  // The flags of the ends that are set; fills both entries (zero for an end not set).
  LRESULT get(SYSTEMTIME* pair) const;
  bool contains(const SYSTEMTIME& time) const;
  SYSTEMTIME clamp(const SYSTEMTIME& time) const;
};

std::string isoDate(const SYSTEMTIME& time);      // YYYY-MM-DD
std::string isoMonth(const SYSTEMTIME& time);     // YYYY-MM
std::string isoDateTime(const SYSTEMTIME& time);  // YYYY-MM-DD HH:MM:SS

}  // namespace handheld::controls
