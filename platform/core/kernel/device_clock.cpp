#include "kernel/device_clock.h"

#include <chrono>

#include "ipc/client.h"

namespace handheld::kernel {

namespace {
int64_t hostUtcNow() {
  constexpr int64_t kUnixEpochIn1601 = 116444736000000000;
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochIn1601 + std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}
}  // namespace

// Without a device (host-side tools and unit tests) the host clock in UTC serves.
int64_t deviceUtcNow() {
  auto* device = ipc::DeviceClient::tryGet();
  if (!device) return hostUtcNow();
  auto settings = ipc::readSettings(device->info());
  return settings.clockFrozen ? settings.frozenUtc : hostUtcNow() + settings.clockOffset;
}

int32_t deviceTimeZoneBias() {
  auto* device = ipc::DeviceClient::tryGet();
  return device ? ipc::readSettings(device->info()).timeZoneBias : 0;
}

}  // namespace handheld::kernel
