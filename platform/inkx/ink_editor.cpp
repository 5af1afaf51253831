#include "ink_editor.h"

#include <algorithm>
#include <cmath>

namespace handheld::inkx {
namespace {

// Deep enough for a note's editing session; each step is a whole page state.
constexpr size_t kHistoryDepth = 100;

double distanceToSegment(InkPoint p, InkPoint a, InkPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

bool strokeTouches(const Stroke& stroke, InkPoint at, double reach) {
  const double limit = reach + stroke.width / 2.0;
  for (size_t i = 0; i < stroke.points.size(); ++i) {
    const InkPoint& b = stroke.points[i];
    const InkPoint& a = i > 0 ? stroke.points[i - 1] : b;
    if (distanceToSegment(at, a, b) <= limit) return true;
  }
  return false;
}

}  // namespace

void InkEditor::remember() {
  history_.push_back({document_, zoom, caret_});
  if (history_.size() > kHistoryDepth) history_.pop_front();
}

void InkEditor::beginStroke(InkPoint at) {
  clearSelection();
  current_ = Stroke{pen.color, pen.width, {at}};
  drawing_ = true;
}

void InkEditor::extendStroke(InkPoint at) {
  if (drawing_ && !(current_.points.back() == at)) current_.points.push_back(at);
}

Change InkEditor::endStroke() {
  if (!drawing_) return Change::none;
  drawing_ = false;
  remember();
  document_.strokes.push_back(std::move(current_));
  current_ = {};
  return Change::ink;
}

Change InkEditor::eraseAt(InkPoint at, bool firstOfPress) {
  clearSelection();
  auto& strokes = document_.strokes;
  const auto touched = [&](const Stroke& s) { return strokeTouches(s, at, pen.eraserReach / 2.0); };
  if (std::none_of(strokes.begin(), strokes.end(), touched)) return Change::none;
  // One press erases as one step: the state before its first erase is what undo brings back.
  if (firstOfPress || history_.empty()) remember();
  std::erase_if(strokes, touched);
  return Change::ink;
}

void InkEditor::selectStrokesIn(InkPoint a, InkPoint b) {
  clearSelection();
  const int32_t left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int32_t top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  for (size_t i = 0; i < document_.strokes.size(); ++i) {
    const auto& points = document_.strokes[i].points;
    if (std::all_of(points.begin(), points.end(), [&](const InkPoint& p) {
          return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
        }))
      selectedStrokes_.push_back(i);
  }
}

void InkEditor::setCaret(size_t at, bool extend) {
  caret_ = std::min(at, document_.text.chars.size());
  if (!extend) anchor_ = caret_;
  typingRun_ = false;
}

Change InkEditor::insertText(std::u16string_view text, bool typed) {
  if (text.empty() && !hasTextSelection()) return Change::none;
  if (!(typed && typingRun_ && !hasTextSelection())) remember();
  selectedStrokes_.clear();
  auto& chars = document_.text.chars;
  if (chars.empty()) {
    document_.text.height = pen.textHeight;
    document_.text.color = pen.color;
  }
  const size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
  chars.replace(from, to - from, text);
  caret_ = anchor_ = from + text.size();
  typingRun_ = typed;
  return Change::content;
}

Change InkEditor::backspace() {
  if (hasTextSelection()) return insertText({}, false);
  if (caret_ == 0) return Change::none;
  const auto& chars = document_.text.chars;
  size_t from = caret_ - 1;
  // A surrogate pair and "\r\n" go as one.
  if (from > 0 && ((chars[from] >= 0xDC00 && chars[from] < 0xE000 && chars[from - 1] >= 0xD800 &&
                    chars[from - 1] < 0xDC00) ||
                   (chars[from] == u'\n' && chars[from - 1] == u'\r')))
    --from;
  anchor_ = from;
  return insertText({}, false);
}

Change InkEditor::deleteForward() {
  if (hasTextSelection()) return insertText({}, false);
  const auto& chars = document_.text.chars;
  if (caret_ >= chars.size()) return Change::none;
  size_t to = caret_ + 1;
  if (to < chars.size() && ((chars[caret_] >= 0xD800 && chars[caret_] < 0xDC00) ||
                            (chars[caret_] == u'\r' && chars[to] == u'\n')))
    ++to;
  anchor_ = to;
  return insertText({}, false);
}

Change InkEditor::addRecording(InkPoint at, std::vector<uint8_t> image) {
  if (image.empty()) return Change::none;
  remember();
  typingRun_ = false;
  document_.recordings.push_back({at, std::make_shared<const std::vector<uint8_t>>(std::move(image))});
  return Change::content;
}

InkDocument InkEditor::selection() const {
  InkDocument clip;
  for (size_t i : selectedStrokes_) clip.strokes.push_back(document_.strokes[i]);
  clip.text = document_.text;
  clip.text.chars = selectedText();
  return clip;
}

std::u16string InkEditor::selectedText() const {
  const size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
  return document_.text.chars.substr(from, to - from);
}

Change InkEditor::deleteSelection() {
  if (!hasSelection()) return Change::none;
  remember();
  typingRun_ = false;
  for (size_t i = selectedStrokes_.size(); i-- > 0;)
    document_.strokes.erase(document_.strokes.begin() + static_cast<std::ptrdiff_t>(selectedStrokes_[i]));
  selectedStrokes_.clear();
  const size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
  document_.text.chars.erase(from, to - from);
  caret_ = anchor_ = from;
  return Change::content;
}

Change InkEditor::paste(const InkDocument& clip) {
  if (clip.strokes.empty() && clip.text.chars.empty()) return Change::none;
  remember();
  typingRun_ = false;
  selectedStrokes_.clear();
  for (const auto& stroke : clip.strokes) {
    selectedStrokes_.push_back(document_.strokes.size());
    document_.strokes.push_back(stroke);
  }
  if (!clip.text.chars.empty()) {
    if (document_.text.chars.empty()) {
      document_.text.height = pen.textHeight;
      document_.text.color = pen.color;
    }
    const size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
    document_.text.chars.replace(from, to - from, clip.text.chars);
    caret_ = anchor_ = from + clip.text.chars.size();
  }
  return Change::content;
}

void InkEditor::clearSelection() {
  selectedStrokes_.clear();
  anchor_ = caret_;
}

Change InkEditor::undo() {
  if (history_.empty()) return Change::none;
  Snapshot last = std::move(history_.back());
  history_.pop_back();
  document_ = std::move(last.document);
  zoom = last.zoom;
  caret_ = anchor_ = std::min(last.caret, document_.text.chars.size());
  selectedStrokes_.clear();
  drawing_ = false;
  typingRun_ = false;
  return Change::content;
}

void InkEditor::replace(InkDocument document) {
  document_ = std::move(document);
  selectedStrokes_.clear();
  caret_ = anchor_ = document_.text.chars.size();
  drawing_ = false;
  typingRun_ = false;
  history_.clear();
}

}  // namespace handheld::inkx
