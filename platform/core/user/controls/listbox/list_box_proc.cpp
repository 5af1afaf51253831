// The list box's window procedure: the LB_ messages, focus, font, scrolling and automation.
#include <algorithm>
#include <cstring>
#include <new>

#include "strings/case_fold.h"
#include "strings/collation.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

int countOf(const ListBoxState& state) { return static_cast<int>(state.items.size()); }
bool valid(const ListBoxState& state, WPARAM index) {
  return static_cast<int>(index) >= 0 && static_cast<int>(index) < countOf(state);
}

void changedItems(HWND list, ListBoxState& state) {
  updateScrollBar(list, state);
  InvalidateRect(list, nullptr, TRUE);
}

// Where a text goes in a sorted list: after the items that sort before it or equal it, in
// the device's word sort without regard to case (as lstrcmpiW compares).
size_t sortedPosition(const ListBoxState& state, const std::u16string& text) {
  auto at = std::upper_bound(state.items.begin(), state.items.end(), text, [](const std::u16string& t, const ListItem& item) {
    return strings::collate(t, item.text, strings::kIgnoreCase) < 0;
  });
  return static_cast<size_t>(at - state.items.begin());
}

// `index` -1 appends. Lists without strings keep the value as item data.
LRESULT insertItem(HWND list, ListBoxState& state, int index, LPARAM value, bool sorted) {
  ListItem item;
  if (hasStrings(list)) {
    if (!value) return LB_ERR;
    item.text = reinterpret_cast<const char16_t*>(value);
  } else {
    item.data = static_cast<ULONG_PTR>(value);
    sorted = false;
  }
  if (index == -1) index = countOf(state);
  if (index < 0 || index > countOf(state)) return LB_ERR;
  if (sorted) index = static_cast<int>(sortedPosition(state, item.text));
  try {
    state.items.insert(state.items.begin() + index, std::move(item));
  } catch (const std::bad_alloc&) {
    notifyList(list, static_cast<WORD>(LBN_ERRSPACE));
    return LB_ERRSPACE;
  }
  itemInserted(state, index);
  changedItems(list, state);
  return index;
}

LRESULT deleteItem(HWND list, ListBoxState& state, WPARAM index) {
  if (!valid(state, index)) return LB_ERR;
  const int at = static_cast<int>(index);
  state.items.erase(state.items.begin() + at);
  itemRemoved(state, at);
  setTop(list, state, state.top);
  changedItems(list, state);
  return countOf(state);
}

LRESULT resetContent(HWND list, ListBoxState& state) {
  state.items.clear();
  state.selection = state.caret = state.anchor = -1;
  state.top = 0;
  changedItems(list, state);
  return LB_OKAY;
}

// Searches after `start` (-1 or out of range: from the first item), wrapping round; texts
// compare without regard to case, as a prefix unless `exact`. Lists without strings compare
// item data.
LRESULT findItem(HWND list, const ListBoxState& state, WPARAM start, LPARAM value, bool exact) {
  const int count = countOf(state);
  if (count == 0) return LB_ERR;
  const bool strings = hasStrings(list);
  if (strings && !value) return LB_ERR;
  const std::u16string_view wanted = strings ? std::u16string_view(reinterpret_cast<const char16_t*>(value)) : std::u16string_view();
  const int first = valid(state, start) ? static_cast<int>(start) + 1 : 0;
  for (int step = 0; step < count; ++step) {
    const int index = (first + step) % count;
    const ListItem& item = state.items[static_cast<size_t>(index)];
    if (!strings) {
      if (item.data == static_cast<ULONG_PTR>(value)) return index;
      continue;
    }
    const std::u16string_view text = item.text;
    if (exact ? strings::equalNoCase(text, wanted)
              : text.size() >= wanted.size() && strings::equalNoCase(text.substr(0, wanted.size()), wanted))
      return index;
  }
  return LB_ERR;
}

