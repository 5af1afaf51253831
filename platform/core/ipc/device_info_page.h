// A page the server shares read-only with every device process: the device clock, locale,
// display and key state, so that the frequent questions need no round trip.
// The server writes the settings under a sequence lock; key state bytes are atomic.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>

namespace handheld::ipc {

struct DeviceSettingsBlock {
  // device UTC (100 ns since 1601) = host UTC + clockOffset while running, frozenUtc when frozen
  int64_t clockOffset = 0;
  int64_t frozenUtc = 0;
  uint32_t clockFrozen = 0;
  int32_t timeZoneBias = 0;  // minutes: UTC = local + bias
  uint32_t dateOrder = 1;    // 0 month-day-year, 1 day-month-year, 2 year-month-day
  uint32_t timeFormat = 1;   // 0 12-hour, 1 24-hour
  char16_t processorName[64] = {};
  int32_t screenWidth = 240;
  int32_t screenHeight = 320;
  int32_t dpi = 96;
  int32_t border = 1;
  int32_t smallIcon = 16;
};
static_assert(std::is_trivially_copyable_v<DeviceSettingsBlock>);

struct DeviceInfoPage {
  static constexpr uint32_t kMagic = 0x48484950;  // "HHIP"
  uint32_t magic = kMagic;
  std::atomic<uint32_t> sequence{0};  // odd while the server writes the settings
  DeviceSettingsBlock settings;
  // Virtual-key state: bit 7 set while down, bit 0 toggles on each press.
  std::atomic<uint8_t> keyState[256] = {};
};

inline constexpr size_t kDeviceInfoPageSize = 4096;
static_assert(sizeof(DeviceInfoPage) <= kDeviceInfoPageSize);

// Reader side: a consistent copy of the settings.
inline DeviceSettingsBlock readSettings(const DeviceInfoPage& page) {
  DeviceSettingsBlock copy;
  for (;;) {
    uint32_t before = page.sequence.load(std::memory_order_acquire);
    if (before & 1) continue;  // the writer holds it for a few instructions only
    copy = page.settings;
    std::atomic_thread_fence(std::memory_order_acquire);
    if (page.sequence.load(std::memory_order_relaxed) == before) return copy;
  }
}

// Writer side (the server only).
template <class F>
void writeSettings(DeviceInfoPage& page, F&& change) {
  page.sequence.fetch_add(1, std::memory_order_acq_rel);
  change(page.settings);
  page.sequence.fetch_add(1, std::memory_order_release);
}

}  // namespace handheld::ipc
