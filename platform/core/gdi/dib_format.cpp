#include "gdi/dib_format.h"

#include <vector>

namespace handheld::gdi {

namespace {

constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kHeaderWithMasksSize = 52;  // V2 and later carry the masks inside

uint32_t readLe(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

}  // namespace

std::optional<DibDescription> describeDib(std::span<const uint8_t> bytes, int maxDimension) {
  if (bytes.size() < 4) return std::nullopt;
  const size_t headerSize = readLe(bytes, 0, 4);
  DibDescription dib;
  long long width = 0;
  long long height = 0;
  uint32_t planes = 0;
  uint32_t bits = 0;
  uint32_t compression = BI_RGB;
  uint32_t colorsUsed = 0;
  size_t paletteEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    if (bytes.size() < kCoreHeaderSize) return std::nullopt;
    width = readLe(bytes, 4, 2);
    height = readLe(bytes, 6, 2);
    planes = readLe(bytes, 8, 2);
    bits = readLe(bytes, 10, 2);
    paletteEntrySize = 3;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= 256) {
    if (bytes.size() < headerSize) return std::nullopt;
    width = static_cast<int32_t>(readLe(bytes, 4, 4));
    height = static_cast<int32_t>(readLe(bytes, 8, 4));
    planes = readLe(bytes, 12, 2);
    bits = readLe(bytes, 14, 2);
    compression = readLe(bytes, 16, 4);
    colorsUsed = readLe(bytes, 32, 4);
  } else {
    return std::nullopt;
  }
  dib.bottomUp = height > 0;
  height = height < 0 ? -height : height;
  if (width <= 0 || height <= 0 || width > maxDimension || height > maxDimension) {
    return std::nullopt;
  }
  if (planes != 1) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32))) {
    return std::nullopt;
  }

  size_t offset = headerSize;
  if (compression == BI_BITFIELDS) {
    // A 40-byte header is followed by the three masks; later headers hold them at 40.
    size_t masksAt = headerSize >= kHeaderWithMasksSize ? kInfoHeaderSize : headerSize;
    if (bytes.size() < masksAt + 12) return std::nullopt;
    for (size_t i = 0; i < 3; ++i) dib.masks[i] = readLe(bytes, masksAt + 4 * i, 4);
    auto packed = PixelFormat::packed(static_cast<int>(bits), dib.masks[0], dib.masks[1],
                                      dib.masks[2]);
    if (!packed) return std::nullopt;
    dib.format = *packed;
    if (headerSize < kHeaderWithMasksSize) offset += 12;
  } else if (bits == 16) {
    dib.format = *PixelFormat::packed(16, 0x7C00, 0x03E0, 0x001F);
  } else if (bits == 24) {
    dib.format = PixelFormat::rgb24();
  } else if (bits == 32) {
    dib.format = PixelFormat::xrgb32();
  }

  const size_t maxColors = bits <= 8 ? (size_t{1} << bits) : 256;
  if (colorsUsed > maxColors) return std::nullopt;
  size_t paletteCount = bits <= 8 && colorsUsed == 0 ? maxColors : colorsUsed;
  if (paletteCount > (bytes.size() - std::min(offset, bytes.size())) / paletteEntrySize) {
    return std::nullopt;
  }
  if (bits <= 8) {
    std::vector<uint32_t> palette(paletteCount);
    for (size_t i = 0; i < paletteCount; ++i) {
      palette[i] = readLe(bytes, offset + i * paletteEntrySize, 3);  // B,G,R = 0x00RRGGBB
    }
    dib.format = PixelFormat::indexed(static_cast<int>(bits), std::move(palette));
  }
  offset += paletteCount * paletteEntrySize;

  dib.width = static_cast<int>(width);
  dib.height = static_cast<int>(height);
  dib.headerBytes = offset;
  dib.rowBytes = dib.format.rowBytes(dib.width, 4);
  dib.header.biSize = kInfoHeaderSize;
  dib.header.biWidth = dib.width;
  dib.header.biHeight = dib.bottomUp ? dib.height : -dib.height;
  dib.header.biPlanes = 1;
  dib.header.biBitCount = static_cast<WORD>(bits);
  dib.header.biCompression = compression;
  dib.header.biSizeImage = static_cast<DWORD>(dib.rowBytes * static_cast<size_t>(dib.height));
  dib.header.biClrUsed = static_cast<DWORD>(bits <= 8 ? paletteCount : 0);
  return dib;
}

}  // namespace handheld::gdi
