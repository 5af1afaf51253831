#include "user/controls/edit/edit_text.h"

#include <algorithm>

namespace handheld::user::controls {

namespace {

constexpr size_t npos = std::u16string::npos;

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Letters and digits of any script count as word characters.
bool isWordChar(char32_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
         c >= 0xC0;
}
bool isSpace(char32_t c) { return c == u' ' || c == u'\t'; }
bool isBreak(char32_t c) { return c == u'\r' || c == u'\n'; }

// 0: space, 1: word, 2: line break, 3: anything else.
int kindOf(char32_t c) { return isSpace(c) ? 0 : isWordChar(c) ? 1 : isBreak(c) ? 2 : 3; }

}  // namespace

char32_t codePointAt(const std::u16string& text, size_t index, size_t* units) {
  char16_t u = text[index];
  if (isHigh(u) && index + 1 < text.size() && isLow(text[index + 1])) {
    if (units) *units = 2;
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[index + 1] - 0xDC00);
  }
  if (units) *units = 1;
  return u;
}

size_t nextPosition(const std::u16string& text, size_t index) {
  if (index >= text.size()) return text.size();
  if (text[index] == u'\r' && index + 1 < text.size() && text[index + 1] == u'\n') return index + 2;
  size_t units = 1;
  codePointAt(text, index, &units);
  return index + units;
}

size_t previousPosition(const std::u16string& text, size_t index) {
  index = std::min(index, text.size());
  if (index == 0) return 0;
  if (index >= 2 && text[index - 1] == u'\n' && text[index - 2] == u'\r') return index - 2;
  if (index >= 2 && isLow(text[index - 1]) && isHigh(text[index - 2])) return index - 2;
  return index - 1;
}

size_t snapPosition(const std::u16string& text, size_t index) {
  index = std::min(index, text.size());
  if (index == 0 || index == text.size()) return index;
  if (isLow(text[index]) && isHigh(text[index - 1])) return index - 1;
  if (text[index] == u'\n' && text[index - 1] == u'\r') return index - 1;
  return index;
}

void wordAround(const std::u16string& text, size_t index, size_t& start, size_t& end) {
  index = snapPosition(text, index);
  if (index == text.size() || isBreak(text[index])) {
    // After the last character of a line: the word before it.
    if (index == 0 || isBreak(text[previousPosition(text, index)])) {
      start = end = index;
      return;
    }
    index = previousPosition(text, index);
  }
  const int kind = kindOf(codePointAt(text, index));
  start = index;
  end = nextPosition(text, index);
  if (kind == 3) return;
  while (start > 0) {
    size_t before = previousPosition(text, start);
    if (kindOf(codePointAt(text, before)) != kind) break;
    start = before;
  }
  while (end < text.size() && kindOf(codePointAt(text, end)) == kind) end = nextPosition(text, end);
}

size_t previousWordStart(const std::u16string& text, size_t index) {
  index = snapPosition(text, index);
  while (index > 0 && kindOf(codePointAt(text, previousPosition(text, index))) == 0)
    index = previousPosition(text, index);
  if (index == 0) return 0;
  const int kind = kindOf(codePointAt(text, previousPosition(text, index)));
  index = previousPosition(text, index);
  if (kind != 1) return index;
  while (index > 0 && kindOf(codePointAt(text, previousPosition(text, index))) == 1)
    index = previousPosition(text, index);
  return index;
}

size_t nextWordStart(const std::u16string& text, size_t index) {
  index = snapPosition(text, index);
  if (index >= text.size()) return text.size();
  const int kind = kindOf(codePointAt(text, index));
  index = nextPosition(text, index);
  if (kind == 1)
    while (index < text.size() && kindOf(codePointAt(text, index)) == 1) index = nextPosition(text, index);
  while (index < text.size() && kindOf(codePointAt(text, index)) == 0) index = nextPosition(text, index);
  return index;
}

void EditLines::configure(Advance advance, int wrapWidth, bool breaks) {
  advance_ = std::move(advance);
  wrapWidth_ = std::max(0, wrapWidth);
  breaks_ = breaks;
}

