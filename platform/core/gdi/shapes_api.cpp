// Pen and brush drawing: lines, rectangles, ellipses, polygons, pixels, focus rectangles.
#include <algorithm>
#include <vector>

#include "gdi/color.h"
#include "gdi/device_context.h"
#include "gdi/shape_raster.h"
#include "gdi/system_colors.h"

namespace handheld::gdi {

namespace {

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

PenStroke penStroke(const DeviceContext& dc) {
  const PenObject& pen = *dc.attributes().pen;
  return {dc.penPaint(), RasterOp::fromRop2(dc.attributes().rop2), pen.width(),
          pen.log.lopnStyle == PS_DASH};
}

void strokePath(DeviceContext& dc, std::span<const POINT> logical, bool closed) {
  if (dc.attributes().pen->null() || logical.size() < 2) return;
  PenStroke pen = penStroke(dc);
  Canvas canvas = dc.canvas();
  size_t segments = closed ? logical.size() : logical.size() - 1;
  for (size_t i = 0; i < segments; ++i) {
    const POINT& a = logical[i];
    const POINT& b = logical[(i + 1) % logical.size()];
    strokeLine(canvas, dc.toSurface(a.x, a.y), dc.toSurface(b.x, b.y), pen);
  }
}

BOOL drawShape(HDC hdc, RECT logical, SIZE corner, bool ellipse) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  const auto& attributes = dc->attributes();
  RECT box = normalized(dc->toSurface(logical));
  if (ellipse) corner = {box.right - box.left, box.bottom - box.top};
  Paint fill = dc->brushPaint();
  PenStroke pen = penStroke(*dc);
  const bool hasPen = !attributes.pen->null();
  Canvas canvas = dc->canvas();
  ShapeStyle style;
  style.fill = attributes.brush->null() ? nullptr : &fill;
  style.fillOp = RasterOp::fromRop2(attributes.rop2);
  const bool rectangle = corner.cx == 0 || corner.cy == 0;
  if (rectangle && !hasPen) {
    // The platform's rule: without a pen the rectangle is one pixel narrower and shorter.
    box.right -= 1;
    box.bottom -= 1;
  }
  if (hasPen && !(rectangle && pen.dashed)) style.pen = &pen;
  if (hasPen && rectangle && pen.dashed) {
    // Dashed frames are walked as four lines; the brush fills inside them.
    drawRoundShape(canvas, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, {0, 0},
                   style);
    const POINT corners[] = {{box.left, box.top}, {box.right - 1, box.top},
                             {box.right - 1, box.bottom - 1}, {box.left, box.bottom - 1}};
    for (size_t i = 0; i < 4; ++i) strokeLine(canvas, corners[i], corners[(i + 1) % 4], pen);
    return TRUE;
  }
  drawRoundShape(canvas, box, corner, style);
  return TRUE;
}

BOOL invertFrameDots(DeviceContext& dc, const RECT& logical) {
  RECT r = normalized(dc.toSurface(logical));
  if (isEmpty(r)) return TRUE;
  Canvas canvas = dc.canvas();
  const RasterOp invert = RasterOp::fromRop3(DSTINVERT);
  const Paint none;
  auto dot = [&](int x, int y) {
    if (((x - r.left) + (y - r.top)) % 2 == 0) canvas.plot(x, y, none, invert);
  };
  // Each frame pixel once, so the operation undoes itself.
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
  return TRUE;
}

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto object = brushFromHandle(brush);
  LockedDc dc(hdc);
  if (!dc || !object) return fail(ERROR_INVALID_HANDLE);
  if (!rect) return fail(ERROR_INVALID_PARAMETER);
  if (object->null()) return TRUE;
  dc->canvas().fill(dc->toSurface(*rect), dc->paintFor(*object), RasterOp::patternCopy());
  return TRUE;
}

HANDHELD_API int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto object = brushFromHandle(brush);
  LockedDc dc(hdc);
  if (!dc || !object) return fail(ERROR_INVALID_HANDLE);
  if (!rect) return fail(ERROR_INVALID_PARAMETER);
  const RECT& r = *rect;
  if (r.right <= r.left || r.bottom <= r.top || object->null()) return TRUE;
  Canvas canvas = dc->canvas();
  const Paint paint = dc->paintFor(*object);
  const RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                        {r.left, r.bottom - 1, r.right, r.bottom},
                        {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                        {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
  for (const RECT& side : sides) {
    canvas.fill(dc->toSurface(side), paint, RasterOp::patternCopy());
  }
  return TRUE;
}

HANDHELD_API BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return drawShape(hdc, {left, top, right, bottom}, {0, 0}, false);
}

