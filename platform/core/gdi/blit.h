// Copying pixels between surfaces with a raster operation: straight, stretched (nearest
// neighbour, mirrored for negative sizes) and colour-keyed.
#pragma once

#include <optional>

#include "gdi/canvas.h"

namespace handheld::gdi {

// Where the source pixels come from and how they turn into colours for the destination.
struct BlitSource {
  const Surface* surface = nullptr;
  // Monochrome source into colour: 0 bits become foreground, 1 bits background.
  uint32_t foreground = 0;
  uint32_t background = 0xFFFFFF;
  // Colour source into a monochrome destination: this colour becomes white, others black.
  std::optional<uint32_t> whiteColor;
};

struct BlitRequest {
  RECT destination;  // surface coordinates; right < left or bottom < top mirrors
  RECT source;
  RasterOp op = RasterOp::sourceCopy();
  Paint pattern;
  std::optional<uint32_t> transparentColor;  // as stored in the source (already quantized)
};

// Overlapping source and destination within one surface are handled.
void blit(Canvas& destination, const BlitSource& source, const BlitRequest& request);

}  // namespace handheld::gdi
