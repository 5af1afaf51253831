#include "page_layout.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "ink_font.h"

namespace handheld::inkx {
namespace {

bool isBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// A context to measure with, one per thread (each control lives on one).
struct Measurer {
  Measurer() : surface(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)), cr(cairo_create(surface)) {}
  ~Measurer() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  Measurer(const Measurer&) = delete;
  Measurer& operator=(const Measurer&) = delete;
  cairo_surface_t* surface;
  cairo_t* cr;
};

// Advances of single characters at one size.
double advanceOf(char16_t c, int height) {
  thread_local std::unordered_map<uint32_t, double> cache;
  thread_local Measurer measurer;
  cairo_t* cr = measurer.cr;
  const uint32_t key = (static_cast<uint32_t>(height) << 16) | c;
  if (auto found = cache.find(key); found != cache.end()) return found->second;
  if (c == u'\t') return advanceOf(u' ', height) * 4;
  useTextFont(cr, height);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, toUtf8(std::u16string_view(&c, 1)).c_str(), &extents);
  if (cache.size() > 4096) cache.clear();
  return cache[key] = extents.x_advance;
}

}  // namespace

int clampTextHeight(uint32_t height) { return static_cast<int>(std::clamp<uint32_t>(height, 6, 96)); }

TextFrame textFrame(uint32_t pageFlags, uint32_t textHeight) {
  TextFrame frame;
  const bool left = pageFlags == 0 || (pageFlags & 8), top = (pageFlags & 1) || (pageFlags & 8);
  if (left) frame.left = kMarginAt + 6;
  if (top) frame.top = kMarginAt + 6;
  frame.lineHeight = std::ceil(clampTextHeight(textHeight) * 1.25);
  return frame;
}

TextLayout::TextLayout(const InkText& text, const TextFrame& frame) : text_(text), frame_(frame) {
  const int height = clampTextHeight(text.height);
  const auto& chars = text.chars;
  advances_.resize(chars.size());
  for (size_t i = 0; i < chars.size(); ++i) advances_[i] = isBreak(chars[i]) ? 0 : advanceOf(chars[i], height);
  const double width = frame.right - frame.left;
  size_t start = 0;
  double y = frame.top;
  while (true) {
    size_t i = start, lastSpace = SIZE_MAX;
    double x = 0;
    size_t end = chars.size(), next = chars.size();
    bool broken = false;
    for (; i < chars.size(); ++i) {
      if (isBreak(chars[i])) {
        broken = true;
        end = i;
        next = i + 1 + (chars[i] == u'\r' && i + 1 < chars.size() && chars[i + 1] == u'\n');
        break;
      }
      if (chars[i] == u' ') lastSpace = i;
      // Spaces hang past the edge; a word that does not fit goes to the next line whole, or
      // breaks where it must when it is longer than a line.
      if (chars[i] != u' ' && x + advances_[i] > width && i > start) {
        end = next = lastSpace != SIZE_MAX ? lastSpace + 1 : i;
        break;
      }
      x += advances_[i];
    }
    lines_.push_back({start, end, y});
    // A line break at the very end still opens an empty last line.
    if (next >= chars.size() && !broken) break;
    start = next;
    y += frame.lineHeight;
  }
}

size_t TextLayout::lineOf(size_t index) const {
  for (size_t l = lines_.size(); l-- > 0;)
    if (lines_[l].start <= index) return l;
  return 0;
}

double TextLayout::xOf(size_t index, size_t* lineOut) const {
  const size_t l = lineOf(index);
  if (lineOut) *lineOut = l;
  double x = frame_.left;
  for (size_t i = lines_[l].start; i < std::min(index, lines_[l].end); ++i) x += advances_[i];
  return x;
}

size_t TextLayout::indexAt(double x, double y) const {
  const auto row = static_cast<long>(std::floor((y - frame_.top) / frame_.lineHeight));
  const auto& line = lines_[static_cast<size_t>(std::clamp<long>(row, 0, static_cast<long>(lines_.size()) - 1))];
  double at = frame_.left;
  for (size_t i = line.start; i < line.end; ++i) {
    if (x < at + advances_[i] / 2) return i;
    at += advances_[i];
  }
  return line.end;
}

int pageHeight(const InkDocument& document, double textBottom) {
  double bottom = textBottom;
  for (const auto& stroke : document.strokes)
    for (const auto& p : stroke.points) bottom = std::max(bottom, static_cast<double>(p.y) / kSubUnits);
  for (const auto& r : document.recordings)
    bottom = std::max(bottom, static_cast<double>(r.at.y) / kSubUnits + kIconSize);
  const double half = kMinPageHeight / 2.0;
  const double wanted = std::ceil((bottom + half) / half) * half;
  return static_cast<int>(std::clamp(wanted, static_cast<double>(kMinPageHeight), 1.0e5));
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;  // a lone half of a pair
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace handheld::inkx
