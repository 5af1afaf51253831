// ExtTextOutW, text extents and metrics.
#include <algorithm>
#include <string_view>

#include "gdi/color.h"
#include "gdi/device_context.h"
#include "gdi/text_render.h"
#include "kernel/display_settings.h"

namespace handheld::gdi {

std::shared_ptr<const ResolvedFont> FontObject::resolved() {
  std::call_once(resolveOnce_,
                 [this] { resolved_ = resolveFont(log_, kernel::displaySettings().dpi); });
  return resolved_;
}

namespace {

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// A count of -1 means a NUL-terminated string, as DrawTextW and friends accept.
std::u16string_view textOf(LPCWSTR text, long long count) {
  if (!text) return {};
  if (count < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<size_t>(count));
}

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect,
                                     LPCWSTR text, UINT count, const int* advances) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!text && count > 0) return fail(ERROR_INVALID_PARAMETER);
  std::u16string_view line = textOf(text, count);
  auto font = dc->attributes().font->resolved();
  auto& attributes = dc->attributes();

  const Paint background = Paint::solid(dc->backgroundRgb());
  if (rect && (options & ETO_OPAQUE)) {
    dc->canvas().fill(normalized(dc->toSurface(*rect)), background, RasterOp::patternCopy());
  }
  if (!font || line.empty()) return TRUE;
  // ETO_CLIPPED keeps the text inside the rectangle.
  std::vector<RECT> clipStorage;
  Canvas canvas = rect && (options & ETO_CLIPPED)
                      ? dc->canvasWithin(normalized(dc->toSurface(*rect)), clipStorage)
                      : dc->canvas();

  long long width = 0;
  if (advances) {
    for (size_t i = 0; i < line.size(); ++i) width += advances[i];
  } else {
    width = textWidth(*font, line);
  }
  const FontMetrics& m = font->metrics;
  POINT reference = (attributes.textAlign & TA_UPDATECP) ? attributes.position : POINT{x, y};
  long long left = reference.x;
  switch (attributes.textAlign & TA_CENTER) {
    case TA_RIGHT: left -= width; break;
    case TA_CENTER: left -= width / 2; break;
    default: break;
  }
  long long top = reference.y;
  switch (attributes.textAlign & TA_BASELINE) {
    case TA_BOTTOM: top -= m.height; break;
    case TA_BASELINE: top -= m.ascent; break;
    default: break;
  }
  if (attributes.textAlign & TA_UPDATECP) {
    // The current position moves past the text, as the platform does for left and right.
    UINT horizontal = attributes.textAlign & TA_CENTER;
    if (horizontal == TA_LEFT) attributes.position.x = static_cast<LONG>(left + width);
    if (horizontal == TA_RIGHT) attributes.position.x = static_cast<LONG>(left);
  }
  POINT topLeft = dc->toSurface(left, top);
  if (attributes.backgroundMode == OPAQUE) {
    LONG right = static_cast<LONG>(std::min<long long>(topLeft.x + width, 1 << 29));
    canvas.fill({topLeft.x, topLeft.y, right, topLeft.y + m.height}, background,
                RasterOp::patternCopy());
  }
  drawTextLine(canvas, *font, line, {topLeft.x, topLeft.y + m.ascent}, dc->textRgb(), advances);
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent,
                                               LPINT fitCount, LPINT partialExtents,
                                               LPSIZE size) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if ((!text && count > 0) || count < 0) return fail(ERROR_INVALID_PARAMETER);
  auto font = dc->attributes().font->resolved();
  if (!font) return fail(ERROR_NOT_SUPPORTED);
  std::u16string_view line = textOf(text, count);
  // Extents are per UTF-16 unit; both units of a pair report the extent after the pair.
  int extent = 0;
  int fit = 0;
  bool fitting = true;
  for (const TextChar& c : decodeUtf16(line)) {
    extent += glyphOf(*font, c.codePoint).advance;
    if (fitting && fitCount && extent > maxExtent) fitting = false;
    if (fitting) fit += static_cast<int>(c.units);
    if (partialExtents) {
      for (size_t unit = 0; unit < c.units; ++unit) partialExtents[c.index + unit] = extent;
    }
  }
  if (fitCount) *fitCount = fit;
  if (size) *size = {extent, font->metrics.height};
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  if (!size) return fail(ERROR_INVALID_PARAMETER);
  return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

HANDHELD_API BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
  LockedDc dc(hdc);
  if (!dc) return fail(ERROR_INVALID_HANDLE);
  if (!metrics) return fail(ERROR_INVALID_PARAMETER);
  auto font = dc->attributes().font->resolved();
  if (!font) return fail(ERROR_NOT_SUPPORTED);
  const FontMetrics& m = font->metrics;
  const int dpi = handheld::kernel::displaySettings().dpi;
  TEXTMETRICW tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.averageWidth;
  tm.tmMaxCharWidth = m.maxWidth;
  tm.tmWeight = font->weight;
  tm.tmDigitizedAspectX = dpi;
  tm.tmDigitizedAspectY = dpi;
  tm.tmFirstChar = u' ';
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = u'?';
  tm.tmBreakChar = u' ';
  tm.tmItalic = font->italic;
  tm.tmUnderlined = font->underline;
  tm.tmStruckOut = font->strikeout;
  // The platform's inverted sense: the bit set means variable pitch.
  tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE |
                                          (font->monospace ? FF_MODERN : FF_SWISS | TMPF_FIXED_PITCH));
  tm.tmCharSet = DEFAULT_CHARSET;
  *metrics = tm;
  return TRUE;
}
