#include "gdi/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "strings/case_fold.h"

namespace handheld::gdi {

namespace {

constexpr int kMaxPixelsPerEm = 512;  // bounds glyph bitmaps and the cache
constexpr int kDefaultPixelsAt96Dpi = 12;

// Guards the FreeType library and every call that creates, uses or frees a face, and the
// tables below.
std::mutex& engineMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

FT_Library library() {  // caller holds engineMutex()
  static FT_Library instance = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) {
      std::fprintf(stderr, "handheld: FreeType failed to start; text will not be drawn\n");
      return static_cast<FT_Library>(nullptr);
    }
    return created;
  }();
  return instance;
}

enum class Family { Sans, Condensed, Mono };

const char* familyName(Family family) {
  switch (family) {
    case Family::Mono: return "DejaVu Sans Mono";
    case Family::Condensed: return "DejaVu Sans Condensed";
    default: return "DejaVu Sans";
  }
}

struct FaceRequest {
  Family family;
  bool bold;
  bool italic;
  auto operator<=>(const FaceRequest&) const = default;
};

int scale(int units, int pixelsPerEm, int unitsPerEm, bool roundUp) {
  long long scaled = static_cast<long long>(units) * pixelsPerEm;
  if (roundUp) return static_cast<int>((scaled + unitsPerEm - 1) / unitsPerEm);
  return static_cast<int>((scaled + unitsPerEm / 2) / unitsPerEm);
}

}  // namespace

class FaceFile {
 public:
  FaceFile(std::vector<uint8_t> data, int index, FaceUnits units)
      : data_(std::move(data)), index_(index), units_(units) {}
  const std::vector<uint8_t>& data() const { return data_; }
  int index() const { return index_; }
  const FaceUnits& units() const { return units_; }

 private:
  std::vector<uint8_t> data_;
  int index_;
  FaceUnits units_;
};

namespace {

// Caller holds engineMutex().
FaceUnits readUnits(FT_Face face) {
  FaceUnits units;
  units.unitsPerEm = std::max<int>(face->units_per_EM, 1);
  units.ascent = face->ascender;
  units.descent = -face->descender;
  units.lineGap = std::max(face->height - face->ascender + face->descender, 0);
  units.maxAdvance = face->max_advance_width;
  units.underlinePosition = -face->underline_position;
  units.underlineThickness = face->underline_thickness;
  units.strikeoutPosition = units.unitsPerEm / 4;
  units.strikeoutThickness = face->underline_thickness;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    // The cell the platform measures is the Windows ascent and descent.
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      units.ascent = os2->usWinAscent;
      units.descent = os2->usWinDescent;
    }
    units.strikeoutPosition = os2->yStrikeoutPosition;
    units.strikeoutThickness = os2->yStrikeoutSize;
  }
  return units;
}

// The file fontconfig picks for a request. Caller holds engineMutex().
std::pair<std::string, int> locateFace(const FaceRequest& request) {
  static FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  FcPattern* pattern = FcPatternCreate();
  const char* family = familyName(request.family);
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_OBLIQUE : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  std::pair<std::string, int> found;
  if (match) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      found = {reinterpret_cast<const char*>(file), index};
    }
    FcPatternDestroy(match);
  }
  return found;
}

// Each face file is read once. Caller holds engineMutex().
std::shared_ptr<FaceFile> loadFace(const FaceRequest& request) {
  static std::map<FaceRequest, std::shared_ptr<FaceFile>> byRequest;
  static std::map<std::pair<std::string, int>, std::shared_ptr<FaceFile>> byPath;
  if (auto it = byRequest.find(request); it != byRequest.end()) return it->second;
  std::shared_ptr<FaceFile> file;
  auto location = locateFace(request);
  if (auto it = byPath.find(location); it != byPath.end()) {
    file = it->second;
  } else if (!location.first.empty() && library()) {
    std::ifstream in(location.first, std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FT_Face face = nullptr;
    if (!data.empty() && FT_New_Memory_Face(library(), data.data(), static_cast<FT_Long>(data.size()),
                                            location.second, &face) == 0) {
      FaceUnits units = readUnits(face);
      FT_Done_Face(face);
      file = std::make_shared<FaceFile>(std::move(data), location.second, units);
      byPath[location] = file;
    }
  }
  if (!file) {
    std::fprintf(stderr, "handheld: no usable font file for %s\n",
                 familyName(request.family));
  }
  byRequest[request] = file;
  return file;
}

std::shared_ptr<SizedFace> sizedFace(const std::shared_ptr<FaceFile>& file, int pixelsPerEm) {
  static std::map<std::pair<const FaceFile*, int>, std::shared_ptr<SizedFace>> faces;
  std::lock_guard guard(engineMutex());
  auto& slot = faces[{file.get(), pixelsPerEm}];
  if (!slot) slot = std::make_shared<SizedFace>(file, pixelsPerEm);
  return slot;
}

Family familyFor(const LOGFONTW& log) {
  std::u16string_view face(log.lfFaceName);
  face = face.substr(0, std::min<size_t>(face.find(u'\0'), LF_FACESIZE));
  for (std::u16string_view mono : {u"Courier New", u"DejaVu Sans Mono"}) {
    if (strings::equalNoCase(face, mono)) return Family::Mono;
  }
  // The device's narrow dialog face: its templates are laid out for its width.
  if (strings::equalNoCase(face, u"MS Sans Serif")) return Family::Condensed;
  return Family::Sans;
}

}  // namespace

