// Creating, inspecting and deleting pens, brushes, fonts and bitmaps.
#include <algorithm>
#include <cstring>

#include "gdi/device_context.h"
#include "gdi/dib_format.h"

namespace handheld::gdi {

namespace {

template <class Handle>
Handle insertObject(std::shared_ptr<GdiObject> object) {
  return static_cast<Handle>(GdiTable::instance().insert(std::move(object)));
}

PixelFormat monochromeFormat() { return PixelFormat::indexed(1, {0x000000, 0xFFFFFF}); }

// Device bitmaps keep the platform's row padding of two bytes.
std::shared_ptr<Surface> createDeviceSurface(int width, int height, int bitsPerPixel) {
  std::optional<PixelFormat> format;
  switch (bitsPerPixel) {
    case 1: format = monochromeFormat(); break;
    case 16: format = PixelFormat::packed(16, 0xF800, 0x07E0, 0x001F); break;
    case 24: format = PixelFormat::rgb24(); break;
    case 32: format = PixelFormat::xrgb32(); break;
    default: return nullptr;
  }
  auto surface = Surface::create(width, height, *format, 2);
  if (surface && bitsPerPixel == 1) surface->setMonochrome(true);
  return surface;
}

HBITMAP insertSurface(std::shared_ptr<Surface> surface) {
  if (!surface) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return insertObject<HBITMAP>(std::make_shared<BitmapObject>(std::move(surface)));
}

int copyOut(const void* data, size_t size, int capacity, void* buffer) {
  if (!buffer) return static_cast<int>(size);
  size_t count = std::min(size, static_cast<size_t>(std::max(capacity, 0)));
  std::memcpy(buffer, data, count);
  return static_cast<int>(count);
}

int describeBitmap(const BitmapObject& bitmap, int size, void* buffer) {
  const Surface& surface = *bitmap.surface;
  BITMAP info{};
  info.bmWidth = surface.width();
  info.bmHeight = surface.height();
  info.bmWidthBytes = static_cast<LONG>(surface.stride());
  info.bmPlanes = 1;
  info.bmBitsPixel = static_cast<WORD>(surface.format().bitsPerPixel());
  if (!bitmap.dibSection) return copyOut(&info, sizeof info, size, buffer);
  info.bmBits = const_cast<uint8_t*>(surface.bits());
  if (buffer && size < static_cast<int>(sizeof(DIBSECTION))) {
    return copyOut(&info, sizeof info, size, buffer);
  }
  DIBSECTION section{};
  section.dsBm = info;
  section.dsBmih = bitmap.dibHeader;
  if (bitmap.dibHeader.biCompression == BI_BITFIELDS) {
    section.dsBitfields[0] = surface.format().redMask();
    section.dsBitfields[1] = surface.format().greenMask();
    section.dsBitfields[2] = surface.format().blueMask();
  }
  return copyOut(&section, sizeof section, size, buffer);
}

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API HGDIOBJ WINAPI GetStockObject(int index) {
  auto object = stockObject(index);
  if (!object) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return object->handle();
}

HANDHELD_API HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  return insertObject<HBRUSH>(
      std::make_shared<BrushObject>(LOGBRUSH{BS_SOLID, color & 0xFFFFFF, 0}, nullptr));
}

HANDHELD_API HBRUSH WINAPI CreatePatternBrush(HBITMAP bitmap) {
  auto object = lookupGdi<BitmapObject>(bitmap, GdiKind::Bitmap);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // The brush keeps its own copy: later drawing into the bitmap does not change it.
  return insertObject<HBRUSH>(std::make_shared<BrushObject>(
      LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(bitmap)}, object->surface->clone()));
}

