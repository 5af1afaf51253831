// The recording finder on any content: what it finds lies inside the bytes, begins with a
// RIFF WAVE header and is exactly as long as that header declares.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "notewindow/sound_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const BYTE> content(data, size);
  const std::span<const BYTE> image = FindSoundImage(content);
  if (image.empty()) return 0;
  if (image.data() < content.data() || image.data() + image.size() > content.data() + content.size()) std::abort();
  if (image.size() < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 || std::memcmp(image.data() + 8, "WAVE", 4) != 0) {
    std::abort();
  }
  const uint64_t declared = uint64_t{image[4]} | uint64_t{image[5]} << 8 | uint64_t{image[6]} << 16 |
                            uint64_t{image[7]} << 24;
  if (declared + 8 != image.size()) std::abort();
  // What follows the image cannot change which image comes first.
  const std::span<const BYTE> before = content.first(static_cast<size_t>(image.data() - content.data()) + image.size());
  if (FindSoundImage(before).data() != image.data()) std::abort();
  return 0;
}
