#include "gdi/text_render.h"

#include "gdi/color.h"

namespace handheld::gdi {

std::vector<TextChar> decodeUtf16(std::u16string_view text) {
  std::vector<TextChar> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      char32_t codePoint = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                           (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      chars.push_back({codePoint, i, 2});
      i += 2;
      continue;
    }
    bool lone = unit >= 0xD800 && unit <= 0xDFFF;
    chars.push_back({lone ? U'\uFFFD' : static_cast<char32_t>(unit), i, 1});
    ++i;
  }
  return chars;
}

const GlyphImage& glyphOf(const ResolvedFont& font, char32_t codePoint) {
  static const GlyphImage none;
  return codePoint < 0x20 ? none : font.face->glyph(codePoint);
}

int textWidth(const ResolvedFont& font, std::u16string_view text) {
  int width = 0;
  for (const TextChar& c : decodeUtf16(text)) width += glyphOf(font, c.codePoint).advance;
  return width;
}

namespace {

// Without anti-aliasing a pixel is the glyph's when at least half of it is covered.
constexpr uint8_t kSolidCoverage = 128;

void blendGlyph(Canvas& canvas, const GlyphImage& glyph, int x, int y, uint32_t color, bool antialiased) {
  const RECT box{x, y, x + glyph.width, y + glyph.height};
  Surface& surface = canvas.surface();
  canvas.forEachPiece(box, [&](const RECT& piece) {
    bool touched = false;
    for (int row = piece.top; row < piece.bottom; ++row) {
      const uint8_t* coverage =
          glyph.coverage.data() + static_cast<size_t>(row - y) * static_cast<size_t>(glyph.width);
      for (int column = piece.left; column < piece.right; ++column) {
        uint8_t alpha = coverage[column - x];
        if (!antialiased) alpha = alpha >= kSolidCoverage ? 255 : 0;
        if (alpha == 0) continue;
        uint32_t mixed = alpha == 255 ? color : blendRgb(surface.pixel(column, row), color, alpha);
        surface.setPixel(column, row, mixed);
        touched = true;
      }
    }
    if (touched) canvas.addDamage(piece);
  });
}

void drawBar(Canvas& canvas, int x0, int x1, int top, int thickness, uint32_t color) {
  canvas.fill({x0, top, x1, top + thickness}, Paint::solid(color), RasterOp::patternCopy());
}

}  // namespace

void drawTextLine(Canvas& canvas, const ResolvedFont& font, std::u16string_view text, POINT origin,
                  uint32_t color, const int* advances) {
  long long penX = origin.x;
  for (const TextChar& c : decodeUtf16(text)) {
    const GlyphImage& glyph = glyphOf(font, c.codePoint);
    if (glyph.width > 0 && penX > -(1 << 29) && penX < (1 << 29)) {
      blendGlyph(canvas, glyph, static_cast<int>(penX) + glyph.left, origin.y - glyph.top, color, font.antialiased);
    }
    if (advances) {
      penX += advances[c.index] + (c.units == 2 ? advances[c.index + 1] : 0);
    } else {
      penX += glyph.advance;
    }
  }
  const int end = static_cast<int>(std::clamp<long long>(penX, -(1 << 29), 1 << 29));
  const FontMetrics& m = font.metrics;
  if (font.underline) drawUnderline(canvas, font, origin.x, end, origin.y, color);
  if (font.strikeout) {
    drawBar(canvas, origin.x, end, origin.y - m.strikeoutPosition, m.strikeoutThickness, color);
  }
}

void drawUnderline(Canvas& canvas, const ResolvedFont& font, int x0, int x1, int baseline,
                   uint32_t color) {
  const FontMetrics& m = font.metrics;
  drawBar(canvas, x0, x1, baseline + m.underlinePosition, m.underlineThickness, color);
}

}  // namespace handheld::gdi
