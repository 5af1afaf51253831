// What the microphone hears: the host's microphone when the device has a desktop window and
// a capture device, else silence; or, as automation chooses, silence, a sine tone or the
// samples of a sound file from when it was chosen on (then silence). Samples come out in
// whatever PCM format a reader asks for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/desktop_capture.h"
#include "sound/sound_file.h"
#include "sound/wave_format.h"

namespace handheld::device {

class Microphone {
 public:
  void chooseSilence();
  void chooseTone(uint32_t hz);
  void chooseSound(DecodedSound sound);
  void chooseCapture(DesktopCapture& capture);
  // "silence", "tone 440 Hz", "file" ...
  const std::string& description() const { return description_; }

  // The next `frames` frames in `format` (playable), as PCM bytes; the source moves on.
  std::vector<uint8_t> hear(const WaveFormat& format, uint64_t frames);

 private:
  enum class Kind { Silence, Tone, Sound, Capture };
  float sampleAt(double seconds, uint16_t channel, uint16_t channels) const;

  Kind kind_ = Kind::Silence;
  uint32_t hz_ = 0;
  DecodedSound sound_;  // also what was taken from a capture for the read under way
  DesktopCapture* capture_ = nullptr;
  double position_ = 0;  // seconds heard since the source was chosen
  std::string description_ = "silence";
};

}  // namespace handheld::device
