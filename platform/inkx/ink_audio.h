// Where the control's voice recordings come from and go to: a recorder that captures mono
// 16-bit samples and a player for a RIFF WAVE image. The device's own pair is made by
// makeDeviceAudio; until the device offers capture and playback to programs it offers
// neither, and the control then refuses INKM_RECORD and leaves icons silent.
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

// What each new control gets; tests put their own in.
void setAudioFactory(AudioFactory factory);
Audio makeAudio();

}  // namespace handheld::inkx
