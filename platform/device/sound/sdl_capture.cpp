#include <SDL.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <string>

#include "log.h"
#include "sound/desktop_capture.h"
#include "sound/sdl_audio_device.h"

namespace handheld::device {

namespace {

// What nobody reads is dropped past this: ten seconds.
constexpr size_t kMostBuffered = DesktopCapture::kRate * 10;

class SdlCapture final : public DesktopCapture {
 public:
  bool open(std::string& error) {
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = &SdlCapture::captured;
    want.userdata = this;
    SDL_AudioSpec got{};
    return device_.open(true, want, got, error);
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

  std::mutex mutex_;
  std::deque<float> buffered_;
  SdlAudioDevice device_;  // last: closed first
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
