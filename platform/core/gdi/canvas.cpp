#include "gdi/canvas.h"

#include <algorithm>

namespace handheld::gdi {

namespace {

int wrap(int value, int size) {
  int r = value % size;
  return r < 0 ? r + size : r;
}

}  // namespace

uint32_t Paint::at(int x, int y) const {
  if (!pattern) return color;
  uint32_t rgb = pattern->pixel(wrap(x - origin.x, pattern->width()),
                                wrap(y - origin.y, pattern->height()));
  if (pattern->monochrome()) return rgb ? background : foreground;
  return rgb;
}

bool Canvas::visible(int x, int y) const {
  for (const RECT& c : clip_) {
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
  }
  return false;
}

void Canvas::fill(const RECT& r, const Paint& paint, RasterOp op) {
  forEachPiece(r, [&](const RECT& piece) {
    addDamage(piece);
    if (op.isPatternCopy() && !paint.pattern && surface_.format().isXrgb32()) {
      for (int y = piece.top; y < piece.bottom; ++y) {
        uint32_t* row = surface_.xrgbRow(y);
        std::fill(row + piece.left, row + piece.right, paint.color & 0xFFFFFF);
      }
      return;
    }
    for (int y = piece.top; y < piece.bottom; ++y) {
      for (int x = piece.left; x < piece.right; ++x) {
        uint32_t dest = op.usesDestination() ? surface_.pixel(x, y) : 0;
        surface_.setPixel(x, y, op.apply(paint.at(x, y), 0, dest));
      }
    }
  });
}

}  // namespace handheld::gdi
