// Measuring and drawing one line of UTF-16 text with a resolved font.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/font_engine.h"

namespace handheld::gdi {

// One character: a code point and the UTF-16 units it came from. A surrogate pair is one
// character; an unpaired surrogate reads as U+FFFD.
struct TextChar {
  char32_t codePoint;
  size_t index;  // first unit
  size_t units;  // 1 or 2
};
std::vector<TextChar> decodeUtf16(std::u16string_view text);

// The glyph drawn for a code point; control characters (below U+0020) have no glyph and no
// advance.
const GlyphImage& glyphOf(const ResolvedFont& font, char32_t codePoint);

int textWidth(const ResolvedFont& font, std::u16string_view text);

// Draws text with its baseline starting at origin (surface coordinates), in color, with the
// font's underline and strike-out. advances, when given, replace the font's advance of each
// UTF-16 unit (a pair advances by the sum of its two entries).
void drawTextLine(Canvas& canvas, const ResolvedFont& font, std::u16string_view text, POINT origin,
                  uint32_t color, const int* advances = nullptr);

// Draws a decoration line (an underline) from x0 to x1 on the line whose baseline is at y.
void drawUnderline(Canvas& canvas, const ResolvedFont& font, int x0, int x1, int baseline,
                   uint32_t color);

}  // namespace handheld::gdi
