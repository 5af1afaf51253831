// Items and sub-items: inserting, deleting, reading and changing them, texts the parent gives
// (LVN_GETDISPINFO), finding and sorting.
#include <algorithm>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::notifyParent;

namespace {

constexpr size_t kMaxItems = 1'000'000;  // beyond this, inserting fails rather than exhausting memory

bool validItem(const ListViewState& state, WPARAM index) { return index < state.items.size(); }

// Sub-item 0, or one a column shows.
bool validSubItem(const ListViewState& state, int subItem) {
  if (subItem == 0) return true;
  return std::any_of(state.columns.begin(), state.columns.end(),
                     [&](const ListColumn& c) { return c.subItem == subItem; });
}

std::optional<std::u16string> textFrom(LPCWSTR given) {
  if (given == LPSTR_TEXTCALLBACKW) return std::nullopt;
  return given ? std::u16string(given) : std::u16string();
}

void storeText(ListItem& item, int subItem, std::optional<std::u16string> text) {
  if (item.texts.size() <= static_cast<size_t>(subItem)) item.texts.resize(static_cast<size_t>(subItem) + 1, std::u16string());
  item.texts[static_cast<size_t>(subItem)] = std::move(text);
}

const std::optional<std::u16string>& storedText(const ListItem& item, int subItem) {
  static const std::optional<std::u16string> kEmpty = std::u16string();
  return static_cast<size_t>(subItem) < item.texts.size() ? item.texts[static_cast<size_t>(subItem)] : kEmpty;
}

// Copies at most capacity - 1 characters and a terminator; the number copied.
int copyText(std::u16string_view text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::copy_n(text.data(), count, buffer);
  buffer[count] = u'\0';
  return static_cast<int>(count);
}

// A text the parent handed back: its own string or the buffer, read up to `limit` units.
std::u16string boundedText(LPCWSTR text, size_t limit) {
  if (!text || text == LPSTR_TEXTCALLBACKW) return {};
  size_t length = 0;
  while (length < limit && text[length]) ++length;
  return std::u16string(text, length);
}

// LVN_GETDISPINFO for what `mask` asks; the parent may keep the answer (LVIF_DI_SETITEM).
std::optional<LVITEMW> askParent(HWND list, int index, int subItem, UINT mask, LPWSTR buffer, int capacity) {
  ListViewState* state = liveState(list);
  if (!state || !validItem(*state, static_cast<WPARAM>(index))) return std::nullopt;
  const uint64_t generation = state->generation;
  NMLVDISPINFOW info{};
  info.item.mask = mask;
  info.item.iItem = index;
  info.item.iSubItem = subItem;
  info.item.pszText = buffer;
  info.item.cchTextMax = capacity;
  info.item.lParam = state->items[static_cast<size_t>(index)].lParam;
  info.item.state = state->items[static_cast<size_t>(index)].state;
  if (buffer && capacity > 0) buffer[0] = u'\0';
  notifyParent(list, info.hdr, LVN_GETDISPINFOW);
  state = liveState(list);
  if (!state || state->generation != generation) return std::nullopt;
  if (info.item.mask & LVIF_DI_SETITEM) {
    ListItem& item = state->items[static_cast<size_t>(index)];
    if ((mask & LVIF_TEXT) && (info.item.mask & LVIF_TEXT))
      storeText(item, subItem, boundedText(info.item.pszText, static_cast<size_t>(capacity)));
    if ((mask & LVIF_IMAGE) && (info.item.mask & LVIF_IMAGE) && subItem == 0) item.image = info.item.iImage;
  }
  return info.item;
}

int insertPosition(const ListViewState& state, LONG style, int wanted, const std::u16string& text) {
  const bool ascending = style & LVS_SORTASCENDING, descending = style & LVS_SORTDESCENDING;
  if (!ascending && !descending) return std::min<int>(wanted, static_cast<int>(state.items.size()));
  auto goesBefore = [&](const ListItem& other) {
    const auto& otherText = storedText(other, 0);
    const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), -1,
                                     otherText ? otherText->c_str() : u"", -1) - CSTR_EQUAL;
    return ascending ? order < 0 : order > 0;
  };
  auto at = std::find_if(state.items.begin(), state.items.end(), goesBefore);
  return static_cast<int>(at - state.items.begin());
}

}  // namespace

