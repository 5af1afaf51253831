// Changing the edit's text: the limit, the room a field without auto-scrolling leaves, case
// conversion, single-level undo, the notifications, and the device clipboard.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

char16_t upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  return c;
}
char16_t lower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 0x20);
  return c;
}

// The longest start of `text` within `room` units that ends between two characters.
void cutTo(std::u16string& text, size_t room) {
  if (text.size() <= room) return;
  text.resize(snapPosition(text, room));
}

// Without auto-scrolling the text must fit the field: one line no wider than the field, or
// no more lines than show.
bool fits(HWND edit, const EditState& state) {
  const LONG style = editStyle(edit);
  if (!(style & ES_MULTILINE))
    return (style & ES_AUTOHSCROLL) || state.lines[0].width <= state.format.right - state.format.left;
  if (style & (ES_AUTOVSCROLL | WS_VSCROLL)) return true;
  return state.lines.count() <= static_cast<size_t>(visibleLineCount(state));
}

void recordUndo(EditState& state, size_t at, size_t end, size_t inserted, EditSource source) {
  EditUndo& undo = state.undo;
  const bool typing = source == EditSource::Typing;
  if (typing && undo.valid && undo.typing) {
    if (at == end && at == undo.at + undo.inserted) {  // typed on
      undo.inserted += inserted;
      return;
    }
    if (inserted == 0 && end == undo.at + undo.inserted && at >= undo.at) {  // typed back
      undo.inserted -= end - at;
      return;
    }
    if (inserted == 0 && undo.inserted == 0 && end == undo.at) {  // erased further back
      undo.removed.insert(0, state.text, at, end - at);
      undo.at = at;
      return;
    }
  }
  undo = EditUndo{true, typing, at, inserted, state.text.substr(at, end - at)};
}

// EN_UPDATE before, EN_CHANGE after the field shows the change; the parent may end it.
void notifyChange(HWND edit) {
  notifyParent(edit, EN_UPDATE);
  if (!IsWindow(edit)) return;
  UpdateWindow(edit);
  notifyParent(edit, EN_CHANGE);
}

void applyChange(EditState& state, size_t at, size_t end, const std::u16string& text) {
  state.text.replace(at, end - at, text);
  state.lines.update(state.text, at, end - at, text.size());
  state.anchor = state.caret = at + text.size();
  state.preferredX = -1;
}

bool openClipboardFor(HWND edit) { return OpenClipboard(edit) != FALSE; }

}  // namespace

void convertCase(HWND edit, std::u16string& text) {
  const LONG style = editStyle(edit);
  if (style & ES_UPPERCASE) std::transform(text.begin(), text.end(), text.begin(), upper);
  else if (style & ES_LOWERCASE) std::transform(text.begin(), text.end(), text.begin(), lower);
}

void replaceSelection(HWND edit, EditState& state, std::u16string text, EditSource source, bool canUndo) {
  convertCase(edit, text);
  const size_t at = state.selectionStart(), end = state.selectionEnd();
  const size_t kept = state.text.size() - (end - at);
  const size_t room = state.limit > kept ? state.limit - kept : 0;
  bool full = text.size() > room;
  cutTo(text, room);
  if (at == end && text.empty()) {
    if (full) notifyParent(edit, EN_MAXTEXT);
    return;
  }
  const std::u16string removed = state.text.substr(at, end - at);
  const EditUndo before = state.undo;
  if (canUndo) recordUndo(state, at, end, text.size(), source);
  else state.undo = EditUndo{};
  applyChange(state, at, end, text);
  if (!fits(edit, state)) {
    // Taken back whole: a field that cannot scroll refuses what would not show.
    state.text.replace(at, text.size(), removed);
    state.lines.update(state.text, at, text.size(), removed.size());
    state.anchor = at;
    state.caret = at + removed.size();
    state.undo = before;
    notifyParent(edit, EN_MAXTEXT);
    return;
  }
  state.modified = true;
  scrollToCaret(edit, state);
  updateScrollBars(edit, state);
  placeCaret(edit, state);
  redraw(edit);
  if (full) {
    notifyParent(edit, EN_MAXTEXT);
    if (!IsWindow(edit)) return;
  }
  notifyChange(edit);
}

