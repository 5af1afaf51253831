// Where the composed screen goes: nowhere but the framebuffer (headless) or a desktop window
// (SDL). Both receive the same framebuffer, so both show identical pixels.
#pragma once

#include <windef.h>

#include <cstdint>
#include <vector>

#include "gdi/surface.h"
#include "ipc/protocol.h"

namespace handheld::device {

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  virtual const char* name() const = 0;
  // Whether frames are composed as damage arrives (someone watches) or only when the screen
  // is asked for.
  virtual bool showsFrames() const = 0;
  // The framebuffer changed inside rects; a size change comes with the whole screen.
  virtual void present(const gdi::Surface& framebuffer, const std::vector<RECT>& rects) = 0;
  // The device's hardware buttons that are down (bit n: VK_APP1 + n), for the frame to show.
  virtual void showButtons(uint32_t mask) = 0;
  // Starts a capture of what the desktop window shows; the result arrives as DesktopCaptured
  // with this id. False when there is no window to capture.
  virtual bool capture(ipc::CaptureSource source, uint64_t requestId) = 0;
};

// The headless device: the framebuffer is the only picture, kept for screenshots.
class HeadlessBackend final : public DisplayBackend {
 public:
  const char* name() const override { return "headless"; }
  bool showsFrames() const override { return false; }
  void present(const gdi::Surface&, const std::vector<RECT>&) override {}
  void showButtons(uint32_t) override {}
  bool capture(ipc::CaptureSource, uint64_t) override { return false; }
};

}  // namespace handheld::device
