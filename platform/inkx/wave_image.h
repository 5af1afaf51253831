// RIFF WAVE images of voice recordings: made from samples through libsndfile, and checked
// before the control keeps one that came from outside.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace handheld::inkx {

struct WaveFormat {
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t bitsPerSample = 0;
  size_t dataOffset = 0;  // of the samples within the image
  size_t dataSize = 0;
};

// A 16-bit PCM image of mono samples; empty when the library refuses.
std::vector<uint8_t> makeWaveImage(std::span<const int16_t> samples, uint32_t sampleRate);

// The format of a PCM image whose RIFF size covers exactly the bytes given and whose chunks
// lie inside it; nullopt for anything else.
std::optional<WaveFormat> checkWaveImage(std::span<const uint8_t> image);

// The 16-bit mono samples of an image that checkWaveImage accepts with 16 bits and one channel.
std::vector<int16_t> waveSamples(std::span<const uint8_t> image);

}  // namespace handheld::inkx