std::optional<std::u16string> displayText(HWND list, int index, int subItem) {
  ListViewState* state = liveState(list);
  if (!state || !validItem(*state, static_cast<WPARAM>(index))) return std::nullopt;
  const auto& stored = storedText(state->items[static_cast<size_t>(index)], subItem);
  if (stored) return stored;
  WCHAR buffer[MAX_PATH];
  auto answer = askParent(list, index, subItem, LVIF_TEXT, buffer, MAX_PATH);
  if (!answer) return liveState(list) ? std::optional<std::u16string>(std::u16string()) : std::nullopt;
  return boundedText(answer->pszText, MAX_PATH);
}

int displayImage(HWND list, int index) {
  ListViewState* state = liveState(list);
  if (!state || !validItem(*state, static_cast<WPARAM>(index))) return I_IMAGENONE;
  const int image = state->items[static_cast<size_t>(index)].image;
  if (image != I_IMAGECALLBACK) return image;
  auto answer = askParent(list, index, 0, LVIF_IMAGE, nullptr, 0);
  return answer ? answer->iImage : I_IMAGENONE;
}

LRESULT insertItem(HWND list, const LVITEMW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given || given->iSubItem != 0 || given->iItem < 0 || state->items.size() >= kMaxItems) return -1;
  ListItem item;
  item.texts.assign(1, std::u16string());
  if (given->mask & LVIF_TEXT) item.texts[0] = textFrom(given->pszText);
  if (given->mask & LVIF_IMAGE) item.image = given->iImage;
  if (given->mask & LVIF_PARAM) item.lParam = given->lParam;
  if (given->mask & LVIF_INDENT) item.indent = std::max(0, given->iIndent);
  // Focus and selection arrive through changeItemState, so that they stay unique and notify.
  const UINT initial = (given->mask & LVIF_STATE) ? (given->state & given->stateMask) : 0;
  item.state = initial & ~(LVIS_FOCUSED | LVIS_SELECTED);
  const int index = insertPosition(*state, GetWindowLongW(list, GWL_STYLE), given->iItem,
                                   item.texts[0] ? *item.texts[0] : std::u16string());
  const LPARAM lParam = item.lParam;
  state->items.insert(state->items.begin() + index, std::move(item));
  ++state->generation;
  if (state->selectionMark >= index) ++state->selectionMark;
  invalidateFrom(list, *state, index);
  updateScrollBar(list, *state);
  NMLISTVIEW notice{};
  notice.iItem = index;
  notice.lParam = lParam;
  notifyParent(list, notice.hdr, LVN_INSERTITEM);
  if (initial & (LVIS_FOCUSED | LVIS_SELECTED)) changeItemState(list, index, initial, LVIS_FOCUSED | LVIS_SELECTED);
  return index;
}

LRESULT deleteItem(HWND list, WPARAM index) {
  ListViewState* state = liveState(list);
  if (!state || !validItem(*state, index)) return FALSE;
  const uint64_t generation = state->generation;
  NMLISTVIEW notice{};
  notice.iItem = static_cast<int>(index);
  notice.lParam = state->items[index].lParam;
  notifyParent(list, notice.hdr, LVN_DELETEITEM);
  state = liveState(list);
  if (!state || state->generation != generation) return FALSE;
  state->items.erase(state->items.begin() + static_cast<std::ptrdiff_t>(index));
  ++state->generation;
  const int at = static_cast<int>(index);
  if (state->selectionMark == at) state->selectionMark = -1;
  if (state->selectionMark > at) --state->selectionMark;
  if (state->pressedItem >= at) state->pressedItem = -1;
  invalidateFrom(list, *state, at);
  setTopIndex(list, *state, state->topIndex);
  updateScrollBar(list, *state);
  return TRUE;
}

