#include "ink_surface.h"

namespace handheld::inkx {

bool Surface::ensure(int width, int height) {
  if (cr_ && width == width_ && height == height_) return true;
  release();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as cairo lays out its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_ || !bits) {
    release();
    return false;
  }
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  // 32-bit rows of a DIB need no padding, which is also cairo's stride for RGB24.
  surface_ = cairo_image_surface_create_for_data(static_cast<unsigned char*>(bits), CAIRO_FORMAT_RGB24, width,
                                                 height, width * 4);
  cr_ = cairo_create(surface_);
  width_ = width;
  height_ = height;
  return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

void Surface::release() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  cr_ = nullptr;
  surface_ = nullptr;
  dc_ = nullptr;
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace handheld::inkx
