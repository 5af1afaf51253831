// DrawTextW: lines, word wrapping, alignment, '&' prefixes, ellipsis, and measuring.
#include <algorithm>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "gdi/text_render.h"

namespace handheld::gdi {

namespace {

constexpr int kTabColumns = 8;  // DT_EXPANDTABS: stops every eight average characters

// One laid-out line: its text, the advance of every UTF-16 unit, and the units to underline.
struct TextLine {
  std::u16string text;
  std::vector<int> advances;
  std::vector<size_t> underlined;
  int width = 0;
};

class Layout {
 public:
  Layout(const ResolvedFont& font, UINT format) : font_(font), format_(format) {}

  // Measures a line; tabs stop at multiples of eight average widths when expanded.
  void measure(TextLine& line) const {
    line.advances.assign(line.text.size(), 0);
    int x = 0;
    const int tabStop = std::max(font_.metrics.averageWidth * kTabColumns, 1);
    for (const TextChar& c : decodeUtf16(line.text)) {
      int advance = glyphOf(font_, c.codePoint).advance;
      if (c.codePoint == U'\t' && (format_ & DT_EXPANDTABS)) advance = (x / tabStop + 1) * tabStop - x;
      line.advances[c.index] = advance;
      x += advance;
    }
    line.width = x;
  }

  // Splits text into lines at CR, LF, CR LF and LF CR (single-line: they show as spaces),
  // removes '&' prefixes
  // (unless DT_NOPREFIX) and wraps at spaces within width (DT_WORDBREAK).
  std::vector<TextLine> lines(std::u16string_view text, int width) const {
    std::vector<TextLine> result;
    TextLine current;
    bool prefix = false;
    for (size_t i = 0; i < text.size(); ++i) {
      char16_t unit = text[i];
      if (unit == u'\r' || unit == u'\n') {
        if (format_ & DT_SINGLELINE) {
          unit = u' ';  // a single line shows breaks as spaces
        } else {
          // CR LF and LF CR are one break; CR CR and LF LF are two.
          char16_t pair = unit == u'\r' ? u'\n' : u'\r';
          if (i + 1 < text.size() && text[i + 1] == pair) ++i;
          result.push_back(std::move(current));
          current = {};
          prefix = false;
          continue;
        }
      }
      if (!(format_ & DT_NOPREFIX) && unit == u'&' && !prefix) {
        prefix = true;
        continue;
      }
      if (prefix && unit != u'&' && !(format_ & DT_HIDEPREFIX)) {
        current.underlined.push_back(current.text.size());
      }
      prefix = false;
      current.text.push_back(unit);
    }
    result.push_back(std::move(current));

    std::vector<TextLine> wrapped;
    for (TextLine& line : result) {
      measure(line);
      if ((format_ & DT_WORDBREAK) && !(format_ & DT_SINGLELINE)) {
        wrap(std::move(line), width, wrapped);
      } else {
        wrapped.push_back(std::move(line));
      }
    }
    return wrapped;
  }

  // Cuts the line and appends "..." so that it fits width.
  void endEllipsis(TextLine& line, int width) const {
    if (line.width <= width) return;
    const std::u16string dots = u"...";
    std::vector<TextChar> chars = decodeUtf16(line.text);
    size_t keep = chars.size();
    TextLine candidate;
    while (true) {
      size_t units = keep == chars.size() ? line.text.size() : chars[keep].index;
      candidate.text = line.text.substr(0, units) + dots;
      measure(candidate);
      if (candidate.width <= width || keep == 0) break;
      --keep;
    }
    size_t cut = candidate.text.size() - dots.size();
    std::erase_if(line.underlined, [cut](size_t index) { return index >= cut; });
    candidate.underlined = std::move(line.underlined);
    line = std::move(candidate);
  }

