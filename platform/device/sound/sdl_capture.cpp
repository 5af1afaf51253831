#include <SDL.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <string>

#include "log.h"
#include "sound/desktop_capture.h"

namespace handheld::device {

namespace {

// What nobody reads is dropped past this: ten seconds.
constexpr size_t kMostBuffered = DesktopCapture::kRate * 10;

class SdlCapture final : public DesktopCapture {
 public:
  ~SdlCapture() override {
    if (device_) SDL_CloseAudioDevice(device_);
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      error = SDL_GetError();
      return false;
    }
    initialised_ = true;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = &SdlCapture::captured;
    want.userdata = this;
    SDL_AudioSpec got{};
    device_ = SDL_OpenAudioDevice(nullptr, 1, &want, &got, 0);
    if (!device_) {
      error = SDL_GetError();
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  std::vector<float> take(size_t frames) override {
    std::lock_guard lock(mutex_);
    const size_t n = std::min(frames, buffered_.size());
    std::vector<float> out(buffered_.begin(), buffered_.begin() + static_cast<std::ptrdiff_t>(n));
    buffered_.erase(buffered_.begin(), buffered_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
  }

 private:
  // SDL's audio thread.
  static void captured(void* self, Uint8* stream, int length) {
    auto* capture = static_cast<SdlCapture*>(self);
    const auto* samples = reinterpret_cast<const float*>(stream);
    const size_t count = static_cast<size_t>(length) / sizeof(float);
    std::lock_guard lock(capture->mutex_);
    capture->buffered_.insert(capture->buffered_.end(), samples, samples + count);
    if (capture->buffered_.size() > kMostBuffered)
      capture->buffered_.erase(capture->buffered_.begin(),
                               capture->buffered_.begin() +
                                   static_cast<std::ptrdiff_t>(capture->buffered_.size() - kMostBuffered));
  }

  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::mutex mutex_;
  std::deque<float> buffered_;
};

}  // namespace

std::unique_ptr<DesktopCapture> openDesktopCapture(Log& log) {
  auto capture = std::make_unique<SdlCapture>();
  std::string error;
  if (capture->open(error)) return capture;
  log.write("microphone: no desktop capture device (" + error + "); it hears silence");
  return nullptr;
}

}  // namespace handheld::device
