// The time functions of the API: conversions between the platform's time forms, and the
// device clock. Invalid input fails with ERROR_INVALID_PARAMETER.
#include <windows.h>

#include <chrono>

#include "kernel/device_clock.h"
#include "kernel/time_convert.h"

using namespace handheld::kernel;

namespace {

BOOL failInvalidParameter() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

// A clock outside the representable range shows the nearest representable time.
SYSTEMTIME systemTimeAt(int64_t ticks) {
  if (auto time = ticksToSystemTime(ticks)) return *time;
  return *ticksToSystemTime(0);
}

using TicksConversion = std::optional<int64_t> (*)(int64_t, int32_t);

BOOL shiftFileTime(const FILETIME* from, LPFILETIME to, TicksConversion convert) {
  if (!from || !to) return failInvalidParameter();
  const auto ticks = fileTimeToTicks(*from);
  const auto shifted = ticks ? convert(*ticks, deviceTimeZoneBias()) : std::nullopt;
  if (!shifted) return failInvalidParameter();
  *to = ticksToFileTime(*shifted);
  return TRUE;
}

}  // namespace

HANDHELD_API BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  if (!systemTime || !fileTime) return failInvalidParameter();
  const auto ticks = systemTimeToTicks(*systemTime);
  if (!ticks) return failInvalidParameter();
  *fileTime = ticksToFileTime(*ticks);
  return TRUE;
}

HANDHELD_API BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime) return failInvalidParameter();
  const auto ticks = fileTimeToTicks(*fileTime);
  if (!ticks) return failInvalidParameter();
  *systemTime = *ticksToSystemTime(*ticks);
  return TRUE;
}

HANDHELD_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  return shiftFileTime(fileTime, localFileTime, utcToLocalTicks);
}

HANDHELD_API BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  return shiftFileTime(localFileTime, fileTime, localToUtcTicks);
}

// Compares as unsigned 64-bit values; a missing argument compares as equal and sets the error.
HANDHELD_API LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second) {
  if (!first || !second) {
    failInvalidParameter();
    return 0;
  }
  const auto value = [](const FILETIME& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  };
  const uint64_t a = value(*first);
  const uint64_t b = value(*second);
  return a < b ? -1 : (a > b ? 1 : 0);
}

HANDHELD_API void WINAPI GetSystemTime(LPSYSTEMTIME time) {
  if (time) *time = systemTimeAt(deviceUtcNow());
}

HANDHELD_API void WINAPI GetLocalTime(LPSYSTEMTIME time) {
  if (time) *time = systemTimeAt(deviceLocalNow());
}

// The host's monotonic clock counts from host start-up, so every device process reads the same
// count; truncating to 32 bits wraps after 49.7 days as on the device.
HANDHELD_API DWORD WINAPI GetTickCount(void) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
