// Reads a RIFF WAVE image from an untrusted source: which PCM format it holds and where its
// samples are. Sizes are believed only as far as the bytes go; what cannot be played is
// refused with the reason, and what was wrong but could be played around is noted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sound/wave_format.h"

namespace handheld::device {

struct ParsedWave {
  WaveFormat format;
  size_t dataOffset = 0;  // the first sample's byte in the image
  size_t dataBytes = 0;   // whole frames present, never past the image's end
  uint64_t frames() const { return format.frameBytes() ? dataBytes / format.frameBytes() : 0; }
};

struct WaveParse {
  bool ok = false;
  ParsedWave wave;                  // when ok
  std::string refusal;              // when not ok
  std::vector<std::string> notes;   // what was wrong in an image that still plays
};

WaveParse parseWave(std::span<const uint8_t> image);

}  // namespace handheld::device