 private:
  void wrap(TextLine line, int width, std::vector<TextLine>& out) const {
    size_t start = 0;
    while (true) {
      // Take whole words while they fit; a single word wider than the line stays whole.
      int x = 0;
      size_t end = start;
      size_t lastBreak = std::string::npos;
      while (end < line.text.size()) {
        if (line.text[end] == u' ') lastBreak = end;
        if (x + line.advances[end] > width && end > start && line.text[end] != u' ') {
          break;
        }
        x += line.advances[end];
        ++end;
      }
      const bool wordBeforeBreak =
          lastBreak != std::string::npos &&
          std::any_of(line.text.begin() + static_cast<ptrdiff_t>(start),
                      line.text.begin() + static_cast<ptrdiff_t>(lastBreak),
                      [](char16_t unit) { return unit != u' '; });
      if (end < line.text.size() && wordBeforeBreak) {
        end = lastBreak;
      } else if (end < line.text.size()) {
        // The first word is wider than the line: keep it whole up to the next space.
        while (end < line.text.size() && line.text[end] != u' ') ++end;
      }
      size_t last = end;
      while (last > start && line.text[last - 1] == u' ') --last;  // spaces at a break go
      out.push_back(slice(line, start, last));
      size_t next = end;
      while (next < line.text.size() && line.text[next] == u' ') ++next;
      if (next >= line.text.size()) return;
      start = next;
    }
  }

  TextLine slice(const TextLine& line, size_t from, size_t to) const {
    TextLine part;
    part.text = line.text.substr(from, to - from);
    for (size_t index : line.underlined) {
      if (index >= from && index < to) part.underlined.push_back(index - from);
    }
    measure(part);
    return part;
  }

  const ResolvedFont& font_;
  UINT format_;
};

}  // namespace

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  LockedDc dc(hdc);
  if (!dc || !rect || (!text && count != 0)) {
    SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  auto font = dc->attributes().font->resolved();
  if (!font) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  std::u16string_view source =
      !text ? std::u16string_view{} : count < 0 ? std::u16string_view(text) : std::u16string_view(text, static_cast<size_t>(count));
  const FontMetrics& m = font->metrics;
  const int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const int boxWidth = rect->right - rect->left;

  Layout layout(*font, format);
  std::vector<TextLine> lines = layout.lines(source, boxWidth);
  if (format & DT_END_ELLIPSIS) {
    for (TextLine& line : lines) layout.endEllipsis(line, boxWidth);
  }
  if (source.empty()) lines.clear();
  int widest = 0;
  for (const TextLine& line : lines) widest = std::max(widest, line.width);
  const int totalHeight = static_cast<int>(lines.size()) * lineHeight;

  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + totalHeight;
    return totalHeight;
  }

  long long top = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_BOTTOM) top = rect->bottom - totalHeight;
    else if (format & DT_VCENTER) top = rect->top + (rect->bottom - rect->top - totalHeight) / 2;
  }
  std::vector<RECT> clipStorage;
  Canvas canvas = (format & DT_NOCLIP)
                      ? dc->canvas()
                      : dc->canvasWithin(normalized(dc->toSurface(*rect)), clipStorage);
  const uint32_t color = dc->textRgb();
  const Paint background = Paint::solid(dc->backgroundRgb());
  long long y = top;
  for (const TextLine& line : lines) {
    long long x = rect->left;
    if (format & DT_RIGHT) x = rect->right - line.width;
    else if (format & DT_CENTER) x = rect->left + (boxWidth - line.width) / 2;
    POINT origin = dc->toSurface(x, y);
    if (dc->attributes().backgroundMode == OPAQUE) {
      canvas.fill({origin.x, origin.y, origin.x + line.width, origin.y + m.height}, background,
                  RasterOp::patternCopy());
    }
    const int baseline = origin.y + m.ascent;
    drawTextLine(canvas, *font, line.text, {origin.x, baseline}, color, line.advances.data());
    for (size_t index : line.underlined) {
      int start = origin.x;
      for (size_t i = 0; i < index; ++i) start += line.advances[i];
      drawUnderline(canvas, *font, start, start + line.advances[index], baseline, color);
    }
    y += lineHeight;
  }
  return static_cast<int>(top - rect->top) + totalHeight;
}
