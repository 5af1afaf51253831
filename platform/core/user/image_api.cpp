// LoadBitmapW and LoadImageW: bitmaps, icons and cursors from a module's resources or a
// device file.
#include <windows.h>

#include "gdi/bitmap_load.h"
#include "gdi/image_source.h"
#include "user/icon_load.h"

using handheld::gdi::bitmapFromBmp;
using handheld::gdi::readDeviceFile;
using handheld::gdi::resourceBytes;
using handheld::user::loadIcon;

HANDHELD_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  auto bytes = resourceBytes(instance, name, RT_BITMAP);
  if (!bytes) return nullptr;
  return bitmapFromBmp(*bytes, 0, 0, false);
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
    return bitmapFromBmp(*data, width, height, dibSection);
  }
  auto bytes = resourceBytes(instance, name, RT_BITMAP);
  if (!bytes) return nullptr;
  return bitmapFromBmp(*bytes, width, height, dibSection);
}