LRESULT deleteAllItems(HWND list) {
  ListViewState* state = liveState(list);
  if (!state) return FALSE;
  NMLISTVIEW notice{};
  notice.iItem = -1;
  const bool spareEach = notifyParent(list, notice.hdr, LVN_DELETEALLITEMS) != 0;
  state = liveState(list);
  if (!state) return FALSE;
  // The items leave first, so that the per-item notices cannot meet a half-emptied list.
  std::vector<ListItem> gone;
  gone.swap(state->items);
  ++state->generation;
  state->selectionMark = -1;
  state->pressedItem = -1;
  state->topIndex = 0;
  InvalidateRect(list, nullptr, FALSE);
  updateScrollBar(list, *state);
  if (!spareEach) {
    for (size_t i = 0; i < gone.size() && IsWindow(list); ++i) {
      NMLISTVIEW each{};
      each.iItem = static_cast<int>(i);
      each.lParam = gone[i].lParam;
      notifyParent(list, each.hdr, LVN_DELETEITEM);
    }
  }
  return TRUE;
}

LRESULT getItem(HWND list, LVITEMW* out) {
  ListViewState* state = liveState(list);
  if (!state || !out || !validItem(*state, static_cast<WPARAM>(out->iItem)) || !validSubItem(*state, out->iSubItem))
    return FALSE;
  const int index = out->iItem;
  if (out->mask & LVIF_TEXT) {
    const auto& stored = storedText(state->items[static_cast<size_t>(index)], out->iSubItem);
    if (stored) {
      copyText(*stored, out->pszText, out->cchTextMax);
    } else {
      std::u16string text;
      if (auto given = displayText(list, index, out->iSubItem)) text = *given;
      copyText(text, out->pszText, out->cchTextMax);
      state = liveState(list);
      if (!state || !validItem(*state, static_cast<WPARAM>(index))) return FALSE;
    }
  }
  if (out->iSubItem != 0) return TRUE;
  if (out->mask & LVIF_IMAGE) {
    out->iImage = displayImage(list, index);
    state = liveState(list);
    if (!state || !validItem(*state, static_cast<WPARAM>(index))) return FALSE;
  }
  const ListItem& item = state->items[static_cast<size_t>(index)];
  if (out->mask & LVIF_PARAM) out->lParam = item.lParam;
  if (out->mask & LVIF_STATE) out->state = item.state & out->stateMask;
  if (out->mask & LVIF_INDENT) out->iIndent = item.indent;
  return TRUE;
}

LRESULT setItem(HWND list, const LVITEMW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given || !validItem(*state, static_cast<WPARAM>(given->iItem)) || !validSubItem(*state, given->iSubItem))
    return FALSE;
  const int index = given->iItem;
  ListItem& item = state->items[static_cast<size_t>(index)];
  if (given->mask & LVIF_TEXT) storeText(item, given->iSubItem, textFrom(given->pszText));
  if (given->iSubItem == 0) {
    if (given->mask & LVIF_IMAGE) item.image = given->iImage;
    if (given->mask & LVIF_PARAM) item.lParam = given->lParam;
    if (given->mask & LVIF_INDENT) item.indent = std::max(0, given->iIndent);
  }
  invalidateItem(list, *state, index);
  if (given->iSubItem == 0 && (given->mask & LVIF_STATE))
    return changeItemState(list, index, given->state, given->stateMask) ? TRUE : FALSE;
  return TRUE;
}

LRESULT getItemText(HWND list, WPARAM index, LVITEMW* out) {
  ListViewState* state = liveState(list);
  if (!state || !out || !validItem(*state, index) || !validSubItem(*state, out->iSubItem)) return 0;
  std::u16string text;
  if (auto shown = displayText(list, static_cast<int>(index), out->iSubItem)) text = *shown;
  return copyText(text, out->pszText, out->cchTextMax);
}

LRESULT setItemText(HWND list, WPARAM index, const LVITEMW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given || !validItem(*state, index) || !validSubItem(*state, given->iSubItem)) return FALSE;
  storeText(state->items[index], given->iSubItem, textFrom(given->pszText));
  invalidateItem(list, *state, static_cast<int>(index));
  return TRUE;
}

LRESULT setItemStateMessage(HWND list, WPARAM index, const LVITEMW* given) {
  ListViewState* state = liveState(list);
  if (!state || !given) return FALSE;
  if (static_cast<int>(index) != -1) {
    if (!validItem(*state, index)) return FALSE;
    return changeItemState(list, static_cast<int>(index), given->state, given->stateMask) ? TRUE : FALSE;
  }
  // Every item; with LVS_SINGLESEL selecting all keeps only one of them.
  const UINT bits = given->state, mask = given->stateMask;
  for (int i = 0; (state = liveState(list)) && i < static_cast<int>(state->items.size()); ++i)
    changeItemState(list, i, bits, mask);
  return TRUE;
}

