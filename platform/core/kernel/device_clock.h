// The device clock and time zone, as the device server sets them.
#pragma once

#include <cstdint>

namespace handheld::kernel {

// Device UTC now, in 100 ns units since 1 January 1601.
int64_t deviceUtcNow();
// Minutes to add to local time to get UTC (the platform's time zone bias).
int32_t deviceTimeZoneBias();

}  // namespace handheld::kernel
