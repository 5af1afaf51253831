// A top-level window's surface as the server sees it: the client's memfd mapped read-only.
// The memfd must accept a seal against shrinking, so a client cannot truncate the memory
// under the compositor (reading past a shrunken file would kill the server with SIGBUS).
#pragma once

#include <windef.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/scene.h"

namespace handheld::device {

class MappedSurface {
 public:
  // Rows of width 32-bit pixels, height of them, tightly packed. Null when the size is out of
  // range, the memory is smaller than that or cannot be sealed, or mapping fails.
  static std::unique_ptr<MappedSurface> map(int fd, int width, int height);
  ~MappedSurface();
  MappedSurface(const MappedSurface&) = delete;
  MappedSurface& operator=(const MappedSurface&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // Unique among every surface this server has mapped.
  uint64_t id() const { return id_; }
  // The layer this surface makes when its window is at `rect` on the screen.
  SceneLayer layer(uint32_t window, const RECT& rect) const;

 private:
  MappedSurface(const uint8_t* pixels, size_t bytes, int width, int height);

  const uint8_t* pixels_;
  size_t bytes_;
  int width_;
  int height_;
  uint64_t id_;
};

}  // namespace handheld::device
