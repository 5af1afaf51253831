// The EM_ messages: selection, lines, scrolling, limits, undo, margins and positions.
// Bad input answers as the platform does: positions clamp, null pointers give 0.
#include <climits>

#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

// The limits the user may type up to.
constexpr size_t kSingleLineMax = 0x7FFE;
constexpr size_t kMultiLineMax = 0x7FFFFFFE;
constexpr size_t kMultiLineUnlimited = 0xFFFF;  // EM_LIMITTEXT 0 on a multi-line edit

// A position from a message: -1 and anything past the text mean its end.
size_t positionFrom(const EditState& state, WPARAM value) {
  const auto signedValue = static_cast<long long>(static_cast<int>(value));
  if (signedValue < 0 || static_cast<unsigned long long>(value) > state.text.size()) return state.text.size();
  return static_cast<size_t>(value);
}

LRESULT getSelection(const EditState& state, WPARAM startOut, LPARAM endOut) {
  const size_t start = state.selectionStart(), end = state.selectionEnd();
  if (auto* p = reinterpret_cast<DWORD*>(startOut)) *p = static_cast<DWORD>(start);
  if (auto* p = reinterpret_cast<DWORD*>(endOut)) *p = static_cast<DWORD>(end);
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return MAKELONG(start, end);
}

void setSelection(HWND edit, EditState& state, WPARAM start, LPARAM end) {
  if (static_cast<int>(start) == -1) {  // no selection: the caret stays
    select(edit, state, state.caret, state.caret);
    return;
  }
  select(edit, state, positionFrom(state, start), positionFrom(state, static_cast<WPARAM>(end)));
}

void setLimit(HWND edit, EditState& state, WPARAM limit) {
  const bool multi = isMultiLine(edit);
  if (limit == 0) state.limit = multi ? kMultiLineUnlimited : kSingleLineMax;
  else state.limit = std::min<size_t>(static_cast<size_t>(static_cast<UINT>(limit)), multi ? kMultiLineMax : kSingleLineMax);
}

size_t lineFrom(HWND edit, const EditState& state, WPARAM line) {
  if (static_cast<int>(line) == -1) return isMultiLine(edit) ? state.lines.lineOf(state.caret) : 0;
  return static_cast<size_t>(static_cast<UINT>(line));
}

LRESULT lineLength(HWND edit, const EditState& state, WPARAM index) {
  if (!isMultiLine(edit)) return static_cast<LRESULT>(state.text.size());
  if (static_cast<int>(index) == -1) {
    // The characters left unselected on the lines the selection touches.
    const size_t start = state.selectionStart(), end = state.selectionEnd();
    const EditLine& first = state.lines[state.lines.lineOf(start)];
    const EditLine& last = state.lines[state.lines.lineOf(end)];
    return static_cast<LRESULT>((start - first.start) + (last.start + last.length - std::min(end, last.start + last.length)));
  }
  return static_cast<LRESULT>(state.lines[state.lines.lineOf(positionFrom(state, index))].length);
}

LRESULT getLine(HWND edit, const EditState& state, WPARAM line, LPARAM buffer) {
  auto* out = reinterpret_cast<char16_t*>(buffer);
  if (!out) return 0;
  const size_t capacity = *reinterpret_cast<const WORD*>(out);  // the first unit says its size
  size_t start = 0, length = state.text.size();
  if (isMultiLine(edit)) {
    const auto index = static_cast<size_t>(static_cast<UINT>(line));
    if (index >= state.lines.count()) return 0;
    start = state.lines[index].start;
    length = state.lines[index].length;
  }
  const size_t count = std::min(length, capacity);
  std::copy_n(state.text.data() + start, count, out);
  return static_cast<LRESULT>(count);
}

LRESULT scrollMessage(HWND edit, EditState& state, WPARAM code) {
  if (!isMultiLine(edit)) return FALSE;
  const long long page = visibleLineCount(state);
  long long lines = 0;
  switch (code) {
    case SB_LINEUP: lines = -1; break;
    case SB_LINEDOWN: lines = 1; break;
    case SB_PAGEUP: lines = -page; break;
    case SB_PAGEDOWN: lines = page; break;
    default: return FALSE;
  }
  const size_t before = state.firstLine;
  scrollBy(edit, state, lines, 0);
  const long long moved = static_cast<long long>(state.firstLine) - static_cast<long long>(before);
  return MAKELONG(static_cast<WORD>(static_cast<short>(moved)), TRUE);
}

void setMargins(HWND edit, EditState& state, WPARAM which, LPARAM margins) {
  const int fontMargin = 2 * lineWidth();
  if (which & EC_LEFTMARGIN) state.leftMargin = LOWORD(margins) == EC_USEFONTINFO ? fontMargin : LOWORD(margins);
  if (which & EC_RIGHTMARGIN) state.rightMargin = HIWORD(margins) == EC_USEFONTINFO ? fontMargin : HIWORD(margins);
  relayout(edit, state);
}

