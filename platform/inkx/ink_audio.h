// Where the control's voice recordings come from and go to: a recorder that captures mono
// 16-bit samples and a player for a RIFF WAVE image. Each control gets the device's own pair
// (device_audio.h) unless a factory was put in; a control given no recorder refuses
// INKM_RECORD, one given no player leaves its icons silent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace handheld::inkx {

class Recorder {
 public:
  virtual ~Recorder() = default;
  virtual bool start() = 0;
  // Ends the capture and hands over what was captured.
  virtual std::vector<int16_t> stop() = 0;
  virtual uint32_t sampleRate() const = 0;
};

class Player {
 public:
  virtual ~Player() = default;
  // Plays without waiting; a new sound ends the one playing.
  virtual void play(std::shared_ptr<const std::vector<uint8_t>> image) = 0;
  virtual void stop() = 0;
};

struct Audio {
  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<Player> player;
};

using AudioFactory = std::function<Audio()>;

// What each new control gets; tests put their own in, an empty factory restores the device's.
void setAudioFactory(AudioFactory factory);
Audio makeAudio();

}  // namespace handheld::inkx
