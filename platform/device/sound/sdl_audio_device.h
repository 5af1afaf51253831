// One SDL audio device, playback or capture, holding the audio subsystem while it is open.
// Its owner declares it last, so that it closes (and its callback stops) before the state the
// callback uses goes.
#pragma once

#include <SDL.h>

#include <string>

namespace handheld::device {

class SdlAudioDevice {
 public:
  SdlAudioDevice() = default;
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;
  ~SdlAudioDevice() {
    if (device_) SDL_CloseAudioDevice(device_);
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // Opens the device and starts its callback; false with SDL's reason.
  bool open(bool capture, const SDL_AudioSpec& want, SDL_AudioSpec& got, std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      error = SDL_GetError();
      return false;
    }
    initialised_ = true;
    device_ = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &got, 0);
    if (!device_) {
      error = SDL_GetError();
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

 private:
  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
};

}  // namespace handheld::device
