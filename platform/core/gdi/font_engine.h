// Fonts: LOGFONTW mapped to DejaVu faces found through fontconfig, rendered by FreeType with
// grey anti-aliasing. Deterministic: light hinting (FT_LOAD_TARGET_LIGHT, no sub-pixel
// rendering), advances rounded to whole pixels, no kerning. Every face file is read once;
// rendered glyphs are cached per face, size and glyph index for the life of the process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace handheld::gdi {

struct GlyphImage {
  int left = 0;  // from the pen position to the first column
  int top = 0;   // from the baseline up to the first row
  int width = 0;
  int height = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;  // width * height, 0..255
};

// Face-wide measures in font units, read once per face file.
struct FaceUnits {
  int unitsPerEm = 2048;
  int ascent = 0;   // above the baseline
  int descent = 0;  // below the baseline, positive
  int lineGap = 0;
  int maxAdvance = 0;
  int underlinePosition = 0;  // below the baseline, positive
  int underlineThickness = 0;
  int strikeoutPosition = 0;  // above the baseline
  int strikeoutThickness = 0;
};

class FaceFile;

// One face at one pixel size with its glyph cache. Thread-safe.
class SizedFace {
 public:
  SizedFace(std::shared_ptr<FaceFile> file, int pixelsPerEm);
  ~SizedFace();
  SizedFace(const SizedFace&) = delete;
  SizedFace& operator=(const SizedFace&) = delete;

  int pixelsPerEm() const { return pixelsPerEm_; }
  const FaceUnits& units() const;
  bool valid() const { return face_ != nullptr; }
  // The glyph of a code point; the face's missing-glyph box when it has none. The reference
  // stays valid for the face's lifetime.
  const GlyphImage& glyph(char32_t codePoint);

 private:
  const GlyphImage& render(unsigned glyphIndex);

  std::shared_ptr<FaceFile> file_;
  int pixelsPerEm_;
  void* face_ = nullptr;  // FT_Face, private to this object
  std::mutex mutex_;
  std::unordered_map<char32_t, unsigned> glyphIndices_;
  std::unordered_map<unsigned, std::unique_ptr<GlyphImage>> glyphs_;
};

struct FontMetrics {
  int pixelsPerEm = 0;
  int ascent = 0;
  int descent = 0;
  int height = 0;  // ascent + descent: the cell
  int internalLeading = 0;
  int externalLeading = 0;
  int averageWidth = 0;
  int maxWidth = 0;
  int underlinePosition = 0;  // rows below the baseline
  int underlineThickness = 1;
  int strikeoutPosition = 0;  // rows above the baseline
  int strikeoutThickness = 1;
};

// A LOGFONTW made concrete: the face at its size, the cell metrics and the decorations.
struct ResolvedFont {
  std::shared_ptr<SizedFace> face;
  FontMetrics metrics;
  LONG weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool monospace = false;
  bool antialiased = true;  // false: each pixel of a glyph is drawn fully or not at all
};

// Null when no usable face file is installed. The height follows the platform: negative is
// the character (em) height in pixels, positive the cell height, zero a default of 12 pixels
// at 96 dpi scaled to dpi.
std::shared_ptr<const ResolvedFont> resolveFont(const LOGFONTW& log, int dpi);

}  // namespace handheld::gdi
