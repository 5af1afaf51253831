// RIFF WAVE images for the tests, written byte by byte so that each size can be made to lie.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace handheld::testing {

struct WaveSpec {
  uint32_t rate = 22050;
  uint16_t channels = 1;
  uint16_t bits = 16;
  uint16_t tag = 1;
  uint32_t frames = 0;
  std::optional<uint32_t> riffSize;   // the true one when not given
  std::optional<uint32_t> dataSize;   // likewise
  std::optional<uint16_t> blockAlign;
  std::vector<std::string> chunksBeforeFormat;  // odd-sized chunks of these ids, before "fmt "
  bool dataBeforeFormat = false;
};

inline void put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void putId(std::vector<uint8_t>& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}

// Samples are a rising ramp so that a wrong offset shows.
inline std::vector<uint8_t> waveImage(const WaveSpec& s) {
  const uint32_t frameBytes = s.channels * s.bits / 8u;
  const uint32_t dataBytes = s.frames * frameBytes;
  std::vector<uint8_t> format, data, extra;
  put(format, s.tag, 2);
  put(format, s.channels, 2);
  put(format, s.rate, 4);
  put(format, s.rate * frameBytes, 4);
  put(format, s.blockAlign.value_or(static_cast<uint16_t>(frameBytes)), 2);
  put(format, s.bits, 2);
  for (uint32_t i = 0; i < dataBytes; ++i) data.push_back(static_cast<uint8_t>(i));
  for (auto& id : s.chunksBeforeFormat) {
    putId(extra, id.c_str());
    put(extra, 3, 4);
    extra.insert(extra.end(), {1, 2, 3, 0});  // odd size, padded
  }
  std::vector<uint8_t> fmtChunk, dataChunk;
  putId(fmtChunk, "fmt ");
  put(fmtChunk, 16, 4);
  fmtChunk.insert(fmtChunk.end(), format.begin(), format.end());
  putId(dataChunk, "data");
  put(dataChunk, s.dataSize.value_or(dataBytes), 4);
  dataChunk.insert(dataChunk.end(), data.begin(), data.end());

  std::vector<uint8_t> body;
  putId(body, "WAVE");
  body.insert(body.end(), extra.begin(), extra.end());
  const auto& first = s.dataBeforeFormat ? dataChunk : fmtChunk;
  const auto& second = s.dataBeforeFormat ? fmtChunk : dataChunk;
  body.insert(body.end(), first.begin(), first.end());
  body.insert(body.end(), second.begin(), second.end());
  std::vector<uint8_t> image;
  putId(image, "RIFF");
  put(image, s.riffSize.value_or(static_cast<uint32_t>(body.size())), 4);
  image.insert(image.end(), body.begin(), body.end());
  return image;
}

}  // namespace handheld::testing
