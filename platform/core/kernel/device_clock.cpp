#include "kernel/device_clock.h"

#include <algorithm>
#include <chrono>

#include "ipc/client.h"

namespace handheld::kernel {

namespace {
constexpr int64_t kTicksPerMinute = 600000000;

int64_t clampToDevice(int64_t ticks) { return std::clamp<int64_t>(ticks, 0, kLatestDeviceTicks); }

// a + b, saturated to the int64 range.
int64_t addSaturated(int64_t a, int64_t b) {
  int64_t sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? INT64_MAX : INT64_MIN;
}
}  // namespace

int64_t hostUtcNow() {
  constexpr int64_t kUnixEpochIn1601 = 116444736000000000;
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochIn1601 + std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

int64_t deviceClockReading(bool frozen, int64_t frozenUtc, int64_t offset, int64_t hostUtc) {
  return clampToDevice(frozen ? frozenUtc : addSaturated(hostUtc, offset));
}

int64_t deviceLocalTime(int64_t utc, int32_t biasMinutes) {
  return clampToDevice(addSaturated(utc, -int64_t{biasMinutes} * kTicksPerMinute));
}

// Without a device (host-side tools and unit tests) the host clock in UTC serves.
int64_t deviceUtcNow() {
  auto* device = ipc::DeviceClient::tryGet();
  if (!device) return hostUtcNow();
  auto settings = ipc::readSettings(device->info());
  return deviceClockReading(settings.clockFrozen, settings.frozenUtc, settings.clockOffset, hostUtcNow());
}

int64_t deviceLocalNow() { return deviceLocalTime(deviceUtcNow(), deviceTimeZoneBias()); }

int32_t deviceTimeZoneBias() {
  auto* device = ipc::DeviceClient::tryGet();
  return device ? ipc::readSettings(device->info()).timeZoneBias : 0;
}

}  // namespace handheld::kernel
