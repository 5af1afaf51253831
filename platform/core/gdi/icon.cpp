#include "gdi/icon.h"

#include "gdi/bmp.h"

namespace handheld::gdi {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;

uint16_t word(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t dword(std::span<const uint8_t> b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int32_t sdword(std::span<const uint8_t> b, size_t at) { return static_cast<int32_t>(dword(b, at)); }

struct Entry {
  int width;
  int height;
  std::span<const uint8_t> data;
  POINT hotspot;
};

// How far an entry is from the size wanted; exact matches first, then larger ones scaled down.
int distance(const Entry& e, int width, int height) {
  int d = std::abs(e.width - width) + std::abs(e.height - height);
  return e.width >= width ? d : d + 10000;
}

// A BMP image as icons store it: the header's height counts the colour rows and the mask rows.
std::shared_ptr<IconObject> decodeEntry(const Entry& entry, bool cursor) {
  auto b = entry.data;
  if (b.size() < kInfoHeaderSize || dword(b, 0) < kInfoHeaderSize || dword(b, 0) > b.size()) return nullptr;
  const uint32_t headerSize = dword(b, 0);
  const int32_t width = sdword(b, 4);
  const int32_t doubledHeight = sdword(b, 8);
  const uint16_t bits = word(b, 14);
  const uint32_t compression = dword(b, 16);
  const uint32_t used = dword(b, 32);
  if (width <= 0 || doubledHeight <= 0 || doubledHeight % 2 || width > 1024 || doubledHeight > 2048) return nullptr;
  if (compression != BI_RGB || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) return nullptr;
  const int height = doubledHeight / 2;
  const size_t paletteEntries = bits <= 8 ? (used && used <= (1u << bits) ? used : (1u << bits)) : 0;
  const size_t colorStart = headerSize + paletteEntries * 4;
  const size_t colorStride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
  const size_t colorBytes = colorStride * static_cast<size_t>(height);
  const size_t maskBytes = maskStride * static_cast<size_t>(height);
  if (colorStart > b.size() || b.size() - colorStart < colorBytes + maskBytes) return nullptr;

  // The colour part alone is an ordinary bitmap of half the height.
  std::vector<uint8_t> colorBmp(b.begin(), b.begin() + static_cast<long>(colorStart + colorBytes));
  const int32_t half = height;
  for (int i = 0; i < 4; ++i) colorBmp[8 + static_cast<size_t>(i)] = static_cast<uint8_t>(half >> (8 * i));
  for (size_t i = 20; i < 24; ++i) colorBmp[i] = 0;  // biSizeImage: let the decoder work it out
  auto color = decodeBmp(colorBmp);
  if (!color) return nullptr;

  bool alpha = false;
  if (bits == 32)
    for (size_t i = 3; i < colorBytes && !alpha; i += 4) alpha = b[colorStart + i] != 0;
  std::vector<uint8_t> transparent(static_cast<size_t>(width) * static_cast<size_t>(height));
  const size_t maskStart = colorStart + colorBytes;
  for (int y = 0; y < height; ++y) {
    size_t fileRow = static_cast<size_t>(height - 1 - y);  // rows run bottom-up
    for (int x = 0; x < width; ++x) {
      bool masked = (b[maskStart + fileRow * maskStride + static_cast<size_t>(x) / 8] >> (7 - x % 8)) & 1;
      if (alpha) masked = masked || b[colorStart + fileRow * colorStride + static_cast<size_t>(x) * 4 + 3] < 128;
      transparent[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = masked;
    }
  }
  auto icon = std::make_shared<IconObject>(color, std::move(transparent), cursor);
  icon->hotspot = entry.hotspot;
  return icon;
}

}  // namespace

std::shared_ptr<IconObject> plainIcon(bool cursor, int size) {
  auto surface = Surface::create(size, size, PixelFormat::xrgb32(), 4, false);
  if (!surface) return nullptr;
  std::vector<uint8_t> transparent(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      surface->setPixel(x, y, (x == 0 || y == 0 || x == size - 1 || y == size - 1) ? 0x000000 : 0xFFFFFF);
  return std::make_shared<IconObject>(surface, std::move(transparent), cursor);
}

std::shared_ptr<IconObject> decodeIconFile(std::span<const uint8_t> bytes, bool cursor, int width, int height) {
  if (bytes.size() < kDirectorySize || word(bytes, 0) != 0) return nullptr;
  const uint16_t type = word(bytes, 2);
  const uint16_t count = word(bytes, 4);
  if ((type != 1 && type != 2) || count == 0 || bytes.size() < kDirectorySize + count * kEntrySize) return nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  const Entry* best = nullptr;
  std::vector<Entry> entries;
  entries.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    size_t at = kDirectorySize + i * kEntrySize;
    uint32_t size = dword(bytes, at + 8), offset = dword(bytes, at + 12);
    if (offset > bytes.size() || size > bytes.size() - offset) continue;
    Entry e{bytes[at] ? bytes[at] : 256, bytes[at + 1] ? bytes[at + 1] : 256, bytes.subspan(offset, size),
            type == 2 ? POINT{word(bytes, at + 4), word(bytes, at + 6)} : POINT{0, 0}};
    entries.push_back(e);
  }
  for (const Entry& e : entries)
    if (!best || distance(e, width, height) < distance(*best, width, height)) best = &e;
  return best ? decodeEntry(*best, cursor) : nullptr;
}

}  // namespace handheld::gdi