void setEditText(HWND edit, EditState& state, const char16_t* text) {
  std::u16string value = text ? text : u"";
  convertCase(edit, value);
  state.text = std::move(value);
  state.lines.rebuild(state.text);
  state.anchor = state.caret = 0;
  state.firstLine = 0;
  state.scrollX = 0;
  state.preferredX = -1;
  state.modified = false;
  state.undo = EditUndo{};
  updateScrollBars(edit, state);
  placeCaret(edit, state);
  redraw(edit);
  // Multi-line edits tell nothing of text set by the program.
  if (!isMultiLine(edit)) notifyChange(edit);
}

bool undoLast(HWND edit, EditState& state) {
  if (!state.undo.valid) return false;
  EditUndo undo = state.undo;
  const size_t end = std::min(undo.at + undo.inserted, state.text.size());
  const size_t at = std::min(undo.at, end);
  // The undo of an undo puts the change back.
  state.undo = EditUndo{true, false, at, undo.removed.size(), state.text.substr(at, end - at)};
  applyChange(state, at, end, undo.removed);
  state.anchor = at;
  state.modified = true;
  scrollToCaret(edit, state);
  updateScrollBars(edit, state);
  placeCaret(edit, state);
  redraw(edit);
  notifyChange(edit);
  return true;
}

void copySelection(HWND edit, const EditState& state) {
  // A password never leaves its field.
  if (showsPassword(edit) || state.selectionStart() == state.selectionEnd()) return;
  const std::u16string chosen = state.text.substr(state.selectionStart(), state.selectionEnd() - state.selectionStart());
  const size_t bytes = (chosen.size() + 1) * sizeof(char16_t);
  if (!openClipboardFor(edit)) return;
  EmptyClipboard();
  if (auto* block = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, bytes))) {
    std::copy(chosen.begin(), chosen.end(), block);
    block[chosen.size()] = 0;
    if (!SetClipboardData(CF_UNICODETEXT, block)) LocalFree(block);
  }
  CloseClipboard();
}

void cutSelection(HWND edit, EditState& state) {
  if ((editStyle(edit) & ES_READONLY) || showsPassword(edit)) return;
  copySelection(edit, state);
  clearSelection(edit, state);
}

void pasteClipboard(HWND edit, EditState& state) {
  if (editStyle(edit) & ES_READONLY) return;
  if (!openClipboardFor(edit)) return;
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    // The block's size bounds the reading: the text need not be terminated.
    const size_t units = LocalSize(data) / sizeof(char16_t);
    const auto* chars = static_cast<const char16_t*>(data);
    text.assign(chars, std::find(chars, chars + units, u'\0'));
  }
  CloseClipboard();
  // A single line takes the text up to the first line break.
  if (!isMultiLine(edit)) text.resize(std::min(text.size(), text.find_first_of(u"\r\n")));
  if (!text.empty()) replaceSelection(edit, state, std::move(text), EditSource::User);
}

void clearSelection(HWND edit, EditState& state) {
  if ((editStyle(edit) & ES_READONLY) || state.selectionStart() == state.selectionEnd()) return;
  replaceSelection(edit, state, u"", EditSource::User);
}

std::u16string shownText(HWND edit, const EditState& state) {
  if (!showsPassword(edit)) return state.text;
  std::u16string masked;
  for (size_t i = 0; i < state.text.size();) {
    size_t units = 1;
    codePointAt(state.text, i, &units);
    masked.push_back(state.passwordChar);
    i += units;
  }
  return masked;
}

}  // namespace handheld::user::controls
