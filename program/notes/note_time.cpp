#include "notes/note_time.h"

std::optional<ULONGLONG> TicksOf(const SYSTEMTIME& time) {
  FILETIME file;
  if (!SystemTimeToFileTime(&time, &file)) return std::nullopt;
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

ULONGLONG LocalTicksNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TicksOf(now).value_or(0);
}
