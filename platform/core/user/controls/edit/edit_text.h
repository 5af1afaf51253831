// The edit's text as code points and lines: UTF-16 stepping that never splits a surrogate
// pair or a "\r\n", word boundaries, and the line starts, kept across edits by wrapping
// again only from the changed line until the old line starts line up again.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace handheld::user::controls {

// The code point at `index` and how many units it takes (a lone surrogate counts alone).
char32_t codePointAt(const std::u16string& text, size_t index, size_t* units = nullptr);
// The next and previous places the caret may stand: past a whole pair and a whole "\r\n".
size_t nextPosition(const std::u16string& text, size_t index);
size_t previousPosition(const std::u16string& text, size_t index);
// `index` clamped to the text and moved back to the nearest place the caret may stand.
size_t snapPosition(const std::u16string& text, size_t index);
// The word around `index` (letters and digits, or a run of spaces, or one other character).
void wordAround(const std::u16string& text, size_t index, size_t& start, size_t& end);
// The start of the word before / after `index`, for ctrl+arrows.
size_t previousWordStart(const std::u16string& text, size_t index);
size_t nextWordStart(const std::u16string& text, size_t index);

struct EditLine {
  size_t start = 0;
  size_t length = 0;  // what the line shows: without its line break
  size_t next = 0;    // where the following line starts (npos for the last line)
  int width = 0;      // pixels
};

class EditLines {
 public:
  // The advance of a code point drawn at x (x matters for tabs).
  using Advance = std::function<int(char32_t, int)>;

  // wrapWidth 0: lines end only at line breaks; breaks false: one line whatever it holds.
  void configure(Advance advance, int wrapWidth, bool breaks);
  void rebuild(const std::u16string& text);
  // The text changed at `at`: `removed` units left and `inserted` came in their place.
  void update(const std::u16string& text, size_t at, size_t removed, size_t inserted);

  size_t count() const { return lines_.size(); }
  const EditLine& operator[](size_t i) const { return lines_[i]; }
  // The line holding a position; a position at a soft wrap belongs to the later line.
  size_t lineOf(size_t index) const;
  int widest() const;
  // Pixels from the line's start to a position in it, and the position nearest to x.
  int xOf(const std::u16string& text, size_t line, size_t index) const;
  size_t positionAt(const std::u16string& text, size_t line, int x) const;

 private:
  EditLine wrap(const std::u16string& text, size_t start) const;

  Advance advance_;
  int wrapWidth_ = 0;
  bool breaks_ = true;
  std::vector<EditLine> lines_{EditLine{0, 0, std::u16string::npos, 0}};
};

}  // namespace handheld::user::controls
