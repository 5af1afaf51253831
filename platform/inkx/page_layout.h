// Where things sit on the page, in pixels at 100 %: the page size, the text origin and line
// height the page style implies, and typed text wrapped into lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ink_document.h"

namespace handheld::inkx {

inline constexpr int kMinPageHeight = 320;
inline constexpr int kMarginAt = 24;         // the margin line of margin pages
inline constexpr int kGridStep = 16;
inline constexpr int kIconSize = 20;         // a recording's icon

// Text heights outside this range (from a pen or a stream) are brought into it.
int clampTextHeight(uint32_t height);

struct TextFrame {
  double left = 6, top = 6, right = kPageWidth - 6;
  double lineHeight = 20;
};
TextFrame textFrame(uint32_t pageFlags, uint32_t textHeight);

struct TextLine {
  size_t start = 0, end = 0;  // [start, end) of the text; a line break ends before it
  double y = 0;               // top of the line
};

// Text measured once per layout with the page's font, without hinting, so that widths scale
// with the zoom exactly.
class TextLayout {
 public:
  TextLayout(const InkText& text, const TextFrame& frame);
  const std::vector<TextLine>& lines() const { return lines_; }
  const TextFrame& frame() const { return frame_; }
  // Left edge of the character at `index` (or the end) on its line, and that line's number.
  double xOf(size_t index, size_t* lineOut = nullptr) const;
  size_t lineOf(size_t index) const;
  size_t indexAt(double x, double y) const;
  double bottom() const { return lines_.empty() ? frame_.top : lines_.back().y + frame_.lineHeight; }

 private:
  const InkText& text_;
  TextFrame frame_;
  std::vector<double> advances_;
  std::vector<TextLine> lines_;
};

// The page's height: at least kMinPageHeight, and one half page beyond the lowest content.
int pageHeight(const InkDocument& document, double textBottom);

// The UTF-8 form cairo draws.
std::string toUtf8(std::u16string_view text);

}  // namespace handheld::inkx
