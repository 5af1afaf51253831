// The edit's geometry: where the text goes, which lines and columns show, the caret and
// the window's scroll bars.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

// Tab stops every eight average characters.
constexpr int kTabCharacters = 8;

int measure(HFONT font, char32_t c) {
  char16_t units[2];
  int count = 1;
  if (c >= 0x10000) {
    units[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<char16_t>(c);
  }
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, fontOr(font));
  SIZE size{};
  GetTextExtentPoint32W(hdc, units, count, &size);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return size.cx;
}

int advanceOf(EditState& state, char32_t c, int x) {
  if (c == u'\t') {
    const int tab = std::max(1, kTabCharacters * state.averageWidth);
    return tab - x % tab;
  }
  auto found = state.advances.find(c);
  if (found != state.advances.end()) return found->second;
  const int width = measure(state.font, c);
  state.advances.emplace(c, width);
  return width;
}

bool wraps(HWND edit) {
  return isMultiLine(edit) && !(editStyle(edit) & (ES_AUTOHSCROLL | WS_HSCROLL));
}

int formatWidth(const EditState& state) { return std::max<int>(0, state.format.right - state.format.left); }

// Centred and right-aligned lines start this far into the format rectangle.
int alignOffset(HWND edit, const EditState& state, size_t line) {
  const int room = formatWidth(state) - state.lines[line].width;
  if (room <= 0) return 0;
  switch (editStyle(edit) & (ES_CENTER | ES_RIGHT)) {
    case ES_CENTER: return room / 2;
    case ES_RIGHT: return room;
    default: return 0;
  }
}

size_t lineOfPosition(HWND edit, const EditState& state, size_t index) {
  return isMultiLine(edit) ? state.lines.lineOf(index) : 0;
}

size_t lastFirstLine(const EditState& state) {
  const size_t visible = static_cast<size_t>(visibleLineCount(state));
  return state.lines.count() > visible ? state.lines.count() - visible : 0;
}

int lastScrollX(const EditState& state) { return std::max(0, state.lines.widest() + lineWidth() - formatWidth(state)); }

}  // namespace

LONG editStyle(HWND edit) { return GetWindowLongW(edit, GWL_STYLE); }
bool isMultiLine(HWND edit) { return (editStyle(edit) & ES_MULTILINE) != 0; }
bool showsPassword(HWND edit) { return (editStyle(edit) & (ES_PASSWORD | ES_MULTILINE)) == ES_PASSWORD; }

