// What the window code uses from GDI: DCs that draw into a window's surface, the damage
// they caused, and bitmaps as surfaces.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "gdi/surface.h"

namespace handheld::gdi {

// A DC drawing into surface with logical (0,0) at origin (the window's client origin inside
// its top-level surface). clip: the visible parts in surface coordinates (overlaps are fine);
// nothing outside them is touched. Release with releaseSurfaceDC, not DeleteDC.
HDC createSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, std::vector<RECT> clip);
// Points the DC at a new origin and clip (a paint's update region, a moved window).
bool setSurfaceDCClip(HDC hdc, POINT origin, std::vector<RECT> clip);
bool releaseSurfaceDC(HDC hdc);

// The bounds, in surface coordinates, of every pixel drawn since the last reset; empty when
// nothing was drawn or the handle is bad.
RECT surfaceDCDamage(HDC hdc);
void resetSurfaceDCDamage(HDC hdc);

// The pixels of a bitmap (shared, not copied); null for a bad handle.
std::shared_ptr<Surface> bitmapSurface(HBITMAP bitmap);
// A bitmap object around a surface (icons and other images built by the platform).
HBITMAP createBitmapFromSurface(std::shared_ptr<Surface> surface);

}  // namespace handheld::gdi
