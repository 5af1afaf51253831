// The host's microphone through SDL2 capture, for a device with a desktop window: SDL's
// audio thread appends samples to a bounded buffer that the microphone takes from.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace handheld::device {

class Log;

class DesktopCapture {
 public:
  static constexpr uint32_t kRate = 44100;  // mono float samples at this rate

  virtual ~DesktopCapture() = default;
  // Up to `frames` of the oldest samples captured; fewer when fewer have come.
  virtual std::vector<float> take(size_t frames) = 0;
};

// nullptr (logged) when SDL opens no capture device.
std::unique_ptr<DesktopCapture> openDesktopCapture(Log& log);

}  // namespace handheld::device
