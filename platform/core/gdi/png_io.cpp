#include "gdi/png_io.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace handheld::gdi {

bool writePng(const Surface& surface, const std::filesystem::path& path) {
  const size_t width = static_cast<size_t>(surface.width());
  std::vector<uint8_t> rgb(width * 3 * static_cast<size_t>(surface.height()));
  for (int y = 0; y < surface.height(); ++y) {
    uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < surface.width(); ++x) {
      uint32_t pixel = surface.pixel(x, y);
      out[3 * x] = static_cast<uint8_t>(pixel >> 16);
      out[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(pixel);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width());
  image.height = static_cast<png_uint_32>(surface.height());
  image.format = PNG_FORMAT_RGB;
  bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(),
                                         static_cast<png_int_32>(width * 3), nullptr) != 0;
  png_image_free(&image);
  return written;
}

std::shared_ptr<Surface> readPng(const std::filesystem::path& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return nullptr;
  image.format = PNG_FORMAT_BGRA;  // bytes B,G,R,A: the surface's order
  auto surface = image.width <= static_cast<png_uint_32>(Surface::kMaxDimension) &&
                         image.height <= static_cast<png_uint_32>(Surface::kMaxDimension)
                     ? Surface::create(static_cast<int>(image.width),
                                       static_cast<int>(image.height), PixelFormat::xrgb32())
                     : nullptr;
  if (!surface || !png_image_finish_read(&image, nullptr, surface->bits(),
                                         static_cast<png_int_32>(surface->stride()), nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  for (int y = 0; y < surface->height(); ++y) {
    uint32_t* row = surface->xrgbRow(y);
    for (int x = 0; x < surface->width(); ++x) row[x] &= 0xFFFFFF;
  }
  return surface;
}

}  // namespace handheld::gdi
