// The list's own stylus and keys. A tap selects the row under it alone and marks it; with
// control held it toggles that row; with shift it selects the rows from the mark to it. Keys
// move the focus (and the selection with it, unless control is held), space selects, enter
// reports NM_RETURN.
#include <algorithm>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::keyHeld;
using user::controls::notifyParent;

namespace {


UINT keyFlags() {
  return (keyHeld(VK_MENU) ? LVKF_ALT : 0) | (keyHeld(VK_CONTROL) ? LVKF_CONTROL : 0) | (keyHeld(VK_SHIFT) ? LVKF_SHIFT : 0);
}

bool multiple(HWND list) { return !(GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL); }

// The row alone selected, focused and marked.
void selectOnly(HWND list, int index) {
  deselectOthers(list, index);
  changeItemState(list, index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  if (ListViewState* state = liveState(list)) state->selectionMark = index;
}

// Shift: the rows from the mark (this row when there is none) to this one, and the focus.
void extendTo(HWND list, int index) {
  ListViewState* state = liveState(list);
  if (!state) return;
  if (state->selectionMark < 0 || state->selectionMark >= static_cast<int>(state->items.size()))
    state->selectionMark = index;
  selectRange(list, state->selectionMark, index, true);
  changeItemState(list, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

void notifyActivation(HWND list, UINT code, int item, int subItem, POINT p) {
  NMITEMACTIVATE notice{};
  notice.iItem = item;
  notice.iSubItem = subItem;
  notice.ptAction = p;
  notice.uKeyFlags = keyFlags();
  if (ListViewState* state = liveState(list); state && item >= 0 && item < static_cast<int>(state->items.size())) {
    notice.lParam = state->items[static_cast<size_t>(item)].lParam;
    notice.uNewState = notice.uOldState = state->items[static_cast<size_t>(item)].state;
  }
  notifyParent(list, notice.hdr, code);
}

// Where the keys move the focus from `focus`; -1 for keys that do not move it.
int keyTarget(HWND list, const ListViewState& state, WPARAM key, int focus) {
  const int last = static_cast<int>(state.items.size()) - 1;
  const int page = std::max(1, countPerPage(list, state) - 1);
  switch (key) {
    case VK_UP: return focus < 0 ? 0 : std::max(0, focus - 1);
    case VK_DOWN: return focus < 0 ? 0 : std::min(last, focus + 1);
    case VK_PRIOR: return std::max(0, focus - page);
    case VK_NEXT: return std::min(last, std::max(0, focus) + page);
    case VK_HOME: return 0;
    case VK_END: return last;
    default: return -1;
  }
}

}  // namespace

LRESULT stylusDown(HWND list, POINT p, bool doubleTap) {
  if (GetFocus() != list) SetFocus(list);
  ListViewState* state = liveState(list);  // the focus notices may have ended it
  if (!state) return 0;
  LVHITTESTINFO hit{};
  hit.pt = p;
  const int index = static_cast<int>(hitTest(list, *state, &hit, true));
  const bool control = keyHeld(VK_CONTROL) && multiple(list), shift = keyHeld(VK_SHIFT) && multiple(list);
  if (index < 0) {
    if (!control && !shift) deselectOthers(list, -1);
  } else if (control) {
    const bool selected = (state->items[static_cast<size_t>(index)].state & LVIS_SELECTED) != 0;
    changeItemState(list, index, (selected ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if ((state = liveState(list))) state->selectionMark = index;
  } else if (shift) {
    extendTo(list, index);
  } else {
    selectOnly(list, index);
  }
  if (!(state = liveState(list))) return 0;
  state->tracking = true;
  state->pressedItem = index;
  state->pressedSubItem = hit.iSubItem;
  SetCapture(list);
  if (doubleTap) notifyActivation(list, NM_DBLCLK, index, hit.iSubItem, p);
  return 0;
}

LRESULT stylusUp(HWND list, POINT p) {
  ListViewState* state = liveState(list);
  if (!state || !state->tracking) return 0;
  state->tracking = false;
  const int item = state->pressedItem, subItem = state->pressedSubItem;
  if (GetCapture() == list) ReleaseCapture();
  notifyActivation(list, NM_CLICK, item, subItem, p);
  return 0;
}

LRESULT keyDown(HWND list, WPARAM key) {
  NMLVKEYDOWN notice{};
  notice.wVKey = static_cast<WORD>(key);
  notifyParent(list, notice.hdr, LVN_KEYDOWN);
  ListViewState* state = liveState(list);
  if (!state || state->items.empty()) return 0;
  const int focus = focusedItem(*state);
  const bool control = keyHeld(VK_CONTROL) && multiple(list), shift = keyHeld(VK_SHIFT) && multiple(list);
  if (key == VK_RETURN) {
    NMHDR enter{};
    notifyParent(list, enter, NM_RETURN);
    return 0;
  }
  if (key == VK_SPACE) {
    const int index = focus < 0 ? 0 : focus;
    if (control) {
      const bool selected = (state->items[static_cast<size_t>(index)].state & LVIS_SELECTED) != 0;
      changeItemState(list, index, (selected ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    } else {
      selectOnly(list, index);
    }
    return 0;
  }
  const int target = keyTarget(list, *state, key, focus);
  if (target < 0) return 0;
  if (control) {
    changeItemState(list, target, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (shift) {
    extendTo(list, target);
  } else {
    selectOnly(list, target);
  }
  if ((state = liveState(list)) && target < static_cast<int>(state->items.size())) ensureVisible(list, *state, target, false);
  return 0;
}

}  // namespace handheld::controls
