// The window-sized back buffer: a DIB section the platform's GDI blits from, with a cairo
// image surface over the same pixels.
#pragma once

#include <windows.h>

#include <cairo.h>

namespace handheld::inkx {

class Surface {
 public:
  Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { release(); }

  // Makes the buffer `width` x `height` when it is not already; false when that fails.
  bool ensure(int width, int height);
  cairo_t* cairo() const { return cr_; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void release();
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace handheld::inkx