HANDHELD_API HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* log) {
  if (!log) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  switch (log->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(log->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(log->lbHatch));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HANDHELD_API HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The platform draws dashes only with thin pens.
  if (style == PS_DASH && width > 1) style = PS_SOLID;
  LOGPEN log{static_cast<UINT>(style), {std::max(width, 0), 0}, color & 0xFFFFFF};
  return insertObject<HPEN>(std::make_shared<PenObject>(log));
}

HANDHELD_API HPEN WINAPI CreatePenIndirect(const LOGPEN* log) {
  if (!log) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(log->lopnStyle), log->lopnWidth.x, log->lopnColor);
}

HANDHELD_API HFONT WINAPI CreateFontIndirectW(const LOGFONTW* log) {
  if (!log) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW copy = *log;
  copy.lfFaceName[LF_FACESIZE - 1] = 0;
  return insertObject<HFONT>(std::make_shared<FontObject>(copy));
}

HANDHELD_API HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                                         const void* bits) {
  if (planes != 1 || width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bitsPerPixel != 1 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return insertSurface(createDeviceSurface(1, 1, 1));
  auto surface = createDeviceSurface(width, height, static_cast<int>(bitsPerPixel));
  if (surface && bits) std::memcpy(surface->bits(), bits, surface->byteSize());
  return insertSurface(std::move(surface));
}

HANDHELD_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
  bool monochrome = false;
  {
    LockedDc dc(hdc);
    if (!dc) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    // As on the platform: a memory DC still holding its 1x1 default bitmap is monochrome.
    monochrome = dc->memory() && dc->surface().monochrome();
  }
  if (width <= 0 || height <= 0) return insertSurface(createDeviceSurface(1, 1, 1));
  return insertSurface(createDeviceSurface(width, height, monochrome ? 1 : 32));
}

HANDHELD_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage,
                                             void** bits, HANDLE section, DWORD offset) {
  (void)hdc;  // the layout comes from the header alone
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section || offset) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Only the bytes the header announces (masks, palette) are read.
  const size_t reach = info->bmiHeader.biSize + 12 + 256 * sizeof(RGBQUAD);
  auto dib = describeDib({reinterpret_cast<const uint8_t*>(info), reach}, Surface::kMaxDimension);
  if (!dib) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto surface = Surface::create(dib->width, dib->height, dib->format, 4, dib->bottomUp);
  if (!surface) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto object = std::make_shared<BitmapObject>(surface);
  object->dibSection = true;
  object->dibHeader = dib->header;
  if (bits) *bits = surface->bits();
  return insertObject<HBITMAP>(std::move(object));
}

HANDHELD_API BOOL WINAPI DeleteObject(HGDIOBJ handle) {
  if (!GdiTable::instance().remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

HANDHELD_API int WINAPI GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
  auto object = GdiTable::instance().lookup(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (object->kind()) {
    case GdiKind::Pen: {
      const auto& log = static_cast<const PenObject&>(*object).log;
      return copyOut(&log, sizeof log, size, buffer);
    }
    case GdiKind::Brush: {
      const auto& log = static_cast<const BrushObject&>(*object).log;
      return copyOut(&log, sizeof log, size, buffer);
    }
    case GdiKind::Font: {
      const auto& log = static_cast<const FontObject&>(*object).log();
      return copyOut(&log, sizeof log, size, buffer);
    }
    case GdiKind::Bitmap:
      return describeBitmap(static_cast<const BitmapObject&>(*object), size, buffer);
    case GdiKind::DC:
    case GdiKind::Icon:
      break;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

HANDHELD_API DWORD WINAPI GetObjectType(HGDIOBJ handle) {
  auto object = GdiTable::instance().lookup(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (object->kind()) {
    case GdiKind::Pen: return OBJ_PEN;
    case GdiKind::Brush: return OBJ_BRUSH;
    case GdiKind::Font: return OBJ_FONT;
    case GdiKind::Bitmap: return OBJ_BITMAP;
    case GdiKind::DC:
      return static_cast<const DeviceContext&>(*object).memory() ? OBJ_MEMDC : OBJ_DC;
    case GdiKind::Icon:
      break;  // icons are not GDI objects to the caller
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}
