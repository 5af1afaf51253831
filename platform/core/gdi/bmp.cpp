#include "gdi/bmp.h"

#include "gdi/dib_format.h"

namespace handheld::gdi {

namespace {

constexpr size_t kFileHeaderSize = 14;

uint32_t readLe32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace

std::shared_ptr<Surface> decodeBmp(std::span<const uint8_t> bytes) {
  std::span<const uint8_t> info = bytes;
  std::optional<size_t> pixelOffset;  // from the start of info
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    if (bytes.size() < kFileHeaderSize) return nullptr;
    uint32_t offBits = readLe32(bytes, 10);
    if (offBits < kFileHeaderSize || offBits > bytes.size()) return nullptr;
    info = bytes.subspan(kFileHeaderSize);
    pixelOffset = offBits - kFileHeaderSize;
  }
  auto dib = describeDib(info, kMaxBmpDimension);
  if (!dib) return nullptr;
  const size_t start = pixelOffset.value_or(dib->headerBytes);
  // The pixels may not overlap the header, masks or palette they are described by.
  if (start < dib->headerBytes || start > info.size()) return nullptr;
  const size_t needed = dib->rowBytes * static_cast<size_t>(dib->height);
  if (info.size() - start < needed) return nullptr;

  auto surface = Surface::create(dib->width, dib->height, PixelFormat::xrgb32());
  if (!surface) return nullptr;
  const uint8_t* pixels = info.data() + start;
  for (int y = 0; y < dib->height; ++y) {
    size_t line = static_cast<size_t>(dib->bottomUp ? dib->height - 1 - y : y);
    const uint8_t* row = pixels + line * dib->rowBytes;
    uint32_t* out = surface->xrgbRow(y);
    for (int x = 0; x < dib->width; ++x) out[x] = dib->format.read(row, x);
  }
  return surface;
}

}  // namespace handheld::gdi