LRESULT nextItem(const ListViewState& state, int start, UINT flags) {
  const int count = static_cast<int>(state.items.size());
  const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  auto matches = [&](int i) {
    const UINT s = state.items[static_cast<size_t>(i)].state;
    return (!(wanted & LVNI_FOCUSED) || (s & LVIS_FOCUSED)) && (!(wanted & LVNI_SELECTED) || (s & LVIS_SELECTED)) &&
           (!(wanted & LVNI_CUT) || (s & LVIS_CUT)) && (!(wanted & LVNI_DROPHILITED) || (s & LVIS_DROPHILITED));
  };
  if (flags & (LVNI_TOLEFT | LVNI_TORIGHT)) return -1;  // one column of rows
  if (flags & LVNI_ABOVE) {
    for (int i = std::min(start, count) - 1; i >= 0; --i)
      if (matches(i)) return i;
    return -1;
  }
  for (int i = std::max(start + 1, 0); i < count; ++i)
    if (matches(i)) return i;
  return -1;
}

LRESULT findItem(const ListViewState& state, int start, const LVFINDINFOW* find) {
  if (!find) return -1;
  const int count = static_cast<int>(state.items.size());
  if (count == 0) return -1;
  std::u16string wanted = (find->flags & (LVFI_STRING | LVFI_PARTIAL)) && find->psz ? find->psz : u"";
  auto matches = [&](const ListItem& item) {
    if (find->flags & LVFI_PARAM) return item.lParam == find->lParam;
    if (!(find->flags & (LVFI_STRING | LVFI_PARTIAL))) return false;
    const auto& text = storedText(item, 0);
    if (!text) return false;
    const bool partial = find->flags & LVFI_PARTIAL;
    if (partial ? text->size() < wanted.size() : text->size() != wanted.size()) return false;
    const int length = static_cast<int>(wanted.size());
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text->c_str(), length, wanted.c_str(), length) == CSTR_EQUAL;
  };
  const int first = start < -1 || start >= count ? count : start + 1;
  for (int i = first; i < count; ++i)
    if (matches(state.items[static_cast<size_t>(i)])) return i;
  if (find->flags & LVFI_WRAP)
    for (int i = 0; i < std::min(first, count); ++i)
      if (matches(state.items[static_cast<size_t>(i)])) return i;
  return -1;
}

LRESULT sortItems(HWND list, LPARAM sortParam, PFNLVCOMPARE compare) {
  ListViewState* state = liveState(list);
  if (!state || !compare) return FALSE;
  const uint64_t generation = state->generation;
  std::vector<LPARAM> keys;
  keys.reserve(state->items.size());
  for (const ListItem& item : state->items) keys.push_back(item.lParam);
  // A merge sort of positions: it asks the comparison only about pairs and stays within
  // bounds whatever the comparison answers, unlike algorithms that rely on a strict order.
  std::vector<size_t> order(keys.size()), scratch(keys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (size_t width = 1; width < order.size(); width *= 2) {
    for (size_t left = 0; left < order.size(); left += 2 * width) {
      const size_t middle = std::min(left + width, order.size()), right = std::min(left + 2 * width, order.size());
      size_t a = left, b = middle, out = left;
      while (a < middle && b < right)
        scratch[out++] = compare(keys[order[b]], keys[order[a]], sortParam) < 0 ? order[b++] : order[a++];
      while (a < middle) scratch[out++] = order[a++];
      while (b < right) scratch[out++] = order[b++];
    }
    order.swap(scratch);
  }
  state = liveState(list);
  // The comparison may have changed the list; then its order no longer applies.
  if (!state || state->generation != generation) return FALSE;
  std::vector<ListItem> sorted;
  sorted.reserve(order.size());
  int mark = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    if (static_cast<int>(order[i]) == state->selectionMark) mark = static_cast<int>(i);
    sorted.push_back(std::move(state->items[order[i]]));
  }
  state->items.swap(sorted);
  state->selectionMark = mark;
  ++state->generation;
  InvalidateRect(list, nullptr, FALSE);
  return TRUE;
}

}  // namespace handheld::controls
