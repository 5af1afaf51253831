// The list box under the stylus and the keys. The stylus selects on the way down and follows
// while held, notifying LBN_SELCHANGE once when lifted; keys move the caret and notify at
// once. A combo box's list holds the capture while dropped: a press outside it cancels, a
// lift on an item chooses.
#include <algorithm>

#include "strings/case_fold.h"
#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {


int count(const ListBoxState& state) { return static_cast<int>(state.items.size()); }

bool clearAll(HWND list, ListBoxState& state) { return selectRange(list, state, 0, count(state) - 1, false); }

// Extended selection: the range from the anchor to `index` and nothing else.
bool selectFromAnchor(HWND list, ListBoxState& state, int index) {
  if (state.anchor < 0) state.anchor = index;
  bool changed = false;
  for (int i = 0; i < count(state); ++i) {
    const bool inside = (i >= std::min(state.anchor, index) && i <= std::max(state.anchor, index));
    changed = setSelected(list, state, i, inside) || changed;
  }
  return changed;
}

bool selectAlone(HWND list, ListBoxState& state, int index) {
  bool changed = clearAll(list, state);
  changed = setSelected(list, state, index, true) || changed;
  state.anchor = index;
  return changed;
}

// A key moved the caret to `index`: the selection follows as the kind of list has it.
void moveTo(HWND list, ListBoxState& state, int index) {
  if (count(state) == 0) return;
  index = std::clamp(index, 0, count(state) - 1);
  bool changed = false;
  switch (selectionKind(list)) {
    case Selection::Single: changed = selectOnly(list, state, index); break;
    case Selection::Multiple: break;
    case Selection::Extended:
      if (keyHeld(VK_SHIFT)) changed = selectFromAnchor(list, state, index);
      else if (!keyHeld(VK_CONTROL)) changed = selectAlone(list, state, index);
      break;
  }
  setCaret(list, state, index);
  ensureVisible(list, state, index);
  if (changed) notifyList(list, LBN_SELCHANGE);
}

// Space: toggles the caret's item (multiple), or selects it as a tap would (extended).
void space(HWND list, ListBoxState& state) {
  const int caret = state.caret;
  if (caret < 0 || caret >= count(state)) return;
  bool changed = false;
  switch (selectionKind(list)) {
    case Selection::Single: changed = selectOnly(list, state, caret); break;
    case Selection::Multiple: changed = setSelected(list, state, caret, !state.items[static_cast<size_t>(caret)].selected); break;
    case Selection::Extended:
      if (keyHeld(VK_SHIFT)) {
        changed = selectFromAnchor(list, state, caret);
      } else if (keyHeld(VK_CONTROL)) {
        changed = setSelected(list, state, caret, !state.items[static_cast<size_t>(caret)].selected);
        state.anchor = caret;
      } else {
        changed = selectAlone(list, state, caret);
      }
      break;
  }
  if (changed) notifyList(list, LBN_SELCHANGE);
}

// The item the stylus is on, following it while held: single and extended lists select it.
void follow(HWND list, ListBoxState& state, int index, bool first, WPARAM keys) {
  bool changed = false;
  switch (selectionKind(list)) {
    case Selection::Single: changed = selectOnly(list, state, index); break;
    case Selection::Multiple:
      if (first) changed = setSelected(list, state, index, !state.items[static_cast<size_t>(index)].selected);
      break;
    case Selection::Extended: {
      const bool shift = (keys & MK_SHIFT) || keyHeld(VK_SHIFT);
      const bool control = (keys & MK_CONTROL) || keyHeld(VK_CONTROL);
      if (first && control && !shift) {
        changed = setSelected(list, state, index, !state.items[static_cast<size_t>(index)].selected);
        state.anchor = index;
      } else if (first && !shift) {
        changed = selectAlone(list, state, index);
      } else if (!control) {
        changed = selectFromAnchor(list, state, index);
      }
      break;
    }
  }
  setCaret(list, state, index);
  ensureVisible(list, state, index);
  state.changed = state.changed || changed;
}

}  // namespace

