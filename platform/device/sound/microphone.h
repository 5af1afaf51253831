// What the microphone hears when no desktop capture serves it: silence (the default), a sine
// tone, or the samples of a sound file from when it was chosen on (then silence). Samples
// come out in whatever PCM format a reader asks for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/sound_file.h"
#include "sound/wave_format.h"

namespace handheld::device {

class Microphone {
 public:
  void chooseSilence();
  void chooseTone(uint32_t hz);
  void chooseSound(DecodedSound sound);
  // "silence", "tone 440 Hz", "file" ...
  const std::string& description() const { return description_; }

  // The next `frames` frames in `format` (playable), as PCM bytes; the source moves on.
  std::vector<uint8_t> hear(const WaveFormat& format, uint64_t frames);

 private:
  enum class Kind { Silence, Tone, Sound };
  float sampleAt(double seconds, uint16_t channel, uint16_t channels) const;

  Kind kind_ = Kind::Silence;
  uint32_t hz_ = 0;
  DecodedSound sound_;
  double position_ = 0;  // seconds heard since the source was chosen
  std::string description_ = "silence";
};

}  // namespace handheld::device
