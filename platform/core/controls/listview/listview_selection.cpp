// Item states: focus and selection (kept unique where they must be), state and overlay
// images, each change offered to the parent before it is made.
#include <algorithm>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::notifyParent;

namespace {

// Takes `bit` from every item but `keep`; false when the list went away or `keep` moved.
bool clearOthers(HWND list, int keep, UINT bit) {
  ListViewState* state = liveState(list);
  if (!state) return false;
  const uint64_t generation = state->generation;
  for (int i = 0; (state = liveState(list)) && i < static_cast<int>(state->items.size()); ++i) {
    if (state->generation != generation) return false;
    if (i != keep && (state->items[static_cast<size_t>(i)].state & bit)) changeItemState(list, i, 0, bit);
  }
  return state && state->generation == generation;
}

}  // namespace

bool changeItemState(HWND list, int index, UINT bits, UINT mask) {
  ListViewState* state = liveState(list);
  if (!state || index < 0 || index >= static_cast<int>(state->items.size())) return false;
  const UINT old = state->items[static_cast<size_t>(index)].state;
  const UINT wanted = (old & ~mask) | (bits & mask);
  if (wanted == old) return true;
  const bool takesFocus = (wanted & LVIS_FOCUSED) && !(old & LVIS_FOCUSED);
  const bool takesSelection = (wanted & LVIS_SELECTED) && !(old & LVIS_SELECTED);
  if (takesFocus && !clearOthers(list, index, LVIS_FOCUSED)) return false;
  if (takesSelection && (GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL) && !clearOthers(list, index, LVIS_SELECTED))
    return false;
  state = liveState(list);
  if (!state) return false;
  const uint64_t generation = state->generation;
  NMLISTVIEW notice{};
  notice.iItem = index;
  notice.uOldState = state->items[static_cast<size_t>(index)].state;
  notice.uNewState = (notice.uOldState & ~mask) | (bits & mask);
  if (notice.uNewState == notice.uOldState) return true;
  notice.uChanged = LVIF_STATE;
  notice.lParam = state->items[static_cast<size_t>(index)].lParam;
  if (notifyParent(list, notice.hdr, LVN_ITEMCHANGING) != 0) return false;
  state = liveState(list);
  if (!state || state->generation != generation) return false;
  ListItem& item = state->items[static_cast<size_t>(index)];
  notice.uOldState = item.state;
  notice.uNewState = (item.state & ~mask) | (bits & mask);
  item.state = notice.uNewState;
  invalidateItem(list, *state, index);
  notifyParent(list, notice.hdr, LVN_ITEMCHANGED);
  return true;
}

void selectRange(HWND list, int first, int last, bool only) {
  const int low = std::min(first, last), high = std::max(first, last);
  for (int i = 0;; ++i) {
    ListViewState* state = liveState(list);
    if (!state || i >= static_cast<int>(state->items.size())) return;
    const bool inside = i >= low && i <= high;
    if (inside || only) changeItemState(list, i, inside ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
}

void deselectOthers(HWND list, int keep) {
  for (int i = 0;; ++i) {
    ListViewState* state = liveState(list);
    if (!state || i >= static_cast<int>(state->items.size())) return;
    if (i != keep && (state->items[static_cast<size_t>(i)].state & LVIS_SELECTED)) changeItemState(list, i, 0, LVIS_SELECTED);
  }
}

int focusedItem(const ListViewState& state) {
  auto at = std::find_if(state.items.begin(), state.items.end(),
                         [](const ListItem& item) { return (item.state & LVIS_FOCUSED) != 0; });
  return at == state.items.end() ? -1 : static_cast<int>(at - state.items.begin());
}

int selectedCount(const ListViewState& state) {
  return static_cast<int>(std::count_if(state.items.begin(), state.items.end(),
                                        [](const ListItem& item) { return (item.state & LVIS_SELECTED) != 0; }));
}

}  // namespace handheld::controls
