// LoadBitmapW, LoadImageW (IMAGE_BITMAP) and SHLoadDIBitmap: .bmp data from a module's
// resources or a device file, as a device bitmap or a DIB section.
#include <aygshell.h>


#include "gdi/blit.h"
#include "gdi/bmp.h"
#include "gdi/gdi_objects.h"
#include "gdi/icon.h"
#include "gdi/image_source.h"

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

HBITMAP decodeToBitmap(std::span<const uint8_t> bytes, int width, int height, bool dibSection) {
  auto decoded = decodeBmp(bytes);
  if (!decoded) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return makeBitmap(*decoded, width, height, dibSection);
}

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  auto bytes = resourceBytes(instance, name, RT_BITMAP);
  if (!bytes) return nullptr;
  return decodeToBitmap(*bytes, 0, 0, false);
}

HANDHELD_API HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width,
                                      int height, UINT flags) {
  if (!name || width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (type == IMAGE_ICON || type == IMAGE_CURSOR)
    return loadIcon(instance, name, type == IMAGE_CURSOR, width, height, (flags & LR_LOADFROMFILE) != 0);
  if (type != IMAGE_BITMAP) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  const bool dibSection = (flags & LR_CREATEDIBSECTION) != 0;
  if (flags & LR_LOADFROMFILE) {
    auto data = readDeviceFile(name);
    if (!data) return nullptr;
    return decodeToBitmap(*data, width, height, dibSection);
  }
  auto bytes = resourceBytes(instance, name, RT_BITMAP);
  if (!bytes) return nullptr;
  return decodeToBitmap(*bytes, width, height, dibSection);
}

HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName) {
  return static_cast<HBITMAP>(
      LoadImageW(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}
