// A top-level window's pixels: 32-bit 0x00RRGGBB in shared memory (a memfd the device server
// maps too, to compose the screen). Made again whenever the window's size changes.
#pragma once

#include <memory>

#include "gdi/surface.h"
#include "os/unique_fd.h"

namespace handheld::user {

class WindowSurface {
 public:
  // Null for an empty size, a size beyond the surface limits, or when the host refuses.
  static std::shared_ptr<WindowSurface> create(int width, int height);

  const std::shared_ptr<gdi::Surface>& pixels() const { return pixels_; }
  int memoryFd() const { return memory_.get(); }

 private:
  os::UniqueFd memory_;
  std::shared_ptr<gdi::Surface> pixels_;
};

}  // namespace handheld::user
