#include "gdi/bitmap_load.h"

#include "gdi/blit.h"
#include "gdi/bmp.h"
#include "gdi/gdi_objects.h"

namespace handheld::gdi {

namespace {

// The decoded image at the requested size (0: as it is), in the layout the caller wants.
HBITMAP makeBitmap(const Surface& decoded, int width, int height, bool dibSection) {
  width = width > 0 ? width : decoded.width();
  height = height > 0 ? height : decoded.height();
  auto surface = Surface::create(width, height, PixelFormat::xrgb32(), 4, dibSection);
  if (!surface) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const RECT all = surface->bounds();
  RECT damage{};
  Canvas canvas(*surface, {&all, 1}, damage);
  BlitRequest request;
  request.destination = all;
  request.source = decoded.bounds();
  BlitSource source;
  source.surface = &decoded;
  blit(canvas, source, request);
  auto object = std::make_shared<BitmapObject>(surface);
  if (dibSection) {
    object->dibSection = true;
    object->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    object->dibHeader.biWidth = width;
    object->dibHeader.biHeight = height;
    object->dibHeader.biPlanes = 1;
    object->dibHeader.biBitCount = 32;
    object->dibHeader.biCompression = BI_RGB;
    object->dibHeader.biSizeImage = static_cast<DWORD>(surface->byteSize());
  }
  return static_cast<HBITMAP>(GdiTable::instance().insert(std::move(object)));
}

}  // namespace

HBITMAP bitmapFromBmp(std::span<const uint8_t> bytes, int width, int height, bool dibSection) {
  auto decoded = decodeBmp(bytes);
  if (!decoded) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return makeBitmap(*decoded, width, height, dibSection);
}

}  // namespace handheld::gdi
