// A rectangle of pixels in memory: a window's surface, a bitmap, a DIB section.
#pragma once

#include <windef.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gdi/pixel_format.h"

namespace handheld::gdi {

class Surface {
 public:
  // Every surface the platform allocates stays within these.
  static constexpr int kMaxDimension = 16384;
  static constexpr size_t kMaxBytes = size_t{256} << 20;

  // Zeroed memory of its own; rows padded to alignBytes. Null when the size is out of range.
  static std::shared_ptr<Surface> create(int width, int height, PixelFormat format,
                                         int alignBytes = 4, bool bottomUp = false);
  // Memory owned elsewhere (a window's shared mapping); owner keeps it alive. Top-down
  // unless bottomUp. Null when the size is out of range or the stride too small.
  static std::shared_ptr<Surface> wrap(int width, int height, PixelFormat format, uint8_t* bits,
                                       size_t stride, bool bottomUp, std::shared_ptr<void> owner);

  Surface(int width, int height, PixelFormat format, size_t stride, bool bottomUp, uint8_t* bits,
          std::vector<uint8_t> storage, std::shared_ptr<void> owner);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  RECT bounds() const { return {0, 0, width_, height_}; }
  const PixelFormat& format() const { return format_; }
  size_t stride() const { return stride_; }
  bool bottomUp() const { return bottomUp_; }
  uint8_t* bits() { return bits_; }
  const uint8_t* bits() const { return bits_; }
  size_t byteSize() const { return stride_ * static_cast<size_t>(height_); }

  // Row y counted from the top, whatever the memory order.
  uint8_t* row(int y) { return bits_ + rowOffset(y); }
  const uint8_t* row(int y) const { return bits_ + rowOffset(y); }
  uint32_t* xrgbRow(int y) { return reinterpret_cast<uint32_t*>(row(y)); }
  const uint32_t* xrgbRow(int y) const { return reinterpret_cast<const uint32_t*>(row(y)); }

  // Coordinates must be inside the surface; colours are 0x00RRGGBB.
  uint32_t pixel(int x, int y) const { return format_.read(row(y), x); }
  void setPixel(int x, int y, uint32_t rgb) { format_.write(row(y), x, rgb); }

  // A 1-bit device bitmap: converting to and from colour follows the DC's text and
  // background colours instead of a palette.
  bool monochrome() const { return monochrome_; }
  void setMonochrome(bool monochrome) { monochrome_ = monochrome; }

  // A copy with its own memory in the same format (pattern brushes keep one).
  std::shared_ptr<Surface> clone() const;

 private:
  size_t rowOffset(int y) const {
    size_t line = static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y);
    return line * stride_;
  }

  int width_;
  int height_;
  PixelFormat format_;
  size_t stride_;
  bool bottomUp_;
  bool monochrome_ = false;
  uint8_t* bits_;
  std::vector<uint8_t> storage_;
  std::shared_ptr<void> owner_;
};

}  // namespace handheld::gdi
