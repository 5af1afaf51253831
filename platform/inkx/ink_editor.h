// The page being edited, apart from any window: strokes, typed text with its caret and
// selection, recordings, the stroke selection, and an undo history of whole states.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "ink_document.h"

namespace handheld::inkx {

inline constexpr int kMinZoom = 25, kMaxZoom = 300;

struct Pen {
  uint16_t width = 2 * kSubUnits;        // document units
  int32_t eraserReach = 20 * kSubUnits;  // document units
  uint32_t textHeight = 16;
  uint32_t color = 0;
};

// What a change touched, for the parent's notification.
enum class Change { none, ink, content };

class InkEditor {
 public:
  const InkDocument& document() const { return document_; }
  Pen pen;
  int zoom = 100;

  // ---- strokes ----
  void beginStroke(InkPoint at);
  void extendStroke(InkPoint at);
  Change endStroke();
  bool drawing() const { return drawing_; }
  const Stroke& strokeInProgress() const { return current_; }
  // Erases every stroke that passes within the pen's eraser reach of `at`; the first erase of
  // one stylus press is one undo step with all the others of that press.
  Change eraseAt(InkPoint at, bool firstOfPress);

  // ---- the stroke selection ----
  void selectStrokesIn(InkPoint a, InkPoint b);
  const std::vector<size_t>& selectedStrokes() const { return selectedStrokes_; }

  // ---- typed text: positions are UTF-16 units ----
  size_t caret() const { return caret_; }
  size_t anchor() const { return anchor_; }
  bool hasTextSelection() const { return caret_ != anchor_; }
  void setCaret(size_t at, bool extend);
  Change insertText(std::u16string_view text, bool typed);
  Change backspace();
  Change deleteForward();

  // ---- recordings ----
  Change addRecording(InkPoint at, std::vector<uint8_t> image);

  // ---- selection as a whole: the selected strokes and the selected text ----
  bool hasSelection() const { return hasTextSelection() || !selectedStrokes_.empty(); }
  InkDocument selection() const;
  std::u16string selectedText() const;
  Change deleteSelection();
  // Puts strokes of `clip` on the page (selected) and its text at the caret.
  Change paste(const InkDocument& clip);
  void clearSelection();

  // ---- undo ----
  bool canUndo() const { return !history_.empty(); }
  Change undo();
  void emptyUndo() { history_.clear(); }

  // Replaces the whole page (streamed in); forgets selection and history.
  void replace(InkDocument document);

 private:
  struct Snapshot {
    InkDocument document;
    int zoom;
    size_t caret;
  };
  void remember();

  InkDocument document_;
  Stroke current_;
  bool drawing_ = false;
  std::vector<size_t> selectedStrokes_;
  size_t caret_ = 0, anchor_ = 0;
  bool typingRun_ = false;  // consecutive typed characters undo together
  std::deque<Snapshot> history_;
};

}  // namespace handheld::inkx
