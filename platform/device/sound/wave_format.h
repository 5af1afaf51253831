// A PCM format as the speaker and the microphone use it.
#pragma once

#include <cstdint>
#include <string>

namespace handheld::device {

struct WaveFormat {
  uint32_t rate = 0;      // frames per second
  uint16_t channels = 0;  // 1 or 2
  uint16_t bits = 0;      // 8 (unsigned) or 16 (signed little-endian)

  uint32_t frameBytes() const { return uint32_t{channels} * bits / 8; }
  // Microseconds that `frames` last at this rate.
  int64_t microseconds(uint64_t frames) const {
    return rate ? static_cast<int64_t>(frames * 1000000 / rate) : 0;
  }
  bool operator==(const WaveFormat&) const = default;
};

// The rates, channel counts and sample sizes the device plays and records.
inline constexpr uint32_t kLowestRate = 1000;
inline constexpr uint32_t kHighestRate = 192000;
inline bool playable(const WaveFormat& f) {
  return f.rate >= kLowestRate && f.rate <= kHighestRate && (f.channels == 1 || f.channels == 2) &&
         (f.bits == 8 || f.bits == 16);
}

// "pcm16/mono/22050", as the speaker log writes it.
std::string describeFormat(const WaveFormat& format);

}  // namespace handheld::device
