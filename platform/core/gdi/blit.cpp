#include "gdi/blit.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace handheld::gdi {

namespace {

struct Axis {
  long long destStart, destSize, sourceStart, sourceSize;
  bool mirrored;
};

// Splits a possibly reversed pair of spans into start/size and a mirror flag.
Axis makeAxis(long long d0, long long d1, long long s0, long long s1) {
  bool flip = false;
  if (d1 < d0) {
    std::swap(d0, d1);
    flip = !flip;
  }
  if (s1 < s0) {
    std::swap(s0, s1);
    flip = !flip;
  }
  return {d0, d1 - d0, s0, s1 - s0, flip};
}

// The source index for destination index i (0-based): nearest sample at pixel centres.
long long sourceIndex(const Axis& axis, long long i) {
  long long j = axis.destSize == axis.sourceSize
                    ? i
                    : ((2 * i + 1) * axis.sourceSize) / (2 * axis.destSize);
  return axis.sourceStart + (axis.mirrored ? axis.sourceSize - 1 - j : j);
}

uint32_t sourceColor(const BlitSource& source, const Surface& pixels, uint32_t raw,
                     bool destinationMonochrome) {
  if (pixels.monochrome() && !destinationMonochrome) {
    return raw ? source.background : source.foreground;
  }
  if (!pixels.monochrome() && destinationMonochrome && source.whiteColor) {
    return raw == *source.whiteColor ? 0xFFFFFF : 0;
  }
  return raw;
}

}  // namespace

void blit(Canvas& destination, const BlitSource& source, const BlitRequest& request) {
  const Surface* pixels = source.surface;
  if (!pixels) return;
  Axis ax = makeAxis(request.destination.left, request.destination.right, request.source.left,
                     request.source.right);
  Axis ay = makeAxis(request.destination.top, request.destination.bottom, request.source.top,
                     request.source.bottom);
  if (ax.destSize == 0 || ay.destSize == 0 || ax.sourceSize == 0 || ay.sourceSize == 0) return;

  Surface& target = destination.surface();
  const RECT destRect{static_cast<LONG>(ax.destStart), static_cast<LONG>(ay.destStart),
                      static_cast<LONG>(ax.destStart + ax.destSize),
                      static_cast<LONG>(ay.destStart + ay.destSize)};
  const RECT sourceRect{static_cast<LONG>(ax.sourceStart), static_cast<LONG>(ay.sourceStart),
                        static_cast<LONG>(ax.sourceStart + ax.sourceSize),
                        static_cast<LONG>(ay.sourceStart + ay.sourceSize)};
  std::shared_ptr<Surface> copy;
  if (pixels == &target && !isEmpty(intersect(destRect, sourceRect))) {
    copy = pixels->clone();  // reading from a snapshot makes overlapping copies exact
    pixels = copy.get();
  }
  const bool straight = ax.destSize == ax.sourceSize && ay.destSize == ay.sourceSize &&
                        !ax.mirrored && !ay.mirrored;
  const bool fastCopy = straight && request.op.isSourceCopy() && !request.transparentColor &&
                        pixels->format().isXrgb32() && target.format().isXrgb32();
  const bool destinationMonochrome = target.monochrome();

  destination.forEachPiece(destRect, [&](const RECT& piece) {
    bool touched = false;
    for (int y = piece.top; y < piece.bottom; ++y) {
      long long sy = sourceIndex(ay, y - ay.destStart);
      if (sy < 0 || sy >= pixels->height()) continue;
      if (fastCopy) {
        long long first = std::max<long long>(piece.left, ax.destStart - ax.sourceStart);
        long long end = std::min<long long>(piece.right,
                                            ax.destStart - ax.sourceStart + pixels->width());
        if (first >= end) continue;
        std::memcpy(target.xrgbRow(y) + first,
                    pixels->xrgbRow(static_cast<int>(sy)) + (first - ax.destStart + ax.sourceStart),
                    static_cast<size_t>(end - first) * 4);
        touched = true;
        continue;
      }
      const uint8_t* sourceRow = pixels->row(static_cast<int>(sy));
      for (int x = piece.left; x < piece.right; ++x) {
        long long sx = sourceIndex(ax, x - ax.destStart);
        if (sx < 0 || sx >= pixels->width()) continue;
        uint32_t raw = pixels->format().read(sourceRow, static_cast<int>(sx));
        if (request.transparentColor && raw == *request.transparentColor) continue;
        uint32_t s = sourceColor(source, *pixels, raw, destinationMonochrome);
        uint32_t d = request.op.usesDestination() ? target.pixel(x, y) : 0;
        uint32_t p = request.op.usesPattern() ? request.pattern.at(x, y) : 0;
        target.setPixel(x, y, request.op.apply(p, s, d));
        touched = true;
      }
    }
    if (touched) destination.addDamage(piece);
  });
}

}  // namespace handheld::gdi