LRESULT getText(HWND list, const ListBoxState& state, WPARAM index, LPARAM buffer) {
  if (!valid(state, index) || !buffer) return LB_ERR;
  const ListItem& item = state.items[index];
  if (!hasStrings(list)) {
    std::memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof item.data);
    return sizeof item.data;
  }
  auto* out = reinterpret_cast<char16_t*>(buffer);
  std::copy(item.text.begin(), item.text.end(), out);
  out[item.text.size()] = u'\0';
  return static_cast<LRESULT>(item.text.size());
}

LRESULT setCurrent(HWND list, ListBoxState& state, WPARAM index) {
  if (selectionKind(list) != Selection::Single) return LB_ERR;
  if (static_cast<int>(index) == -1) {
    selectOnly(list, state, -1);
    return LB_ERR;  // as the platform answers a cleared selection
  }
  if (!valid(state, index)) return LB_ERR;
  selectOnly(list, state, static_cast<int>(index));
  ensureVisible(list, state, static_cast<int>(index));
  return static_cast<LRESULT>(index);
}

LRESULT setSelection(HWND list, ListBoxState& state, WPARAM select, LPARAM index) {
  if (selectionKind(list) == Selection::Single) return LB_ERR;
  if (static_cast<int>(index) == -1) {
    selectRange(list, state, 0, countOf(state) - 1, select != 0);
    return LB_OKAY;
  }
  if (!valid(state, static_cast<WPARAM>(index))) return LB_ERR;
  setSelected(list, state, static_cast<int>(index), select != 0);
  setCaret(list, state, static_cast<int>(index));
  return LB_OKAY;
}

LRESULT selectedItems(HWND list, const ListBoxState& state, WPARAM room, LPARAM buffer) {
  if (selectionKind(list) == Selection::Single || !buffer) return LB_ERR;
  auto* out = reinterpret_cast<int*>(buffer);
  int written = 0;
  for (int i = 0; i < countOf(state) && written < static_cast<int>(room); ++i)
    if (state.items[static_cast<size_t>(i)].selected) out[written++] = i;
  return written;
}

LRESULT selectString(HWND list, ListBoxState& state, WPARAM start, LPARAM text) {
  const LRESULT index = findItem(list, state, start, text, false);
  if (index == LB_ERR) return LB_ERR;
  if (selectionKind(list) == Selection::Single) {
    selectOnly(list, state, static_cast<int>(index));
  } else {
    setSelected(list, state, static_cast<int>(index), true);
    setCaret(list, state, static_cast<int>(index));
  }
  ensureVisible(list, state, static_cast<int>(index));
  return index;
}

void measureOwnerDrawn(HWND list, ListBoxState& state) {
  if (!isOwnerDrawn(list) || state.combo) return;
  RECT client{};
  GetClientRect(list, &client);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_LISTBOX;
  measure.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
  measure.itemWidth = static_cast<UINT>(client.right - client.left);
  measure.itemHeight = static_cast<UINT>(itemHeightOf(list, state));
  SendMessageW(GetParent(list), WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  if (auto* current = stateOf<ListBoxState>(list); current && measure.itemHeight > 0)
    current->itemHeight = static_cast<int>(std::min<UINT>(measure.itemHeight, 255));
}

void describe(HWND list, const ListBoxState& state, nlohmann::json& out) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : state.items) items.push_back(strings::toUtf8(item.text));
  const Selection kind = selectionKind(list);
  out["items"] = std::move(items);
  if (kind == Selection::Single) {
    out["selection"] = state.selection;
  } else {
    nlohmann::json selected = nlohmann::json::array();
    for (int i = 0; i < countOf(state); ++i)
      if (state.items[static_cast<size_t>(i)].selected) selected.push_back(i);
    out["selection"] = selected.empty() ? -1 : selected.front().get<int>();
    out["selected"] = std::move(selected);
  }
  out["topIndex"] = state.top;
  out["caretIndex"] = state.caret;
}

