// Where played samples go. The sound service keeps the time of every play itself, so a
// speaker only has to sound them: the headless one keeps silent, the desktop one mixes them
// into the host's audio output.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "sound/wave_format.h"

namespace handheld::device {

class Log;

class Speaker {
 public:
  using Voice = uint64_t;
  virtual ~Speaker() = default;
  virtual const char* name() const = 0;
  // Starts sounding `pcm` (copied) beside whatever sounds already.
  virtual Voice start(const WaveFormat& format, std::span<const uint8_t> pcm) = 0;
  virtual void stop(Voice voice) = 0;
};

class HeadlessSpeaker final : public Speaker {
 public:
  const char* name() const override { return "headless"; }
  Voice start(const WaveFormat&, std::span<const uint8_t>) override { return ++last_; }
  void stop(Voice) override {}

 private:
  Voice last_ = 0;
};

// The host's audio output through SDL2; nullptr (logged) when none can be opened.
std::unique_ptr<Speaker> openDesktopSpeaker(Log& log);

}  // namespace handheld::device
