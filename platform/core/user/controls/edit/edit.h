// The "EDIT" class: single-line and multi-line text fields (word wrap, scrolling, password,
// digits only, read-only, case conversion), edited with the stylus (tap, drag, double tap)
// and the keys, with single-level undo and the device clipboard. Changes are told to the
// parent with EN_UPDATE and EN_CHANGE; the lines are kept across edits (edit_text.h).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "user/controls/edit/edit_text.h"

namespace handheld::user::controls {

// The one change an undo takes back: `removed` was at `at`, and `inserted` units stand there.
struct EditUndo {
  bool valid = false;
  bool typing = false;  // characters typed one by one join the record
  size_t at = 0;
  size_t inserted = 0;
  std::u16string removed;
};

struct EditState {
  HFONT font = nullptr;
  std::u16string text;
  EditLines lines;
  std::unordered_map<char32_t, int> advances;  // measured once per code point and font
  int lineHeight = 1;
  int averageWidth = 1;
  size_t anchor = 0;  // the selection runs from the anchor to the caret
  size_t caret = 0;
  size_t limit = 30000;
  bool modified = false;
  bool focused = false;
  bool tracking = false;      // the stylus went down in it and the capture is held
  bool autoScrolling = false;  // the drag timer runs
  POINT stylus{};             // the last stylus point while tracking
  char16_t passwordChar = u'*';
  char16_t pendingHigh = 0;  // the first half of a pair typed as two characters
  int leftMargin = 0;
  int rightMargin = 0;
  size_t firstLine = 0;  // multi-line: the top line shown
  int scrollX = 0;       // pixels scrolled to the left
  int preferredX = -1;   // up and down keep the column they started from
  RECT format{};         // where the text goes, in client coordinates
  EditUndo undo;

  size_t selectionStart() const { return std::min(anchor, caret); }
  size_t selectionEnd() const { return std::max(anchor, caret); }
};

WNDCLASSW editClass();

// The timer that moves the view while a drag stands outside the text.
inline constexpr UINT_PTR kEditAutoScrollTimer = 0x4544;

// edit_view.cpp: geometry, scrolling and the caret.
LONG editStyle(HWND edit);
bool isMultiLine(HWND edit);
bool showsPassword(HWND edit);
// Measures the font again and lays the text out anew (font, size, margins, styles).
void refreshMetrics(HWND edit, EditState& state);
void relayout(HWND edit, EditState& state);
int visibleLineCount(const EditState& state);
// The client point where a position's character cell starts (top-left).
POINT pointOfPosition(HWND edit, const EditState& state, size_t index);
size_t positionAtPoint(HWND edit, const EditState& state, POINT point);
// Scroll so that the caret shows; true when the view moved.
bool scrollToCaret(HWND edit, EditState& state);
// Scroll by lines and pixels within the text's extent; true when the view moved.
bool scrollBy(HWND edit, EditState& state, long long lines, long long pixels);
void placeCaret(HWND edit, const EditState& state);
void updateScrollBars(HWND edit, const EditState& state);
void redraw(HWND edit);
// The caret moves (extend: the anchor stays) and the view follows.
void moveCaret(HWND edit, EditState& state, size_t index, bool extend);
void select(HWND edit, EditState& state, size_t anchor, size_t caret);

// edit_editing.cpp: changes, undo and the clipboard.
// ES_UPPERCASE and ES_LOWERCASE (ASCII and Latin-1 letters).
void convertCase(HWND edit, std::u16string& text);
enum class EditSource { Typing, User, Program };
// Replaces the selection with `text` (converted to the case the style asks for) within the
// limit and the room the style leaves; notifies the parent. The state may be gone after it.
void replaceSelection(HWND edit, EditState& state, std::u16string text, EditSource source, bool canUndo = true);
void setEditText(HWND edit, EditState& state, const char16_t* text);
// Takes the last change back (an undo again takes the undo back). False without one.
bool undoLast(HWND edit, EditState& state);
void copySelection(HWND edit, const EditState& state);
void cutSelection(HWND edit, EditState& state);
void pasteClipboard(HWND edit, EditState& state);
void clearSelection(HWND edit, EditState& state);
// The text as shown: password edits show one mask character per code point.
std::u16string shownText(HWND edit, const EditState& state);

// edit_input.cpp: keys and the stylus.
void editKeyDown(HWND edit, EditState& state, WPARAM key);
void editChar(HWND edit, EditState& state, char16_t c);
void editStylusDown(HWND edit, EditState& state, POINT point, bool doubleTap);
void editStylusMove(HWND edit, EditState& state, POINT point);
void editStylusUp(HWND edit, EditState& state);
void editAutoScroll(HWND edit, EditState& state);
void editStopTracking(HWND edit, EditState& state);

// edit_messages.cpp: the EM_ messages; handled false for any other message.
LRESULT editMessage(HWND edit, EditState& state, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

// edit_paint.cpp
void paintEdit(HWND edit, HDC hdc, const EditState& state);

}  // namespace handheld::user::controls
