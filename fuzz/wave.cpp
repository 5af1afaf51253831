// Input: a RIFF WAVE image as a client would send it. A parse that succeeds must describe
// samples that lie inside the image, in whole frames of a format the speaker plays.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sound/wave_parser.h"

namespace {
void check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto parsed = handheld::device::parseWave(std::span(data, size));
  if (!parsed.ok) {
    check(!parsed.refusal.empty());
    return 0;
  }
  const auto& wave = parsed.wave;
  check(handheld::device::playable(wave.format));
  check(wave.dataBytes > 0 && wave.dataBytes % wave.format.frameBytes() == 0);
  check(wave.dataOffset <= size && wave.dataBytes <= size - wave.dataOffset);
  return 0;
}
