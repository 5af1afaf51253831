// Reading a device-independent bitmap's header (BITMAPCOREHEADER, BITMAPINFOHEADER and the
// later V2..V5 headers) with its colour masks and palette, from bytes that may be untrusted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "gdi/pixel_format.h"

namespace handheld::gdi {

struct DibDescription {
  int width = 0;
  int height = 0;  // always positive
  bool bottomUp = true;
  PixelFormat format = PixelFormat::xrgb32();
  BITMAPINFOHEADER header{};  // as a 40-byte header, whatever the original size
  uint32_t masks[3] = {};     // BI_BITFIELDS only
  size_t headerBytes = 0;     // header, masks and palette together
  size_t rowBytes = 0;        // each row padded to 4 bytes
};

// Uncompressed 1/4/8/16/24/32-bit images (BI_RGB; BI_BITFIELDS for 16 and 32) within
// maxDimension each way. Reads only inside bytes; a header that lies is refused.
std::optional<DibDescription> describeDib(std::span<const uint8_t> bytes, int maxDimension);

}  // namespace handheld::gdi