SizedFace::SizedFace(std::shared_ptr<FaceFile> file, int pixelsPerEm)
    : file_(std::move(file)), pixelsPerEm_(pixelsPerEm) {
  // Caller holds engineMutex().
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(library(), file_->data().data(),
                         static_cast<FT_Long>(file_->data().size()), file_->index(), &face) != 0) {
    return;
  }
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelsPerEm)) != 0) {
    FT_Done_Face(face);
    return;
  }
  face_ = face;
}

SizedFace::~SizedFace() {
  if (!face_) return;
  std::lock_guard guard(engineMutex());
  FT_Done_Face(static_cast<FT_Face>(face_));
}

const FaceUnits& SizedFace::units() const { return file_->units(); }

const GlyphImage& SizedFace::glyph(char32_t codePoint) {
  std::lock_guard guard(mutex_);
  auto found = glyphIndices_.find(codePoint);
  unsigned index = 0;
  if (found != glyphIndices_.end()) {
    index = found->second;
  } else {
    if (face_) {
      std::lock_guard engine(engineMutex());
      index = FT_Get_Char_Index(static_cast<FT_Face>(face_), codePoint);
    }
    glyphIndices_.emplace(codePoint, index);
  }
  return render(index);
}

const GlyphImage& SizedFace::render(unsigned glyphIndex) {  // caller holds mutex_
  auto& slot = glyphs_[glyphIndex];
  if (slot) return *slot;
  slot = std::make_unique<GlyphImage>();
  if (!face_) return *slot;
  std::lock_guard engine(engineMutex());
  FT_Face face = static_cast<FT_Face>(face_);
  if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_TARGET_LIGHT) != 0) return *slot;
  FT_GlyphSlot loaded = face->glyph;
  slot->advance = static_cast<int>((loaded->advance.x + 32) >> 6);
  if (FT_Render_Glyph(loaded, FT_RENDER_MODE_LIGHT) != 0) return *slot;
  const FT_Bitmap& bitmap = loaded->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return *slot;
  slot->left = loaded->bitmap_left;
  slot->top = loaded->bitmap_top;
  slot->width = static_cast<int>(bitmap.width);
  slot->height = static_cast<int>(bitmap.rows);
  slot->coverage.resize(static_cast<size_t>(slot->width) * static_cast<size_t>(slot->height));
  for (int row = 0; row < slot->height; ++row) {
    const unsigned char* source = bitmap.pitch >= 0
                                      ? bitmap.buffer + row * bitmap.pitch
                                      : bitmap.buffer + (slot->height - 1 - row) * -bitmap.pitch;
    std::copy(source, source + slot->width,
              slot->coverage.begin() + static_cast<ptrdiff_t>(row) * slot->width);
  }
  return *slot;
}

std::shared_ptr<const ResolvedFont> resolveFont(const LOGFONTW& log, int dpi) {
  const FaceRequest request{familyFor(log), log.lfWeight >= FW_SEMIBOLD, log.lfItalic != 0};
  std::shared_ptr<FaceFile> file;
  {
    std::lock_guard guard(engineMutex());
    file = loadFace(request);
  }
  if (!file) return nullptr;
  const FaceUnits& units = file->units();
  const int cellUnits = std::max(units.ascent + units.descent, 1);

  auto resolved = std::make_shared<ResolvedFont>();
  FontMetrics& m = resolved->metrics;
  if (log.lfHeight > 0) {
    // Cell height: the em follows from the face's proportions, the cell is exact.
    const int cell = std::min<int>(log.lfHeight, kMaxPixelsPerEm * 2);
    m.pixelsPerEm = std::clamp(scale(cell, units.unitsPerEm, cellUnits, false), 1, kMaxPixelsPerEm);
    m.ascent = scale(cell, units.ascent, cellUnits, false);
    m.descent = cell - m.ascent;
  } else {
    int em = log.lfHeight < 0 ? -std::max<LONG>(log.lfHeight, -kMaxPixelsPerEm)
                              : kDefaultPixelsAt96Dpi * dpi / 96;
    m.pixelsPerEm = std::clamp(em, 1, kMaxPixelsPerEm);
    m.ascent = scale(units.ascent, m.pixelsPerEm, units.unitsPerEm, true);
    m.descent = scale(units.descent, m.pixelsPerEm, units.unitsPerEm, true);
  }
  const int ppem = m.pixelsPerEm;
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(m.height - ppem, 0);
  m.externalLeading = scale(units.lineGap, ppem, units.unitsPerEm, false);
  m.maxWidth = scale(units.maxAdvance, ppem, units.unitsPerEm, true);
  m.underlineThickness = std::max(scale(units.underlineThickness, ppem, units.unitsPerEm, false), 1);
  m.underlinePosition = std::clamp(scale(units.underlinePosition, ppem, units.unitsPerEm, false), 1,
                                   std::max(m.descent - m.underlineThickness, 1));
  m.strikeoutThickness = std::max(scale(units.strikeoutThickness, ppem, units.unitsPerEm, false), 1);
  m.strikeoutPosition = std::max(scale(units.strikeoutPosition, ppem, units.unitsPerEm, false), 1);

  resolved->face = sizedFace(file, ppem);
  if (!resolved->face->valid()) return nullptr;
  m.averageWidth = resolved->face->glyph(U'x').advance;
  resolved->weight = log.lfWeight == FW_DONTCARE ? FW_NORMAL : log.lfWeight;
  resolved->italic = log.lfItalic != 0;
  resolved->underline = log.lfUnderline != 0;
  resolved->strikeout = log.lfStrikeOut != 0;
  resolved->monospace = request.family == Family::Mono;
  resolved->antialiased = log.lfQuality != NONANTIALIASED_QUALITY;
  return resolved;
}

}  // namespace handheld::gdi