LRESULT stylusDown(HWND list, ListBoxState& state, WPARAM keys, POINT point) {
  bool outside = false;
  if (state.combo) {
    if (!(GetWindowLongW(list, GWL_STYLE) & WS_POPUP)) {
      SetFocus(state.combo);  // the list of a simple combo: the combo takes the focus
      if (stateOf<ListBoxState>(list) != &state) return 0;
    }
    int index = itemAt(list, state, point, outside);
    if (outside) {
      RECT client{};
      GetClientRect(list, &client);
      if (!PtInRect(&client, point)) {
        notifyList(list, kListCancelled);
        return 0;
      }
    }
    state.tracking = true;
    if (index >= 0 && !outside && selectOnly(list, state, index)) notifyList(list, LBN_SELCHANGE);
    return 0;
  }
  SetFocus(list);
  ListBoxState* current = stateOf<ListBoxState>(list);  // the focus notification may have ended it
  if (!current || current != &state) return 0;
  SetCapture(list);
  state.tracking = true;
  state.changed = false;
  const int index = itemAt(list, state, point, outside);
  if (index >= 0 && !outside) follow(list, state, index, true, keys);
  return 0;
}

LRESULT stylusMove(HWND list, ListBoxState& state, POINT point) {
  if (!state.tracking) return 0;
  bool outside = false;
  int index = itemAt(list, state, point, outside);
  if (index < 0) return 0;
  if (state.combo) {
    if (!outside && selectOnly(list, state, index)) notifyList(list, LBN_SELCHANGE);
    return 0;
  }
  RECT client{};
  GetClientRect(list, &client);
  // Held above or below the list: it scrolls one item per move.
  if (point.y < client.top) index = std::max(0, state.top - 1);
  else if (point.y >= client.bottom) index = std::min(count(state) - 1, state.top + visibleRows(list, state));
  else if (outside) return 0;
  follow(list, state, index, false, 0);
  return 0;
}

LRESULT stylusUp(HWND list, ListBoxState& state, POINT point) {
  if (!state.tracking) return 0;
  state.tracking = false;
  if (state.combo) {
    bool outside = false;
    if (itemAt(list, state, point, outside) >= 0 && !outside) notifyList(list, kListChosen);
    return 0;
  }
  const bool changed = state.changed;
  state.changed = false;
  ReleaseCapture();
  if (changed && IsWindow(list)) notifyList(list, LBN_SELCHANGE);
  return 0;
}

LRESULT keyDown(HWND list, ListBoxState& state, WPARAM key) {
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  ListBoxState* current = &state;
  if ((style & LBS_WANTKEYBOARDINPUT) && !state.combo) {
    const LRESULT answer = SendMessageW(GetParent(list), WM_VKEYTOITEM, MAKEWPARAM(key, state.caret),
                                        reinterpret_cast<LPARAM>(list));
    current = stateOf<ListBoxState>(list);
    if (!current || answer == -2) return 0;
    if (answer >= 0) {
      moveTo(list, *current, static_cast<int>(answer));
      return 0;
    }
  }
  ListBoxState& s = *current;
  const int caret = s.caret >= 0 ? s.caret : (s.selection >= 0 ? s.selection : -1);
  const int page = std::max(1, visibleRows(list, s) - 1);
  switch (key) {
    case VK_UP:
    case VK_LEFT: moveTo(list, s, caret < 0 ? 0 : caret - 1); break;
    case VK_DOWN:
    case VK_RIGHT: moveTo(list, s, caret + 1); break;
    case VK_PRIOR: moveTo(list, s, caret - page); break;
    case VK_NEXT: moveTo(list, s, caret + page); break;
    case VK_HOME: moveTo(list, s, 0); break;
    case VK_END: moveTo(list, s, count(s) - 1); break;
    case VK_SPACE: space(list, s); break;
    default: break;
  }
  return 0;
}

LRESULT character(HWND list, ListBoxState& state, WPARAM unit) {
  if (!hasStrings(list)) {
    if (!(GetWindowLongW(list, GWL_STYLE) & LBS_WANTKEYBOARDINPUT) || state.combo) return 0;
    const LRESULT answer = SendMessageW(GetParent(list), WM_CHARTOITEM, MAKEWPARAM(unit, state.caret),
                                        reinterpret_cast<LPARAM>(list));
    ListBoxState* current = stateOf<ListBoxState>(list);
    if (current && answer >= 0) moveTo(list, *current, static_cast<int>(answer));
    return 0;
  }
  if (unit < 0x20 || unit == u' ') return 0;
  // Type-ahead: the next item after the caret that starts with the letter, wrapping.
  const char16_t wanted = strings::foldCase(static_cast<char16_t>(unit));
  const int total = count(state);
  for (int step = 1; step <= total; ++step) {
    const int index = (std::max(state.caret, -1) + step) % total;
    const auto& text = state.items[static_cast<size_t>(index)].text;
    if (!text.empty() && strings::foldCase(text.front()) == wanted) {
      moveTo(list, state, index);
      break;
    }
  }
  return 0;
}

}  // namespace handheld::user::controls
