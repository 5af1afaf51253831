// The device clock and time zone, as the device server sets them.
#pragma once

#include <cstdint>

namespace handheld::kernel {

// The device shows the years 1601 to 9999; its clock stands still at the last tick of 9999
// (9999-12-31 23:59:59.9999999) rather than run into a year it cannot show.
inline constexpr int64_t kLatestDeviceTicks = 2650467743999999999;

// What a clock reads that runs at host UTC + offset or stands frozen at frozenUtc, kept within
// 0 .. kLatestDeviceTicks whatever the values (no overflow).
int64_t deviceClockReading(bool frozen, int64_t frozenUtc, int64_t offset, int64_t hostUtc);
// Local = UTC - bias minutes, kept within the same range.
int64_t deviceLocalTime(int64_t utc, int32_t biasMinutes);

// Host UTC now, in 100 ns units since 1 January 1601.
int64_t hostUtcNow();
// Device UTC now, in the same units.
int64_t deviceUtcNow();
// Device local time now, in the same units.
int64_t deviceLocalNow();
// Minutes to add to local time to get UTC (the platform's time zone bias).
int32_t deviceTimeZoneBias();

}  // namespace handheld::kernel
