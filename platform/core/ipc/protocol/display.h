// The screen: window surfaces, the screen mode, captures and single pixels.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

// A top-level window's pixels: a memfd of height rows of width 32-bit pixels (0x00RRGGBB),
// sent when the surface is made or replaced; then the rectangles drawn into it.
struct SurfaceAttach {
  static constexpr Op op = Op::SurfaceAttach;
  static constexpr Direction direction = Direction::Notice;
  uint32_t handle = 0;
  Fd memory;
  int32_t width = 0;
  int32_t height = 0;
  HANDHELD_FIELDS(handle, memory, width, height)
};
struct SurfaceDamage {
  static constexpr Op op = Op::SurfaceDamage;
  static constexpr Direction direction = Direction::Notice;
  uint32_t handle = 0;
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // surface coordinates
  HANDHELD_FIELDS(handle, left, top, right, bottom)
};

// Automation's view of the screen: coordinates are device screen pixels; a point off the
// screen is refused with ERROR_INVALID_PARAMETER. Replies that take a point carry the screen
// size, so that a refusal can say why.

// Changes the screen mode of the running device (ipc/screen_modes.h names them): the new
// metrics go into the info page and every top-level window receives WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET. An unknown mode: ERROR_INVALID_PARAMETER.
struct ScreenModeSet {
  static constexpr Op op = Op::ScreenModeSet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    std::string mode;
    HANDHELD_FIELDS(mode)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// What a capture shows: the device screen as composed (either backend), or as the desktop
// window shows it: its screen area brought back to device pixels, or the whole window with
// the device frame. The desktop captures need the desktop window (else ERROR_NOT_SUPPORTED).
enum class CaptureSource : uint8_t { Framebuffer = 1, DesktopScreen = 2, DesktopWindow = 3 };

struct ScreenCapture {
  static constexpr Op op = Op::ScreenCapture;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    CaptureSource source = CaptureSource::Framebuffer;
    HANDHELD_FIELDS(source)
  };
  struct Reply {
    uint32_t error = 0;
    int32_t width = 0;
    int32_t height = 0;
    Bytes pixels;  // rows top-down without padding; each pixel 0x00RRGGBB, little-endian
    HANDHELD_FIELDS(error, width, height, pixels)
  };
};

struct ScreenPixel {
  static constexpr Op op = Op::ScreenPixel;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    int32_t x = 0, y = 0;
    HANDHELD_FIELDS(x, y)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t color = 0;  // 0x00RRGGBB
    int32_t screenWidth = 0, screenHeight = 0;
    HANDHELD_FIELDS(error, color, screenWidth, screenHeight)
  };
};

}  // namespace handheld::ipc
