// Device contexts: creation, attributes, selection.
#include <utility>

#include "gdi/color.h"
#include "gdi/device_context.h"
#include "gdi/surface_dc.h"
#include "kernel/display_settings.h"

namespace handheld::gdi {

namespace {

std::shared_ptr<DeviceContext> newDc(bool memory) {
  auto dc = std::make_shared<DeviceContext>(memory);
  dc->selectPen(std::static_pointer_cast<PenObject>(stockObject(BLACK_PEN)));
  dc->selectBrush(std::static_pointer_cast<BrushObject>(stockObject(WHITE_BRUSH)));
  dc->selectFont(std::static_pointer_cast<FontObject>(stockObject(SYSTEM_FONT)));
  return dc;
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

HDC createSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, std::vector<RECT> clip) {
  if (!surface) return nullptr;
  auto dc = newDc(false);
  dc->setTarget(std::move(surface), origin, clip);
  return static_cast<HDC>(GdiTable::instance().insert(dc));
}

bool setSurfaceDCClip(HDC hdc, POINT origin, std::vector<RECT> clip) {
  LockedDc dc(hdc);
  if (!dc || dc->memory()) return false;
  dc->setTarget(dc->sharedSurface(), origin, clip);
  return true;
}

bool releaseSurfaceDC(HDC hdc) {
  auto dc = lookupDc(hdc);
  if (!dc || dc->memory()) return false;
  return GdiTable::instance().removeDc(hdc);
}

RECT surfaceDCDamage(HDC hdc) {
  LockedDc dc(hdc);
  return dc ? dc->damage() : RECT{};
}

void resetSurfaceDCDamage(HDC hdc) {
  LockedDc dc(hdc);
  if (dc) dc->resetDamage();
}

std::shared_ptr<Surface> bitmapSurface(HBITMAP bitmap) {
  auto object = lookupGdi<BitmapObject>(bitmap, GdiKind::Bitmap);
  return object ? object->surface : nullptr;
}

HBITMAP createBitmapFromSurface(std::shared_ptr<Surface> surface) {
  if (!surface) return nullptr;
  return static_cast<HBITMAP>(
      GdiTable::instance().insert(std::make_shared<BitmapObject>(std::move(surface))));
}

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !lookupDc(hdc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto dc = newDc(true);
  dc->selectBitmap(defaultBitmap());
  return static_cast<HDC>(GdiTable::instance().insert(dc));
}

HANDHELD_API BOOL WINAPI DeleteDC(HDC hdc) {
  auto dc = lookupDc(hdc);
  if (!dc || !dc->memory()) return fail(ERROR_INVALID_HANDLE);
  return GdiTable::instance().removeDc(hdc) ? TRUE : fail(ERROR_INVALID_HANDLE);
}

HANDHELD_API int WINAPI SaveDC(HDC hdc) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  return dc->save();
}

HANDHELD_API BOOL WINAPI RestoreDC(HDC hdc, int savedDc) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  return dc->restore(savedDc) ? TRUE : fail(ERROR_INVALID_PARAMETER);
}

HANDHELD_API int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (!lookupDc(hdc)) return fail(ERROR_INVALID_HANDLE);
  auto display = handheld::kernel::displaySettings();
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return display.width * 254 / (display.dpi * 10);
    case VERTSIZE: return display.height * 254 / (display.dpi * 10);
    case HORZRES: return display.width;
    case VERTRES: return display.height;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case LOGPIXELSX:
    case LOGPIXELSY: return display.dpi;
    default: return 0;
  }
}

HANDHELD_API BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (previous) *previous = dc->attributes().viewportOrigin;
  dc->attributes().viewportOrigin = {x, y};
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT origin) {
  LockedDc dc(hdc);
  if (!dc || !origin) return fail(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
  *origin = dc->attributes().viewportOrigin;
  return TRUE;
}

HANDHELD_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ handle) {
  LockedDc dc(hdc);
  auto object = GdiTable::instance().lookup(handle);
  if (!dc || !object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto& attributes = dc->attributes();
  HGDIOBJ previous = nullptr;
  bool selected = false;
  switch (object->kind()) {
    case GdiKind::Pen:
      previous = attributes.pen->handle();
      selected = dc->selectPen(std::static_pointer_cast<PenObject>(object));
      break;
    case GdiKind::Brush:
      previous = attributes.brush->handle();
      selected = dc->selectBrush(std::static_pointer_cast<BrushObject>(object));
      break;
    case GdiKind::Font:
      previous = attributes.font->handle();
      selected = dc->selectFont(std::static_pointer_cast<FontObject>(object));
      break;
    case GdiKind::Bitmap:
      if (dc->memory()) {
        previous = attributes.bitmap->handle();
        selected = dc->selectBitmap(std::static_pointer_cast<BitmapObject>(object));
      }
      break;
    case GdiKind::DC:
    case GdiKind::Icon:
      break;
  }
  if (!selected) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return previous;
}

HANDHELD_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const auto& attributes = dc->attributes();
  switch (type) {
    case OBJ_PEN: return attributes.pen->handle();
    case OBJ_BRUSH: return attributes.brush->handle();
    case OBJ_FONT: return attributes.font->handle();
    case OBJ_BITMAP: return attributes.bitmap ? attributes.bitmap->handle() : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

namespace {

// Sets one attribute and returns the old value; invalid on a bad handle.
template <class T, class Member>
T exchangeAttribute(HDC hdc, Member member, T value, T invalid) {
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return invalid;
  }
  return std::exchange(dc->attributes().*member, value);
}

template <class T, class Member>
T readAttribute(HDC hdc, Member member, T invalid) {
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return invalid;
  }
  return dc->attributes().*member;
}

}  // namespace

HANDHELD_API COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return exchangeAttribute(hdc, &DcAttributes::textColor, color & 0xFFFFFF, CLR_INVALID);
}
HANDHELD_API COLORREF WINAPI GetTextColor(HDC hdc) {
  return readAttribute(hdc, &DcAttributes::textColor, CLR_INVALID);
}
HANDHELD_API COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return exchangeAttribute(hdc, &DcAttributes::backgroundColor, color & 0xFFFFFF, CLR_INVALID);
}
HANDHELD_API COLORREF WINAPI GetBkColor(HDC hdc) {
  return readAttribute(hdc, &DcAttributes::backgroundColor, CLR_INVALID);
}
HANDHELD_API int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return fail(ERROR_INVALID_PARAMETER);
  return exchangeAttribute(hdc, &DcAttributes::backgroundMode, mode, 0);
}
HANDHELD_API int WINAPI GetBkMode(HDC hdc) {
  return readAttribute(hdc, &DcAttributes::backgroundMode, 0);
}
HANDHELD_API int WINAPI SetROP2(HDC hdc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return fail(ERROR_INVALID_PARAMETER);
  return exchangeAttribute(hdc, &DcAttributes::rop2, mode, 0);
}
HANDHELD_API int WINAPI GetROP2(HDC hdc) { return readAttribute(hdc, &DcAttributes::rop2, 0); }
HANDHELD_API UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  return exchangeAttribute(hdc, &DcAttributes::textAlign, align, GDI_ERROR);
}
HANDHELD_API UINT WINAPI GetTextAlign(HDC hdc) {
  return readAttribute(hdc, &DcAttributes::textAlign, GDI_ERROR);
}
