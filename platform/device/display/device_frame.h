// The plain device the desktop window draws: a dark body, the screen inset at an integer
// scale, and below it a row of hardware buttons (application buttons 1 and 2, the record
// button, application buttons 3 and 4). Window coordinates; pure geometry, no drawing.
#pragma once

#include <windef.h>

#include <array>
#include <cstdint>
#include <optional>

namespace handheld::device {

struct FrameButton {
  uint8_t key;  // VK_APP1..VK_APP5
  RECT rect;
};

class DeviceFrame {
 public:
  // 2 for the QVGA modes, 1 for VGA, so the window is about the same size either way.
  static int defaultScale(int screenWidth, int screenHeight);
  static constexpr int kMaxScale = 4;

  DeviceFrame(int screenWidth, int screenHeight, int scale);

  int scale() const { return scale_; }
  int windowWidth() const { return windowWidth_; }
  int windowHeight() const { return windowHeight_; }
  const RECT& screen() const { return screen_; }  // the screen inset, in window pixels
  const std::array<FrameButton, 5>& buttons() const { return buttons_; }

  // The device screen pixel under a window point; nullopt off the screen.
  std::optional<POINT> screenPointAt(int x, int y) const;
  // The same, brought to the nearest screen pixel (a stylus dragged off the screen).
  POINT nearestScreenPoint(int x, int y) const;
  // The hardware button under a window point, or 0.
  uint8_t buttonAt(int x, int y) const;

 private:
  int scale_;
  int screenWidth_;
  int screenHeight_;
  int windowWidth_;
  int windowHeight_;
  RECT screen_;
  std::array<FrameButton, 5> buttons_;
};

}  // namespace handheld::device
