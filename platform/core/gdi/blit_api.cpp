// PatBlt, BitBlt, StretchBlt and TransparentImage.
#include "gdi/blit.h"
#include "gdi/color.h"
#include "gdi/device_context.h"

namespace handheld::gdi {

namespace {

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BlitSource sourceFor(const DeviceContext& destination, const Surface& pixels,
                     COLORREF sourceBackground) {
  BlitSource source;
  source.surface = &pixels;
  source.foreground = destination.textRgb();
  source.background = destination.backgroundRgb();
  source.whiteColor = pixels.format().quantize(toRgb(sourceBackground));
  return source;
}

RECT surfaceRect(const DeviceContext& dc, long long x, long long y, long long width,
                 long long height) {
  POINT from = dc.toSurface(x, y);
  POINT to = dc.toSurface(x + width, y + height);
  return {from.x, from.y, to.x, to.y};
}

BOOL stretch(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
             int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  RasterOp op = RasterOp::fromRop3(rop);
  if (!op.usesSource()) return PatBlt(destination, x, y, width, height, rop);
  LockedDcPair pair(destination, source);
  DeviceContext* target = pair.first();
  DeviceContext* origin = pair.second();
  if (!target || !origin) return fail(ERROR_INVALID_HANDLE);
  BlitRequest request;
  request.destination = surfaceRect(*target, x, y, width, height);
  request.source = surfaceRect(*origin, sourceX, sourceY, sourceWidth, sourceHeight);
  request.op = op;
  request.pattern = target->brushPaint();
  Canvas canvas = target->canvas();
  blit(canvas, sourceFor(*target, origin->surface(), origin->attributes().backgroundColor),
       request);
  return TRUE;
}

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  RasterOp op = RasterOp::fromRop3(rop);
  if (op.usesSource()) return fail(ERROR_INVALID_PARAMETER);
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (op.usesPattern() && dc->attributes().brush->null()) return TRUE;
  RECT r = normalized(surfaceRect(*dc, x, y, width, height));
  dc->canvas().fill(r, dc->brushPaint(), op);
  return TRUE;
}

HANDHELD_API BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source,
                                int sourceX, int sourceY, DWORD rop) {
  return stretch(destination, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

HANDHELD_API BOOL WINAPI StretchBlt(HDC destination, int x, int y, int width, int height,
                                    HDC source, int sourceX, int sourceY, int sourceWidth,
                                    int sourceHeight, DWORD rop) {
  return stretch(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                 sourceHeight, rop);
}

HANDHELD_API BOOL WINAPI TransparentImage(HDC destination, int x, int y, int width, int height,
                                          HANDLE source, int sourceX, int sourceY,
                                          int sourceWidth, int sourceHeight,
                                          COLORREF transparent) {
  // The source is a DC or a bitmap.
  auto bitmap = lookupGdi<BitmapObject>(source, GdiKind::Bitmap);
  HDC sourceDc = bitmap ? nullptr : static_cast<HDC>(source);
  LockedDcPair pair(destination, sourceDc);
  DeviceContext* target = pair.first();
  if (!target || (!bitmap && !pair.second())) return fail(ERROR_INVALID_HANDLE);
  const Surface& pixels = bitmap ? *bitmap->surface : pair.second()->surface();
  COLORREF sourceBackground =
      bitmap ? RGB(255, 255, 255) : pair.second()->attributes().backgroundColor;
  POINT sourceOffset = bitmap ? POINT{0, 0} : pair.second()->surfaceOffset();
  BlitRequest request;
  request.destination = surfaceRect(*target, x, y, width, height);
  request.source = {sourceX + sourceOffset.x, sourceY + sourceOffset.y,
                    sourceX + sourceOffset.x + sourceWidth, sourceY + sourceOffset.y + sourceHeight};
  request.transparentColor = pixels.format().quantize(toRgb(transparent));
  Canvas canvas = target->canvas();
  blit(canvas, sourceFor(*target, pixels, sourceBackground), request);
  return TRUE;
}
