#include "notewindow/sound_image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr BYTE kRiff[] = {'R', 'I', 'F', 'F'};
constexpr BYTE kWave[] = {'W', 'A', 'V', 'E'};
// "RIFF", the size word, "WAVE": the least an image can be.
constexpr size_t kHeaderSize = 12;

uint32_t littleEndian32(const BYTE* at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

}  // namespace

std::span<const BYTE> FindSoundImage(std::span<const BYTE> content) {
  auto from = content.begin();
  while (true) {
    const auto found = std::search(from, content.end(), std::begin(kRiff), std::end(kRiff));
    if (found == content.end()) return {};
    const size_t offset = static_cast<size_t>(found - content.begin());
    const size_t rest = content.size() - offset;
    if (rest < kHeaderSize) return {};
    const BYTE* image = content.data() + offset;
    // Compared in 64 bits: a size near 4 GiB must not wrap to something small.
    const uint64_t imageSize = uint64_t{littleEndian32(image + 4)} + 8;
    const bool fits = imageSize >= kHeaderSize && imageSize <= rest;
    if (fits && std::memcmp(image + 8, kWave, sizeof kWave) == 0) {
      return content.subspan(offset, static_cast<size_t>(imageSize));
    }
    from = found + 1;
  }
}