void refreshMetrics(HWND edit, EditState& state) {
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, fontOr(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  state.lineHeight = std::max<int>(1, metrics.tmHeight);
  state.averageWidth = std::max<int>(1, metrics.tmAveCharWidth);
  state.advances.clear();
  relayout(edit, state);
}

void relayout(HWND edit, EditState& state) {
  RECT client{};
  GetClientRect(edit, &client);
  const bool multi = isMultiLine(edit);
  state.format = {client.left + state.leftMargin, 0, client.right - state.rightMargin, client.bottom};
  if (!multi) {
    // One line, in the middle of the field.
    state.format.top = std::max<int>(0, (client.bottom - state.lineHeight) / 2);
    state.format.bottom = state.format.top + state.lineHeight;
  }
  if (state.format.right < state.format.left) state.format.right = state.format.left;
  const bool password = showsPassword(edit);
  EditState* s = &state;
  state.lines.configure(
      [s, password](char32_t c, int x) { return advanceOf(*s, password ? s->passwordChar : c, x); },
      wraps(edit) ? std::max(1, formatWidth(state)) : 0, multi);
  state.lines.rebuild(state.text);
  state.firstLine = std::min(state.firstLine, lastFirstLine(state));
  state.scrollX = std::min(state.scrollX, lastScrollX(state));
  updateScrollBars(edit, state);
  placeCaret(edit, state);
  redraw(edit);
}

int visibleLineCount(const EditState& state) {
  return std::max(1, static_cast<int>(state.format.bottom - state.format.top) / state.lineHeight);
}

POINT pointOfPosition(HWND edit, const EditState& state, size_t index) {
  index = std::min(index, state.text.size());
  const size_t line = lineOfPosition(edit, state, index);
  const int x = state.format.left - state.scrollX + alignOffset(edit, state, line) +
                state.lines.xOf(state.text, line, index);
  const long long row = static_cast<long long>(line) - static_cast<long long>(state.firstLine);
  return {x, static_cast<LONG>(state.format.top + row * state.lineHeight)};
}

size_t positionAtPoint(HWND edit, const EditState& state, POINT point) {
  size_t line = 0;
  if (isMultiLine(edit)) {
    const int dy = point.y - state.format.top;
    const long long row = dy >= 0 ? dy / state.lineHeight : -((state.lineHeight - 1 - dy) / state.lineHeight);
    const long long wanted = static_cast<long long>(state.firstLine) + row;
    line = static_cast<size_t>(std::clamp<long long>(wanted, 0, static_cast<long long>(state.lines.count()) - 1));
  }
  const int x = point.x - state.format.left + state.scrollX - alignOffset(edit, state, line);
  return state.lines.positionAt(state.text, line, x);
}

bool scrollToCaret(HWND edit, EditState& state) {
  const size_t oldFirst = state.firstLine;
  const int oldX = state.scrollX;
  const size_t line = lineOfPosition(edit, state, state.caret);
  if (isMultiLine(edit)) {
    const size_t visible = static_cast<size_t>(visibleLineCount(state));
    if (line < state.firstLine) state.firstLine = line;
    if (line >= state.firstLine + visible) state.firstLine = line - visible + 1;
  }
  if (!wraps(edit)) {
    const int width = formatWidth(state);
    const int x = alignOffset(edit, state, line) + state.lines.xOf(state.text, line, state.caret);
    // Past an edge the view jumps by a third of its width, as typing goes on.
    if (x < state.scrollX) state.scrollX = std::max(0, x - width / 3);
    if (x + lineWidth() > state.scrollX + width) state.scrollX = std::max(0, x + lineWidth() - width + width / 3);
    state.scrollX = std::min(state.scrollX, std::max(0, x));
    if (state.lines.widest() + lineWidth() <= width) state.scrollX = 0;
  } else {
    state.scrollX = 0;
  }
  const bool moved = oldFirst != state.firstLine || oldX != state.scrollX;
  if (moved) updateScrollBars(edit, state);
  return moved;
}

bool scrollBy(HWND edit, EditState& state, long long lines, long long pixels) {
  const size_t oldFirst = state.firstLine;
  const int oldX = state.scrollX;
  if (isMultiLine(edit)) {
    const long long first = static_cast<long long>(state.firstLine) + lines;
    state.firstLine = static_cast<size_t>(std::clamp<long long>(first, 0, static_cast<long long>(lastFirstLine(state))));
  }
  if (!wraps(edit)) state.scrollX = static_cast<int>(std::clamp<long long>(state.scrollX + pixels, 0, lastScrollX(state)));
  if (oldFirst == state.firstLine && oldX == state.scrollX) return false;
  updateScrollBars(edit, state);
  placeCaret(edit, state);
  redraw(edit);
  return true;
}

void placeCaret(HWND edit, const EditState& state) {
  if (!state.focused) return;
  const POINT at = pointOfPosition(edit, state, state.caret);
  SetCaretPos(at.x, at.y);
}

void updateScrollBars(HWND edit, const EditState& state) {
  const LONG style = editStyle(edit);
  if ((style & WS_VSCROLL) && (style & ES_MULTILINE)) {
    SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, static_cast<int>(state.lines.count()) - 1,
                    static_cast<UINT>(visibleLineCount(state)), static_cast<int>(state.firstLine), 0};
    SetScrollInfo(edit, SB_VERT, &info, TRUE);
  }
  if (style & WS_HSCROLL) {
    SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, state.lines.widest() + lineWidth(),
                    static_cast<UINT>(formatWidth(state)), state.scrollX, 0};
    SetScrollInfo(edit, SB_HORZ, &info, TRUE);
  }
}

void redraw(HWND edit) { InvalidateRect(edit, nullptr, FALSE); }

void moveCaret(HWND edit, EditState& state, size_t index, bool extend) {
  state.caret = snapPosition(state.text, index);
  if (!extend) state.anchor = state.caret;
  scrollToCaret(edit, state);
  placeCaret(edit, state);
  redraw(edit);
}

void select(HWND edit, EditState& state, size_t anchor, size_t caret) {
  state.anchor = snapPosition(state.text, anchor);
  state.caret = snapPosition(state.text, caret);
  state.preferredX = -1;
  placeCaret(edit, state);
  redraw(edit);
}

}  // namespace handheld::user::controls
