// A calendar time from its fields, for tests that build expiry and clock times.
#pragma once

#include <windows.h>

namespace handheld::testing {

inline SYSTEMTIME CalendarTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0,
                               WORD milliseconds = 0) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  time.wMilliseconds = milliseconds;
  return time;
}

}  // namespace handheld::testing
