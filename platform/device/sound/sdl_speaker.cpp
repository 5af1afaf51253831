// The desktop speaker: one SDL audio output in a fixed format; each play is converted to it
// when it starts and mixed in by SDL's audio thread.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "log.h"
#include "sound/sdl_audio_device.h"
#include "sound/speaker.h"

namespace handheld::device {

namespace {

constexpr int kOutputRate = 44100;
constexpr Uint8 kOutputChannels = 2;
constexpr Uint16 kOutputSamples = 1024;  // about 23 ms a period: short enough to stop at once

class SdlSpeaker final : public Speaker {
 public:
  bool open(std::string& error) {
    SDL_AudioSpec want{};
    want.freq = kOutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = kOutputChannels;
    want.samples = kOutputSamples;
    want.callback = &SdlSpeaker::fill;
    want.userdata = this;
    return device_.open(false, want, spec_, error);
  }

  const char* name() const override { return "sdl"; }

  Voice start(const WaveFormat& format, std::span<const uint8_t> pcm) override {
    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    std::vector<int16_t> samples;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.channels), static_cast<int>(format.rate),
                          AUDIO_S16SYS, kOutputChannels, kOutputRate) >= 0) {
      std::vector<uint8_t> buffer(pcm.size() * static_cast<size_t>(cvt.len_mult) + 16);
      std::copy(pcm.begin(), pcm.end(), buffer.begin());
      cvt.buf = buffer.data();
      cvt.len = static_cast<int>(pcm.size());
      if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0) {
        const size_t bytes = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : pcm.size();
        samples.resize(bytes / sizeof(int16_t));
        std::memcpy(samples.data(), buffer.data(), samples.size() * sizeof(int16_t));
      }
    }
    std::lock_guard lock(mutex_);
    const Voice voice = ++last_;
    voices_[voice] = {std::move(samples), 0};
    return voice;
  }

  void stop(Voice voice) override {
    std::lock_guard lock(mutex_);
    voices_.erase(voice);
  }

 private:
  struct Playing {
    std::vector<int16_t> samples;
    size_t next;
  };

  // SDL's audio thread.
  static void fill(void* self, Uint8* stream, int length) {
    static_cast<SdlSpeaker*>(self)->mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / 2);
  }
  void mix(int16_t* out, size_t count) {
    std::vector<int32_t> sum(count, 0);
    {
      std::lock_guard lock(mutex_);
      for (auto& [voice, playing] : voices_) {
        const size_t n = std::min(count, playing.samples.size() - playing.next);
        for (size_t i = 0; i < n; ++i) sum[i] += playing.samples[playing.next + i];
        playing.next += n;
      }
    }
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<int16_t>(std::clamp(sum[i], -32768, 32767));
  }

  SDL_AudioSpec spec_{};
  std::mutex mutex_;
  std::unordered_map<Voice, Playing> voices_;
  Voice last_ = 0;
  SdlAudioDevice device_;  // last: closed first
};

}  // namespace

std::unique_ptr<Speaker> openDesktopSpeaker(Log& log) {
  auto speaker = std::make_unique<SdlSpeaker>();
  std::string error;
  if (speaker->open(error)) return speaker;
  log.write("speaker: no desktop audio output (" + error + "); playing silently");
  return nullptr;
}

}  // namespace handheld::device