EditLine EditLines::wrap(const std::u16string& text, size_t start) const {
  EditLine line{start, 0, npos, 0};
  int x = 0;
  size_t breakAt = npos;  // after the last space: where a wrap would go
  int breakWidth = 0;
  size_t i = start;
  while (i < text.size()) {
    const char16_t u = text[i];
    if (breaks_ && (u == u'\n' || (u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))) {
      line.length = i - start;
      line.width = x;
      line.next = i + (u == u'\r' ? 2 : 1);
      return line;
    }
    size_t units = 1;
    const char32_t c = codePointAt(text, i, &units);
    const int a = advance_ ? advance_(c, x) : 0;
    // Spaces may hang past the edge; anything else that does not fit starts a new line,
    // after the last space or, in a word longer than the line, just before it.
    if (breaks_ && wrapWidth_ > 0 && i > start && c != u' ' && x + a > wrapWidth_) {
      line.length = (breakAt != npos ? breakAt : i) - start;
      line.width = breakAt != npos ? breakWidth : x;
      line.next = start + line.length;
      return line;
    }
    x += a;
    i += units;
    if (isSpace(c)) {
      breakAt = i;
      breakWidth = x;
    }
  }
  line.length = i - start;
  line.width = x;
  return line;
}

void EditLines::rebuild(const std::u16string& text) {
  lines_.clear();
  size_t start = 0;
  for (;;) {
    lines_.push_back(wrap(text, start));
    if (lines_.back().next == npos) return;
    start = lines_.back().next;
  }
}

void EditLines::update(const std::u16string& text, size_t at, size_t removed, size_t inserted) {
  if (!breaks_) {
    rebuild(text);
    return;
  }
  // The line before may take the first word of the changed line once that shrinks.
  size_t first = lineOf(at);
  if (first > 0) --first;
  std::vector<EditLine> fresh(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(first));
  const long long delta = static_cast<long long>(inserted) - static_cast<long long>(removed);
  size_t start = lines_[first].start;
  size_t old = first;
  for (;;) {
    fresh.push_back(wrap(text, start));
    if (fresh.back().next == npos) break;
    start = fresh.back().next;
    if (start < at + inserted) continue;
    // Past the change: once a line starts where an old one did, the rest is as it was.
    const size_t oldStart = static_cast<size_t>(static_cast<long long>(start) - delta);
    while (old < lines_.size() && lines_[old].start < oldStart) ++old;
    if (old < lines_.size() && lines_[old].start == oldStart) {
      for (size_t k = old; k < lines_.size(); ++k) {
        EditLine moved = lines_[k];
        moved.start = static_cast<size_t>(static_cast<long long>(moved.start) + delta);
        if (moved.next != npos) moved.next = static_cast<size_t>(static_cast<long long>(moved.next) + delta);
        fresh.push_back(moved);
      }
      break;
    }
  }
  lines_.swap(fresh);
}

size_t EditLines::lineOf(size_t index) const {
  auto after = std::upper_bound(lines_.begin(), lines_.end(), index,
                                [](size_t value, const EditLine& line) { return value < line.start; });
  return after == lines_.begin() ? 0 : static_cast<size_t>(after - lines_.begin()) - 1;
}

int EditLines::widest() const {
  int widest = 0;
  for (const EditLine& line : lines_) widest = std::max(widest, line.width);
  return widest;
}

int EditLines::xOf(const std::u16string& text, size_t line, size_t index) const {
  const EditLine& l = lines_[std::min(line, lines_.size() - 1)];
  const size_t end = std::min(index, l.start + l.length);
  int x = 0;
  for (size_t i = l.start; i < end;) {
    size_t units = 1;
    const char32_t c = codePointAt(text, i, &units);
    x += advance_ ? advance_(c, x) : 0;
    i += units;
  }
  return x;
}

size_t EditLines::positionAt(const std::u16string& text, size_t line, int x) const {
  const EditLine& l = lines_[std::min(line, lines_.size() - 1)];
  const size_t end = l.start + l.length;
  int at = 0;
  for (size_t i = l.start; i < end;) {
    size_t units = 1;
    const char32_t c = codePointAt(text, i, &units);
    const int a = advance_ ? advance_(c, at) : 0;
    if (x < at + (a + 1) / 2) return i;
    at += a;
    i += units;
  }
  // The end of a wrapped line is the next line's start: stay before its last character.
  if (end == l.next && end > l.start) return previousPosition(text, end);
  return end;
}

}  // namespace handheld::user::controls
