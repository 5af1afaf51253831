// Sound files read with libsndfile (any format it knows), as float frames.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace handheld::device {

struct DecodedSound {
  uint32_t rate = 0;
  uint16_t channels = 0;
  std::vector<float> samples;  // interleaved, -1 to 1
};

// The file's samples up to kMostDecodedSeconds; false with the reason when it is no sound.
bool decodeSoundFile(std::span<const uint8_t> file, DecodedSound& out, std::string& error);
inline constexpr uint32_t kMostDecodedSeconds = 600;

}  // namespace handheld::device
