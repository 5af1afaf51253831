// LoadIconW, LoadCursorW, DrawIconEx and friends.
#include <windows.h>

#include <atomic>

#include "gdi/device_context.h"
#include "gdi/icon.h"
#include "user/icon_load.h"

using namespace handheld::gdi;
using handheld::user::loadIcon;

namespace {

std::shared_ptr<IconObject> lookupIcon(HANDLE handle) {
  auto icon = lookupGdi<IconObject>(handle, GdiKind::Icon);
  if (!icon) SetLastError(ERROR_INVALID_ICON_HANDLE);
  return icon;
}

std::atomic<HCURSOR> g_cursor{nullptr};

}  // namespace

HANDHELD_API HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HICON>(loadIcon(instance, name, false, 0, 0, false));
}

HANDHELD_API HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HCURSOR>(loadIcon(instance, name, true, 0, 0, false));
}

HANDHELD_API BOOL WINAPI DestroyIcon(HICON icon) {
  if (!lookupIcon(icon)) return FALSE;
  return GdiTable::instance().remove(icon) ? TRUE : FALSE;
}

HANDHELD_API BOOL WINAPI DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HANDHELD_API BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon) {
  return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

HANDHELD_API BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON handle, int width, int height, UINT,
                                   HBRUSH, UINT flags) {
  auto icon = lookupIcon(handle);
  if (!icon) return FALSE;
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (width <= 0) width = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : icon->width();
  if (height <= 0) height = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : icon->height();
  const bool image = flags & DI_IMAGE, mask = flags & DI_MASK;
  if (!image && !mask) return TRUE;
  POINT origin = dc->toSurface(x, y);
  Canvas canvas = dc->canvas();
  Surface& surface = canvas.surface();
  const RECT box{origin.x, origin.y, origin.x + width, origin.y + height};
  canvas.forEachPiece(box, [&](const RECT& piece) {
    canvas.addDamage(piece);
    for (int row = piece.top; row < piece.bottom; ++row) {
      int sy = static_cast<int>(static_cast<int64_t>(row - origin.y) * icon->height() / height);
      for (int column = piece.left; column < piece.right; ++column) {
        int sx = static_cast<int>(static_cast<int64_t>(column - origin.x) * icon->width() / width);
        bool transparent = icon->transparent[static_cast<size_t>(sy) * static_cast<size_t>(icon->width()) +
                                             static_cast<size_t>(sx)];
        if (image && mask) {
          if (!transparent) surface.setPixel(column, row, icon->color->pixel(sx, sy));
        } else if (image) {
          surface.setPixel(column, row, icon->color->pixel(sx, sy));
        } else {
          surface.setPixel(column, row, transparent ? 0xFFFFFF : 0x000000);
        }
      }
    }
  });
  return TRUE;
}

HANDHELD_API HCURSOR WINAPI SetCursor(HCURSOR cursor) { return g_cursor.exchange(cursor); }

HANDHELD_API HCURSOR WINAPI GetCursor(void) { return g_cursor.load(); }
