// The keys and the stylus in an edit: moving the caret, selecting (shift, drag with the view
// following past the edges, double tap on a word), typing, and the clipboard keys.
#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

// While a drag stands outside the text, the view follows this often.
constexpr UINT kAutoScrollMs = 100;

bool readOnly(HWND edit) { return (editStyle(edit) & ES_READONLY) != 0; }

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

size_t lineEnd(const EditState& state, size_t line) {
  const EditLine& l = state.lines[line];
  const size_t end = l.start + l.length;
  return end == l.next && end > l.start ? previousPosition(state.text, end) : end;
}

// Up and down keep the column they started from.
void moveVertically(HWND edit, EditState& state, long long lines, bool extend) {
  const size_t line = state.lines.lineOf(state.caret);
  if (state.preferredX < 0) state.preferredX = state.lines.xOf(state.text, line, state.caret);
  const long long last = static_cast<long long>(state.lines.count()) - 1;
  const size_t target = static_cast<size_t>(std::clamp<long long>(static_cast<long long>(line) + lines, 0, last));
  const int column = state.preferredX;
  moveCaret(edit, state, state.lines.positionAt(state.text, target, column), extend);
  state.preferredX = column;
}

void moveTo(HWND edit, EditState& state, size_t index, bool extend) {
  state.preferredX = -1;
  moveCaret(edit, state, index, extend);
}

bool outsideText(const EditState& state, POINT p) {
  return p.x < state.format.left || p.x >= state.format.right || p.y < state.format.top || p.y >= state.format.bottom;
}

void deleteForward(HWND edit, EditState& state) {
  if (state.selectionStart() == state.selectionEnd()) {
    if (state.caret >= state.text.size()) return;
    state.anchor = nextPosition(state.text, state.caret);
  }
  replaceSelection(edit, state, u"", EditSource::User);
}

}  // namespace

void editKeyDown(HWND edit, EditState& state, WPARAM key) {
  const bool shift = keyHeld(VK_SHIFT), control = keyHeld(VK_CONTROL);
  const bool multi = isMultiLine(edit);
  const size_t start = state.selectionStart(), end = state.selectionEnd();
  const bool collapse = !shift && start != end;
  switch (key) {
    case VK_LEFT:
      moveTo(edit, state, collapse ? start : control ? previousWordStart(state.text, state.caret) : previousPosition(state.text, state.caret), shift);
      break;
    case VK_RIGHT:
      moveTo(edit, state, collapse ? end : control ? nextWordStart(state.text, state.caret) : nextPosition(state.text, state.caret), shift);
      break;
    case VK_UP:
    case VK_DOWN:
      if (multi) moveVertically(edit, state, key == VK_UP ? -1 : 1, shift);
      else moveTo(edit, state, key == VK_UP ? previousPosition(state.text, state.caret) : nextPosition(state.text, state.caret), shift);
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multi) {
        const long long page = visibleLineCount(state);
        scrollBy(edit, state, key == VK_PRIOR ? -page : page, 0);
        moveVertically(edit, state, key == VK_PRIOR ? -page : page, shift);
      }
      break;
    case VK_HOME:
      moveTo(edit, state, control || !multi ? 0 : state.lines[state.lines.lineOf(state.caret)].start, shift);
      break;
    case VK_END:
      moveTo(edit, state, control || !multi ? state.text.size() : lineEnd(state, state.lines.lineOf(state.caret)), shift);
      break;
    case VK_DELETE:
      if (readOnly(edit)) break;
      if (shift) cutSelection(edit, state);
      else deleteForward(edit, state);
      break;
    case VK_INSERT:
      if (control) copySelection(edit, state);
      else if (shift) pasteClipboard(edit, state);
      break;
    default:
      break;
  }
}

void editChar(HWND edit, EditState& state, char16_t c) {
  switch (c) {
    case 0x01:  // ctrl+A
      select(edit, state, 0, state.text.size());
      return;
    case 0x03:  // ctrl+C
      copySelection(edit, state);
      return;
    case 0x16:  // ctrl+V
      pasteClipboard(edit, state);
      return;
    case 0x18:  // ctrl+X
      cutSelection(edit, state);
      return;
    case 0x1A:  // ctrl+Z
      if (!readOnly(edit)) undoLast(edit, state);
      return;
    default:
      break;
  }
  if (readOnly(edit)) return;
  const bool multi = isMultiLine(edit);
  if (c == 0x08) {
    if (state.selectionStart() == state.selectionEnd()) {
      if (state.caret == 0) return;
      state.anchor = previousPosition(state.text, state.caret);
    }
    replaceSelection(edit, state, u"", EditSource::Typing);
    return;
  }
  std::u16string typed;
  if (c == u'\r' || c == u'\n') {
    if (!multi) return;
    typed = u"\r\n";
  } else if (c == u'\t') {
    if (!multi) return;
    typed = u"\t";
  } else if (c < 0x20 || c == 0x7F) {
    return;
  } else if (isHighSurrogate(c)) {
    state.pendingHigh = c;
    return;
  } else if (isLowSurrogate(c)) {
    if (!state.pendingHigh) return;
    typed = {state.pendingHigh, c};
  } else {
    // Digits only: anything else is refused without a word to the parent.
    if ((editStyle(edit) & ES_NUMBER) && (c < u'0' || c > u'9')) return;
    typed = {c};
  }
  state.pendingHigh = 0;
  replaceSelection(edit, state, std::move(typed), EditSource::Typing);
}

void editStylusDown(HWND edit, EditState& state, POINT point, bool doubleTap) {
  const size_t at = positionAtPoint(edit, state, point);
  if (doubleTap) {
    size_t start = 0, end = 0;
    wordAround(state.text, at, start, end);
    select(edit, state, start, end);
    return;
  }
  moveTo(edit, state, at, keyHeld(VK_SHIFT));
  state.stylus = point;
  state.tracking = true;
  SetCapture(edit);
}

void editStylusMove(HWND edit, EditState& state, POINT point) {
  if (!state.tracking) return;
  state.stylus = point;
  moveTo(edit, state, positionAtPoint(edit, state, point), true);
  const bool outside = outsideText(state, point);
  if (outside && !state.autoScrolling) SetTimer(edit, kEditAutoScrollTimer, kAutoScrollMs, nullptr);
  if (!outside && state.autoScrolling) KillTimer(edit, kEditAutoScrollTimer);
  state.autoScrolling = outside;
}

void editAutoScroll(HWND edit, EditState& state) {
  if (!state.tracking) {
    editStopTracking(edit, state);
    return;
  }
  // The point outside lies a line or a few pixels past the view, which moves to show it.
  moveTo(edit, state, positionAtPoint(edit, state, state.stylus), true);
}

void editStylusUp(HWND edit, EditState& state) {
  if (!state.tracking) return;
  editStopTracking(edit, state);
  ReleaseCapture();
}

void editStopTracking(HWND edit, EditState& state) {
  state.tracking = false;
  if (state.autoScrolling) KillTimer(edit, kEditAutoScrollTimer);
  state.autoScrolling = false;
}

}  // namespace handheld::user::controls
