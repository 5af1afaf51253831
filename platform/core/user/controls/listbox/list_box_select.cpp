// The selection of a list: one index for single selection, a mark per item otherwise; the
// caret and the anchor of an extended selection; indices kept right as items come and go.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

bool valid(const ListBoxState& state, int index) {
  return index >= 0 && index < static_cast<int>(state.items.size());
}

}  // namespace

Selection selectionKind(HWND list) {
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  if (style & LBS_EXTENDEDSEL) return Selection::Extended;
  if (style & LBS_MULTIPLESEL) return Selection::Multiple;
  return Selection::Single;
}

bool isOwnerDrawn(HWND list) { return GetWindowLongW(list, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }

// Owner-drawn lists keep texts only with LBS_HASSTRINGS; the others always do.
bool hasStrings(HWND list) { return !isOwnerDrawn(list) || (GetWindowLongW(list, GWL_STYLE) & LBS_HASSTRINGS); }

bool isSelected(const ListBoxState& state, Selection kind, int index) {
  if (!valid(state, index)) return false;
  return kind == Selection::Single ? state.selection == index : state.items[static_cast<size_t>(index)].selected;
}

bool selectOnly(HWND list, ListBoxState& state, int index) {
  if (!valid(state, index)) index = -1;
  if (state.selection == index) return false;
  redrawItem(list, state, state.selection);
  state.selection = index;
  redrawItem(list, state, index);
  if (index >= 0) setCaret(list, state, index);
  return true;
}

bool setSelected(HWND list, ListBoxState& state, int index, bool selected) {
  if (!valid(state, index)) return false;
  auto& item = state.items[static_cast<size_t>(index)];
  if (item.selected == selected) return false;
  item.selected = selected;
  redrawItem(list, state, index);
  return true;
}

bool selectRange(HWND list, ListBoxState& state, int first, int last, bool selected) {
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(state.items.size()) - 1);
  bool changed = false;
  for (int i = first; i <= last; ++i) changed = setSelected(list, state, i, selected) || changed;
  return changed;
}

void setCaret(HWND list, ListBoxState& state, int index) {
  if (state.caret == index) return;
  redrawItem(list, state, state.caret);
  state.caret = index;
  redrawItem(list, state, index);
}

void itemInserted(ListBoxState& state, int index) {
  for (int* at : {&state.selection, &state.caret, &state.anchor})
    if (*at >= index) ++*at;
}

void itemRemoved(ListBoxState& state, int index) {
  const int count = static_cast<int>(state.items.size());
  if (state.selection == index) state.selection = -1;
  else if (state.selection > index) --state.selection;
  for (int* at : {&state.caret, &state.anchor}) {
    if (*at > index) --*at;
    if (*at >= count) *at = count - 1;
  }
  state.top = std::clamp(state.top, 0, std::max(0, count - 1));
}

void notifyList(HWND list, WORD code) {
  auto* state = stateOf<ListBoxState>(list);
  if (state && state->combo) {
    SendMessageW(state->combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code), reinterpret_cast<LPARAM>(list));
    return;
  }
  const bool userAction = code == LBN_SELCHANGE || code == LBN_DBLCLK || code == LBN_SELCANCEL;
  if (userAction && !(GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY)) return;
  notifyParent(list, code);
}

}  // namespace handheld::user::controls