HANDHELD_API BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom,
                                   int ellipseWidth, int ellipseHeight) {
  return drawShape(hdc, {left, top, right, bottom}, {std::max(ellipseWidth, 0),
                   std::max(ellipseHeight, 0)}, false);
}

HANDHELD_API BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return drawShape(hdc, {left, top, right, bottom}, {}, true);
}

HANDHELD_API BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!points || count < 2) return fail(ERROR_INVALID_PARAMETER);
  std::span<const POINT> logical(points, static_cast<size_t>(count));
  if (!dc->attributes().brush->null()) {
    std::vector<POINT> device;
    device.reserve(logical.size());
    for (const POINT& p : logical) device.push_back(dc->toSurface(p.x, p.y));
    Canvas canvas = dc->canvas();
    fillPolygon(canvas, device, dc->brushPaint(), RasterOp::fromRop2(dc->attributes().rop2));
  }
  strokePath(*dc, logical, true);
  return TRUE;
}

HANDHELD_API BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!points || count < 2) return fail(ERROR_INVALID_PARAMETER);
  strokePath(*dc, {points, static_cast<size_t>(count)}, false);
  return TRUE;
}

HANDHELD_API BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (previous) *previous = dc->attributes().position;
  dc->attributes().position = {x, y};
  return TRUE;
}

HANDHELD_API BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  const POINT path[] = {dc->attributes().position, {x, y}};
  strokePath(*dc, path, false);
  dc->attributes().position = {x, y};
  return TRUE;
}

HANDHELD_API COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  POINT p = dc->toSurface(x, y);
  Canvas canvas = dc->canvas();
  if (!canvas.visible(p.x, p.y)) return CLR_INVALID;
  canvas.plot(p.x, p.y, Paint::solid(toRgb(color)), RasterOp::patternCopy());
  return toColorref(dc->surface().pixel(p.x, p.y));
}

HANDHELD_API COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  LockedDc dc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  POINT p = dc->toSurface(x, y);
  if (!dc->canvas().visible(p.x, p.y)) return CLR_INVALID;
  return toColorref(dc->surface().pixel(p.x, p.y));
}

HANDHELD_API BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rect) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!rect) return fail(ERROR_INVALID_PARAMETER);
  return invertFrameDots(*dc, *rect);
}

HANDHELD_API BOOL WINAPI InvertRect(HDC hdc, const RECT* rect) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!rect) return fail(ERROR_INVALID_PARAMETER);
  dc->canvas().fill(dc->toSurface(*rect), Paint{}, RasterOp::fromRop3(DSTINVERT));
  return TRUE;
}

HANDHELD_API BOOL WINAPI DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!rect) return fail(ERROR_INVALID_PARAMETER);
  RECT r = *rect;
  Canvas canvas = dc->canvas();
  auto side = [&](const RECT& logical, int colorIndex) {
    canvas.fill(dc->toSurface(logical), Paint::solid(toRgb(sysColor(colorIndex))),
                RasterOp::patternCopy());
  };
  // One ring of the edge: top-left colour, then bottom-right colour; the rectangle shrinks
  // by one on every side drawn.
  auto ring = [&](int topLeft, int bottomRight) {
    if (flags & BF_TOP) side({r.left, r.top, r.right, r.top + 1}, topLeft);
    if (flags & BF_LEFT) side({r.left, r.top, r.left + 1, r.bottom}, topLeft);
    if (flags & BF_BOTTOM) side({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    if (flags & BF_RIGHT) side({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_BOTTOM) --r.bottom;
    if (flags & BF_RIGHT) --r.right;
  };
  if (edge & BDR_OUTER) {
    if (flags & BF_MONO) ring(COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    else if (flags & BF_FLAT) ring(COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    else if (edge & BDR_RAISEDOUTER) ring(COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    else ring(COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  }
  if (edge & BDR_INNER) {
    if (flags & BF_MONO) ring(COLOR_WINDOW, COLOR_WINDOW);
    else if (flags & BF_FLAT) ring(COLOR_BTNFACE, COLOR_BTNFACE);
    else if (edge & BDR_RAISEDINNER) ring(COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else ring(COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  }
  if (flags & BF_MIDDLE) side(r, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}
