// Drawing onto a surface through a clip list, recording the damaged bounds. Coordinates here
// are surface pixels; the device context maps logical coordinates before calling in.
#pragma once

#include <cstdint>
#include <span>

#include "gdi/geometry.h"
#include "gdi/raster_op.h"
#include "gdi/surface.h"

namespace handheld::gdi {

// The pattern input of a raster operation: one colour, or a bitmap tiled from an origin.
struct Paint {
  uint32_t color = 0;
  const Surface* pattern = nullptr;
  POINT origin{};
  // A monochrome pattern's 0 bits take foreground, its 1 bits background.
  uint32_t foreground = 0;
  uint32_t background = 0xFFFFFF;

  static Paint solid(uint32_t rgb) { return Paint{rgb}; }
  uint32_t at(int x, int y) const;
};

class Canvas {
 public:
  // clip: disjoint rectangles inside the surface.
  Canvas(Surface& surface, std::span<const RECT> clip, RECT& damage)
      : surface_(surface), clip_(clip), damage_(damage) {}

  Surface& surface() const { return surface_; }
  std::span<const RECT> clip() const { return clip_; }

  // Calls visit(piece) for every non-empty part of r inside the clip.
  template <class Visit>
  void forEachPiece(const RECT& r, Visit&& visit) const {
    for (const RECT& c : clip_) {
      RECT piece = intersect(r, c);
      if (!isEmpty(piece)) visit(piece);
    }
  }

  void fill(const RECT& r, const Paint& paint, RasterOp op);
  void span(int y, int x0, int x1, const Paint& paint, RasterOp op) {
    fill({x0, y, x1, y + 1}, paint, op);
  }
  void plot(int x, int y, const Paint& paint, RasterOp op) { fill({x, y, x + 1, y + 1}, paint, op); }
  bool visible(int x, int y) const;
  void addDamage(const RECT& r) { damage_ = unite(damage_, r); }

 private:
  Surface& surface_;
  std::span<const RECT> clip_;
  RECT& damage_;
};

}  // namespace handheld::gdi