LRESULT paint(HWND list, ListBoxState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(list, &ps);
  if (hdc) paintListBox(list, hdc, state);
  EndPaint(list, &ps);
  return 0;
}

LRESULT listMessage(HWND list, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_CREATE:
      measureOwnerDrawn(list, state);
      if (ListBoxState* current = stateOf<ListBoxState>(list)) {
        fitHeight(list, *current);
        updateScrollBar(list, *current);
      }
      return 0;
    case WM_SIZE:
      fitHeight(list, state);
      setTop(list, state, state.top);
      updateScrollBar(list, state);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT: return paint(list, state);
    case WM_ERASEBKGND: return TRUE;  // painting covers it all
    case WM_SETFONT:
      state.font = reinterpret_cast<HFONT>(wParam);
      if (!isOwnerDrawn(list)) state.itemHeight = 0;
      updateScrollBar(list, state);
      if (lParam) InvalidateRect(list, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state.font);
    case WM_ENABLE: InvalidateRect(list, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
      state.focused = true;
      if (state.caret < 0 && !state.items.empty()) state.caret = state.selection >= 0 ? state.selection : 0;
      redrawItem(list, state, state.caret);
      notifyList(list, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state.focused = false;
      redrawItem(list, state, state.caret);
      if (state.tracking && !state.combo) ReleaseCapture();
      if (IsWindow(list)) notifyList(list, LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: return stylusDown(list, state, wParam, point);
    case WM_LBUTTONDBLCLK:
      stylusDown(list, state, wParam, point);
      if (IsWindow(list)) notifyList(list, LBN_DBLCLK);
      return 0;
    case WM_MOUSEMOVE: return stylusMove(list, state, point);
    case WM_LBUTTONUP: return stylusUp(list, state, point);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) == list) return 0;
      if (state.combo && IsWindowVisible(list)) {  // taken from a dropped list
        state.tracking = false;
        notifyList(list, kListCancelled);
      } else if (!state.combo && state.tracking) {
        state.tracking = false;
        if (state.changed) notifyList(list, LBN_SELCHANGE);
        state.changed = false;
      }
      return 0;
    case WM_KEYDOWN: return keyDown(list, state, wParam);
    case WM_CHAR: return character(list, state, wParam);
    case WM_VSCROLL: return scrollVertically(list, state, LOWORD(wParam));
    case WM_AUTOMATION_STATE: describe(list, state, automationStateOf(lParam)); return 0;
    case LB_ADDSTRING:
      return insertItem(list, state, -1, lParam, (GetWindowLongW(list, GWL_STYLE) & LBS_SORT) != 0);
    case LB_INSERTSTRING: return insertItem(list, state, static_cast<int>(wParam), lParam, false);
    case LB_DELETESTRING: return deleteItem(list, state, wParam);
    case LB_RESETCONTENT: return resetContent(list, state);
    case LB_GETTEXT: return getText(list, state, wParam, lParam);
    case LB_GETTEXTLEN:
      if (!valid(state, wParam)) return LB_ERR;
      return hasStrings(list) ? static_cast<LRESULT>(state.items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_GETCOUNT: return countOf(state);
    case LB_FINDSTRING: return findItem(list, state, wParam, lParam, false);
    case LB_FINDSTRINGEXACT: return findItem(list, state, wParam, lParam, true);
    case LB_SELECTSTRING: return selectString(list, state, wParam, lParam);
    case LB_SETCURSEL: return setCurrent(list, state, wParam);
    case LB_GETCURSEL:
      return selectionKind(list) == Selection::Single ? state.selection : state.caret;
    case LB_SETSEL: return setSelection(list, state, wParam, lParam);
    case LB_GETSEL:
      if (!valid(state, wParam)) return LB_ERR;
      return isSelected(state, selectionKind(list), static_cast<int>(wParam)) ? 1 : 0;
    case LB_GETSELCOUNT: {
      if (selectionKind(list) == Selection::Single) return LB_ERR;
      return std::count_if(state.items.begin(), state.items.end(), [](const ListItem& i) { return i.selected; });
    }
    case LB_GETSELITEMS: return selectedItems(list, state, wParam, lParam);
    case LB_SELITEMRANGE:
      if (selectionKind(list) == Selection::Single) return LB_ERR;
      selectRange(list, state, LOWORD(lParam), HIWORD(lParam), wParam != 0);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (selectionKind(list) == Selection::Single) return LB_ERR;
      const int first = static_cast<int>(wParam), last = static_cast<int>(lParam);
      selectRange(list, state, first, last, first <= last);  // reversed: the range is cleared
      return LB_OKAY;
    }
    case LB_SETANCHORINDEX:
      if (!valid(state, wParam)) return LB_ERR;
      state.anchor = static_cast<int>(wParam);
      return LB_OKAY;
    case LB_GETANCHORINDEX: return state.anchor;
    case LB_SETCARETINDEX:
      if (!valid(state, wParam)) return LB_ERR;
      setCaret(list, state, static_cast<int>(wParam));
      ensureVisible(list, state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETCARETINDEX: return state.caret;
    case LB_SETITEMDATA:
      if (!valid(state, wParam)) return LB_ERR;
      state.items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return LB_OKAY;
    case LB_GETITEMDATA:
      if (!valid(state, wParam)) return LB_ERR;
      return static_cast<LRESULT>(state.items[wParam].data);
    case LB_SETTOPINDEX:
      if (!valid(state, wParam)) return LB_ERR;
      setTop(list, state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETTOPINDEX: return state.top;
    case LB_GETITEMRECT:
      if (!valid(state, wParam) || !lParam) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = itemRect(list, state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_ITEMFROMPOINT: {
      bool outside = false;
      const int index = itemAt(list, state, point, outside);
      if (index < 0) return MAKELRESULT(0, 1);
      return MAKELRESULT(static_cast<WORD>(index), outside ? 1 : 0);
    }
    case LB_GETITEMHEIGHT: return itemHeightOf(list, state);
    case LB_SETITEMHEIGHT: {
      const int height = LOWORD(lParam);
      if (height <= 0 || height > 255) return LB_ERR;
      state.itemHeight = height;
      fitHeight(list, state);
      changedItems(list, state);
      return LB_OKAY;
    }
    case LB_INITSTORAGE:
      try {
        state.items.reserve(state.items.size() + static_cast<size_t>(wParam));
      } catch (const std::exception&) {
        return LB_ERRSPACE;
      }
      return static_cast<LRESULT>(state.items.capacity());
    default: return DefWindowProcW(list, message, wParam, lParam);
  }
}

LRESULT listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, bool comboList) {
  if (message == WM_NCCREATE) {
    auto* state = attachState<ListBoxState>(list);
    state->scrollBar = (reinterpret_cast<CREATESTRUCTW*>(lParam)->style & WS_VSCROLL) != 0;
    if (comboList) state->combo = static_cast<HWND>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  }
  ListBoxState* state = stateOf<ListBoxState>(list);
  if (!state) return DefWindowProcW(list, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    detachState<ListBoxState>(list);
    return DefWindowProcW(list, message, wParam, lParam);
  }
  return listMessage(list, *state, message, wParam, lParam);
}

LRESULT CALLBACK listBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  return listProc(list, message, wParam, lParam, false);
}
LRESULT CALLBACK comboListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  return listProc(list, message, wParam, lParam, true);
}

}  // namespace

WNDCLASSW listBoxClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = listBoxProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"LISTBOX";
  return c;
}

WNDCLASSW comboListClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_SAVEBITS;
  c.lpfnWndProc = comboListProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"ComboLBox";
  return c;
}

}  // namespace handheld::user::controls
