#include "kernel/device_clock.h"

#include <chrono>

namespace handheld::kernel {

// Until the device info page is wired, the host clock in UTC.
int64_t deviceUtcNow() {
  constexpr int64_t kUnixEpochIn1601 = 116444736000000000;
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochIn1601 + std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

int32_t deviceTimeZoneBias() { return 0; }

}  // namespace handheld::kernel