LRESULT posFromChar(HWND edit, const EditState& state, WPARAM index) {
  if (index > state.text.size()) return -1;
  const POINT at = pointOfPosition(edit, state, static_cast<size_t>(index));
  return MAKELONG(static_cast<WORD>(static_cast<short>(at.x)), static_cast<WORD>(static_cast<short>(at.y)));
}

LRESULT charFromPos(HWND edit, const EditState& state, LPARAM point) {
  const POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  RECT client{};
  GetClientRect(edit, &client);
  if (!PtInRect(&client, p)) return -1;
  const size_t at = positionAtPoint(edit, state, p);
  const size_t line = isMultiLine(edit) ? state.lines.lineOf(at) : 0;
  return MAKELONG(static_cast<WORD>(std::min<size_t>(at, 0xFFFF)), static_cast<WORD>(std::min<size_t>(line, 0xFFFF)));
}

LRESULT firstVisible(HWND edit, const EditState& state) {
  if (isMultiLine(edit)) return static_cast<LRESULT>(state.firstLine);
  return static_cast<LRESULT>(state.lines.positionAt(state.text, 0, state.scrollX));
}

}  // namespace

LRESULT editMessage(HWND edit, EditState& state, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case EM_GETSEL: return getSelection(state, wParam, lParam);
    case EM_SETSEL: setSelection(edit, state, wParam, lParam); return 0;
    case EM_GETRECT:
      if (auto* r = reinterpret_cast<RECT*>(lParam)) *r = state.format;
      return 0;
    case EM_SCROLL: return scrollMessage(edit, state, wParam);
    case EM_LINESCROLL:
      if (!isMultiLine(edit)) return FALSE;
      scrollBy(edit, state, static_cast<int>(lParam), static_cast<long long>(static_cast<int>(wParam)) * state.averageWidth);
      return TRUE;
    case EM_SCROLLCARET:
      if (scrollToCaret(edit, state)) redraw(edit);
      placeCaret(edit, state);
      return TRUE;
    case EM_GETMODIFY: return state.modified;
    case EM_SETMODIFY: state.modified = wParam != 0; return 0;
    case EM_GETLINECOUNT: return isMultiLine(edit) ? static_cast<LRESULT>(state.lines.count()) : 1;
    case EM_LINEINDEX: {
      const size_t line = lineFrom(edit, state, wParam);
      if (line >= (isMultiLine(edit) ? state.lines.count() : 1)) return -1;
      return static_cast<LRESULT>(state.lines[line].start);
    }
    case EM_LINELENGTH: return lineLength(edit, state, wParam);
    case EM_REPLACESEL:
      if (lParam) replaceSelection(edit, state, reinterpret_cast<const char16_t*>(lParam), EditSource::Program, wParam != 0);
      return 0;
    case EM_GETLINE: return getLine(edit, state, wParam, lParam);
    case EM_LIMITTEXT: setLimit(edit, state, wParam); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(state.limit);
    case EM_CANUNDO: return state.undo.valid;
    case EM_UNDO: return !(editStyle(edit) & ES_READONLY) && undoLast(edit, state);
    case EM_EMPTYUNDOBUFFER: state.undo = EditUndo{}; return 0;
    case EM_LINEFROMCHAR: {
      if (!isMultiLine(edit)) return 0;
      const size_t index = static_cast<int>(wParam) == -1 ? state.selectionStart() : positionFrom(state, wParam);
      return static_cast<LRESULT>(state.lines.lineOf(index));
    }
    case EM_SETPASSWORDCHAR: {
      const LONG style = editStyle(edit);
      if (wParam) state.passwordChar = static_cast<char16_t>(wParam);
      SetWindowLongW(edit, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
      relayout(edit, state);
      return 0;
    }
    case EM_GETPASSWORDCHAR: return (editStyle(edit) & ES_PASSWORD) ? state.passwordChar : 0;
    case EM_GETFIRSTVISIBLELINE: return firstVisible(edit, state);
    case EM_SETREADONLY: {
      const LONG style = editStyle(edit);
      SetWindowLongW(edit, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      redraw(edit);
      return TRUE;
    }
    case EM_SETMARGINS: setMargins(edit, state, wParam, lParam); return 0;
    case EM_GETMARGINS: return MAKELONG(state.leftMargin, state.rightMargin);
    case EM_POSFROMCHAR: return posFromChar(edit, state, wParam);
    case EM_CHARFROMPOS: return charFromPos(edit, state, lParam);
    default:
      handled = false;
      return 0;
  }
}

}  // namespace handheld::user::controls
