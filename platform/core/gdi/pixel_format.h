// How one row of pixels is laid out in memory, and reading/writing 0x00RRGGBB colours there.
// Covers every layout a device-independent bitmap can have: 1/4/8-bit palette indices,
// 16 and 32-bit packed channels with masks (5-5-5, 5-6-5, 8-8-8), and 24-bit B,G,R.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace handheld::gdi {

class PixelFormat {
 public:
  enum class Kind : uint8_t { Indexed, Packed16, Rgb24, Packed32 };

  // 0x00RRGGBB per uint32: window surfaces and compatible bitmaps.
  static PixelFormat xrgb32();
  static PixelFormat rgb24();
  // A palette of at most 2^bits colours (fewer entries are allowed; missing ones read black).
  static PixelFormat indexed(int bits, std::vector<uint32_t> palette);
  // Contiguous, non-overlapping, non-empty channel masks within the pixel's bits; else nullopt.
  static std::optional<PixelFormat> packed(int bits, uint32_t redMask, uint32_t greenMask,
                                           uint32_t blueMask);

  Kind kind() const { return kind_; }
  int bitsPerPixel() const { return bits_; }
  bool isXrgb32() const { return xrgb_; }
  const std::vector<uint32_t>& palette() const { return palette_; }
  uint32_t redMask() const { return channels_[0].mask; }
  uint32_t greenMask() const { return channels_[1].mask; }
  uint32_t blueMask() const { return channels_[2].mask; }

  uint32_t read(const uint8_t* row, int x) const;
  void write(uint8_t* row, int x, uint32_t rgb) const;
  // The colour a write of rgb stores, as a later read returns it.
  uint32_t quantize(uint32_t rgb) const;

  // Bytes in one row of width pixels, padded to a multiple of alignBytes.
  size_t rowBytes(int width, int alignBytes) const;

 private:
  struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;  // mask >> shift
  };
  PixelFormat(Kind kind, int bits) : kind_(kind), bits_(bits) {}
  uint32_t fromPacked(uint32_t value) const;
  uint32_t toPacked(uint32_t rgb) const;
  uint8_t nearestIndex(uint32_t rgb) const;

  Kind kind_;
  int bits_;
  bool xrgb_ = false;
  Channel channels_[3];
  std::vector<uint32_t> palette_;
};

}  // namespace handheld::gdi
