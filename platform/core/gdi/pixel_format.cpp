#include "gdi/pixel_format.h"

#include <bit>
#include <cstring>

namespace handheld::gdi {

namespace {

int channelValue(uint32_t rgb, int channel) { return (rgb >> (16 - 8 * channel)) & 0xFF; }

}  // namespace

PixelFormat PixelFormat::xrgb32() { return *packed(32, 0xFF0000, 0x00FF00, 0x0000FF); }

PixelFormat PixelFormat::rgb24() { return PixelFormat(Kind::Rgb24, 24); }

PixelFormat PixelFormat::indexed(int bits, std::vector<uint32_t> palette) {
  PixelFormat format(Kind::Indexed, bits);
  palette.resize(std::min<size_t>(palette.size(), size_t{1} << bits));
  format.palette_ = std::move(palette);
  return format;
}

std::optional<PixelFormat> PixelFormat::packed(int bits, uint32_t redMask, uint32_t greenMask,
                                               uint32_t blueMask) {
  if (bits != 16 && bits != 32) return std::nullopt;
  const uint32_t limit = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  if ((redMask & greenMask) || (redMask & blueMask) || (greenMask & blueMask)) return std::nullopt;
  PixelFormat format(bits == 16 ? Kind::Packed16 : Kind::Packed32, bits);
  const uint32_t masks[3] = {redMask, greenMask, blueMask};
  for (int i = 0; i < 3; ++i) {
    uint32_t mask = masks[i];
    if (mask == 0 || (mask & ~limit)) return std::nullopt;
    int shift = std::countr_zero(mask);
    uint32_t max = mask >> shift;
    if ((max & (max + 1)) != 0) return std::nullopt;  // not contiguous
    format.channels_[i] = {mask, shift, max};
  }
  format.xrgb_ = bits == 32 && redMask == 0xFF0000 && greenMask == 0x00FF00 && blueMask == 0xFF;
  return format;
}

size_t PixelFormat::rowBytes(int width, int alignBytes) const {
  size_t bitsInRow = static_cast<size_t>(width) * static_cast<size_t>(bits_);
  size_t alignBits = static_cast<size_t>(alignBytes) * 8;
  return (bitsInRow + alignBits - 1) / alignBits * static_cast<size_t>(alignBytes);
}

uint32_t PixelFormat::fromPacked(uint32_t value) const {
  uint32_t rgb = 0;
  for (int i = 0; i < 3; ++i) {
    const Channel& c = channels_[i];
    uint32_t v = (value & c.mask) >> c.shift;
    uint32_t expanded = c.max == 255 ? v : (v * 255 + c.max / 2) / c.max;
    rgb |= expanded << (16 - 8 * i);
  }
  return rgb;
}

uint32_t PixelFormat::toPacked(uint32_t rgb) const {
  uint32_t value = 0;
  for (int i = 0; i < 3; ++i) {
    const Channel& c = channels_[i];
    uint32_t v = static_cast<uint32_t>(channelValue(rgb, i));
    uint32_t reduced = c.max == 255 ? v : (v * c.max + 127) / 255;
    value |= reduced << c.shift;
  }
  return value;
}

uint8_t PixelFormat::nearestIndex(uint32_t rgb) const {
  uint8_t best = 0;
  int bestDistance = -1;
  for (size_t i = 0; i < palette_.size(); ++i) {
    int distance = 0;
    for (int c = 0; c < 3; ++c) {
      int d = channelValue(rgb, c) - channelValue(palette_[i], c);
      distance += d * d;
    }
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<uint8_t>(i);
      if (distance == 0) break;
    }
  }
  return best;
}

uint32_t PixelFormat::read(const uint8_t* row, int x) const {
  switch (kind_) {
    case Kind::Indexed: {
      size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits_);
      unsigned shift = 8 - bits_ - (bit % 8);
      unsigned index = (row[bit / 8] >> shift) & ((1u << bits_) - 1);
      return index < palette_.size() ? palette_[index] : 0;
    }
    case Kind::Packed16: {
      const uint8_t* p = row + static_cast<size_t>(x) * 2;
      return fromPacked(static_cast<uint32_t>(p[0] | (p[1] << 8)));
    }
    case Kind::Rgb24: {
      const uint8_t* p = row + static_cast<size_t>(x) * 3;
      return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
    }
    case Kind::Packed32: {
      uint32_t value;
      std::memcpy(&value, row + static_cast<size_t>(x) * 4, 4);
      return isXrgb32() ? (value & 0xFFFFFF) : fromPacked(value);
    }
  }
  return 0;
}

void PixelFormat::write(uint8_t* row, int x, uint32_t rgb) const {
  switch (kind_) {
    case Kind::Indexed: {
      size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits_);
      unsigned shift = 8 - bits_ - (bit % 8);
      unsigned mask = ((1u << bits_) - 1) << shift;
      uint8_t& byte = row[bit / 8];
      byte = static_cast<uint8_t>((byte & ~mask) | ((nearestIndex(rgb) << shift) & mask));
      return;
    }
    case Kind::Packed16: {
      uint32_t value = toPacked(rgb);
      uint8_t* p = row + static_cast<size_t>(x) * 2;
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      return;
    }
    case Kind::Rgb24: {
      uint8_t* p = row + static_cast<size_t>(x) * 3;
      p[0] = static_cast<uint8_t>(rgb);
      p[1] = static_cast<uint8_t>(rgb >> 8);
      p[2] = static_cast<uint8_t>(rgb >> 16);
      return;
    }
    case Kind::Packed32: {
      uint32_t value = isXrgb32() ? (rgb & 0xFFFFFF) : toPacked(rgb);
      std::memcpy(row + static_cast<size_t>(x) * 4, &value, 4);
      return;
    }
  }
}

uint32_t PixelFormat::quantize(uint32_t rgb) const {
  switch (kind_) {
    case Kind::Indexed:
      return palette_.empty() ? 0 : palette_[nearestIndex(rgb)];
    case Kind::Rgb24:
      return rgb & 0xFFFFFF;
    case Kind::Packed16:
    case Kind::Packed32:
      return fromPacked(toPacked(rgb));
  }
  return rgb;
}

}  // namespace handheld::gdi
