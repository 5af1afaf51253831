#include "sound/microphone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace handheld::device {

namespace {
constexpr float kToneLevel = 0.5f;  // half of full scale: clearly heard, never clipped
}

void Microphone::chooseSilence() {
  kind_ = Kind::Silence;
  capture_ = nullptr;
  sound_ = {};
  position_ = 0;
  description_ = "silence";
}

void Microphone::chooseTone(uint32_t hz) {
  kind_ = Kind::Tone;
  capture_ = nullptr;
  hz_ = hz;
  sound_ = {};
  position_ = 0;
  description_ = "tone " + std::to_string(hz) + " Hz";
}

void Microphone::chooseSound(DecodedSound sound) {
  kind_ = Kind::Sound;
  capture_ = nullptr;
  description_ = "file (" + std::to_string(sound.samples.size() / sound.channels) + " frames at " +
                 std::to_string(sound.rate) + " Hz)";
  sound_ = std::move(sound);
  position_ = 0;
}

void Microphone::chooseCapture(DesktopCapture& capture) {
  kind_ = Kind::Capture;
  capture_ = &capture;
  sound_ = {};
  position_ = 0;
  description_ = "the desktop's microphone";
}

float Microphone::sampleAt(double seconds, uint16_t channel, uint16_t channels) const {
  switch (kind_) {
    case Kind::Silence:
      return 0.0f;
    case Kind::Tone:
      return kToneLevel * static_cast<float>(std::sin(2 * std::numbers::pi * hz_ * seconds));
    case Kind::Capture:
    case Kind::Sound: {
      // Nearest frame; a mono file feeds both channels, a stereo one feeds mono with its mix.
      const size_t frame = static_cast<size_t>(seconds * sound_.rate);
      const size_t frames = sound_.samples.size() / sound_.channels;
      if (frame >= frames) return 0.0f;
      const float* at = &sound_.samples[frame * sound_.channels];
      if (channels == 1) {
        float sum = 0;
        for (uint16_t c = 0; c < sound_.channels; ++c) sum += at[c];
        return sum / sound_.channels;
      }
      return at[std::min<uint16_t>(channel, static_cast<uint16_t>(sound_.channels - 1))];
    }
  }
  return 0.0f;
}

std::vector<uint8_t> Microphone::hear(const WaveFormat& format, uint64_t frames) {
  if (kind_ == Kind::Capture) {
    // What was captured in the meantime, read as a sound of its own from its start.
    const auto wanted = static_cast<size_t>(frames * DesktopCapture::kRate / format.rate);
    sound_ = {DesktopCapture::kRate, 1, capture_->take(wanted)};
    position_ = 0;
  }
  std::vector<uint8_t> out;
  out.reserve(frames * format.frameBytes());
  for (uint64_t i = 0; i < frames; ++i) {
    const double seconds = position_ + static_cast<double>(i) / format.rate;
    for (uint16_t c = 0; c < format.channels; ++c) {
      const float v = std::clamp(sampleAt(seconds, c, format.channels), -1.0f, 1.0f);
      if (format.bits == 8) {
        out.push_back(static_cast<uint8_t>(std::lround(128 + v * 127)));
      } else {
        const auto s = static_cast<int16_t>(std::lround(v * 32767));
        out.push_back(static_cast<uint8_t>(s & 0xFF));
        out.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
      }
    }
  }
  position_ += static_cast<double>(frames) / format.rate;
  return out;
}

}  // namespace handheld::device
