// Decoding .bmp data: with or without the 14-byte BITMAPFILEHEADER (BITMAP resources carry
// none), every uncompressed depth, top-down or bottom-up. Untrusted input: anything that does
// not add up is refused, and nothing outside the given bytes is read.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "gdi/surface.h"

namespace handheld::gdi {

constexpr int kMaxBmpDimension = 8192;

// A 32-bit top-down surface (0x00RRGGBB), or null for data that is refused.
std::shared_ptr<Surface> decodeBmp(std::span<const uint8_t> bytes);

}  // namespace handheld::gdi
