#include "display/device_frame.h"

#include <windows.h>

#include <algorithm>

namespace handheld::device {

namespace {

constexpr int kSide = 24;
constexpr int kTop = 32;
constexpr int kGapBelowScreen = 20;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 32;
constexpr int kButtonGap = 12;
constexpr int kBottom = 24;
constexpr uint8_t kButtonOrder[] = {VK_APP1, VK_APP2, VK_APP5, VK_APP3, VK_APP4};

}  // namespace

int DeviceFrame::defaultScale(int screenWidth, int screenHeight) {
  return screenWidth * screenHeight <= 320 * 240 ? 2 : 1;
}

DeviceFrame::DeviceFrame(int screenWidth, int screenHeight, int scale)
    : scale_(std::clamp(scale, 1, kMaxScale)), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  const int row = 5 * kButtonWidth + 4 * kButtonGap;
  windowWidth_ = std::max(screenWidth * scale_, row) + 2 * kSide;
  screen_ = {(windowWidth_ - screenWidth * scale_) / 2, kTop, 0, 0};
  screen_.right = screen_.left + screenWidth * scale_;
  screen_.bottom = screen_.top + screenHeight * scale_;
  const int buttonTop = screen_.bottom + kGapBelowScreen;
  int left = (windowWidth_ - row) / 2;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i] = {kButtonOrder[i], {left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight}};
    left += kButtonWidth + kButtonGap;
  }
  windowHeight_ = buttonTop + kButtonHeight + kBottom;
}

std::optional<POINT> DeviceFrame::screenPointAt(int x, int y) const {
  if (x < screen_.left || x >= screen_.right || y < screen_.top || y >= screen_.bottom) return std::nullopt;
  return POINT{(x - screen_.left) / scale_, (y - screen_.top) / scale_};
}

POINT DeviceFrame::nearestScreenPoint(int x, int y) const {
  return POINT{std::clamp((x - screen_.left) / scale_, 0, screenWidth_ - 1),
               std::clamp((y - screen_.top) / scale_, 0, screenHeight_ - 1)};
}

uint8_t DeviceFrame::buttonAt(int x, int y) const {
  for (const FrameButton& button : buttons_)
    if (x >= button.rect.left && x < button.rect.right && y >= button.rect.top && y < button.rect.bottom)
      return button.key;
  return 0;
}

}  // namespace handheld::device
