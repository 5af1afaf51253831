// The list view's window procedure: one row per message.
#include <algorithm>

#include "controls/listview/listview.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

void redraw(HWND list) { InvalidateRect(list, nullptr, FALSE); }

LRESULT create(HWND list) {
  ListViewState* state = liveState(list);
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  state->background = GetSysColor(COLOR_WINDOW);
  state->textColor = GetSysColor(COLOR_WINDOWTEXT);
  state->textBackground = CLR_DEFAULT;
  state->header = CreateWindowExW(0, WC_HEADERW, nullptr, WS_CHILD | ((style & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS),
                                  0, 0, 0, 0, list, nullptr, nullptr, nullptr);
  if (!state->header) return -1;
  relayout(list);
  return 0;
}

// Without LVS_SHAREIMAGELISTS the list owns the image lists it was given.
void destroyed(HWND list, ListViewState& state) {
  if (!(GetWindowLongW(list, GWL_STYLE) & LVS_SHAREIMAGELISTS)) {
    for (HIMAGELIST images : {state.normalImages, state.smallImages, state.stateImages})
      if (images) ImageList_Destroy(images);
  }
  detachState<ListViewState>(list);
}

LRESULT setImageList(HWND list, ListViewState& state, WPARAM which, HIMAGELIST images) {
  HIMAGELIST* slot = which == LVSIL_NORMAL ? &state.normalImages
                     : which == LVSIL_SMALL ? &state.smallImages
                     : which == LVSIL_STATE ? &state.stateImages
                                            : nullptr;
  if (!slot) return 0;
  HIMAGELIST previous = std::exchange(*slot, images);
  relayout(list);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT getImageList(const ListViewState& state, WPARAM which) {
  switch (which) {
    case LVSIL_NORMAL: return reinterpret_cast<LRESULT>(state.normalImages);
    case LVSIL_SMALL: return reinterpret_cast<LRESULT>(state.smallImages);
    case LVSIL_STATE: return reinterpret_cast<LRESULT>(state.stateImages);
    default: return 0;
  }
}

LRESULT setColor(HWND list, COLORREF& slot, LPARAM color) {
  slot = static_cast<COLORREF>(color);
  redraw(list);
  return TRUE;
}

// LVM_SCROLL moves whole rows: a part of one counts as one.
LRESULT scrollBy(HWND list, ListViewState& state, int dy) {
  const int height = std::max(1, state.rowHeight);
  int rows = dy / height;
  if (rows == 0 && dy != 0) rows = dy > 0 ? 1 : -1;
  setTopIndex(list, state, state.topIndex + rows);
  return TRUE;
}

LRESULT redrawItems(HWND list, const ListViewState& state, int first, int last) {
  const int count = static_cast<int>(state.items.size());
  first = std::max(first, 0);
  last = std::min(last, count - 1);
  for (int i = std::max(first, state.topIndex); i <= last && i <= state.topIndex + countPerPage(list, state); ++i)
    invalidateItem(list, state, i);
  return TRUE;
}

LRESULT setSelectionMark(ListViewState& state, LPARAM mark) {
  const int previous = state.selectionMark;
  state.selectionMark = mark >= 0 && mark < static_cast<LPARAM>(state.items.size()) ? static_cast<int>(mark) : -1;
  return previous;
}

LRESULT setExtendedStyle(HWND list, ListViewState& state, WPARAM mask, LPARAM style) {
  const DWORD changing = mask ? static_cast<DWORD>(mask) : 0xFFFFFFFFu;
  const DWORD previous = state.extendedStyle;
  state.extendedStyle = (previous & ~changing) | (static_cast<DWORD>(style) & changing);
  if (state.extendedStyle != previous) redraw(list);
  return previous;
}

void focusChanged(HWND list, bool focused, UINT code) {
  ListViewState* state = liveState(list);
  state->focused = focused;
  redraw(list);
  NMHDR notice{};
  notifyParent(list, notice, code);
}

void describe(HWND list, nlohmann::json& out) {
  ListViewState* state = liveState(list);
  auto columns = nlohmann::json::array();
  for (const ListColumn& column : state->columns)
    columns.push_back({{"text", strings::toUtf8(column.text)}, {"width", column.width}});
  auto rows = nlohmann::json::array();
  for (int i = 0; (state = liveState(list)) && i < static_cast<int>(state->items.size()); ++i) {
    std::vector<int> subItems;
    for (const ListColumn& column : state->columns) subItems.push_back(column.subItem);
    if (subItems.empty()) subItems.push_back(0);
    auto texts = nlohmann::json::array();
    for (int subItem : subItems) {
      auto text = displayText(list, i, subItem);
      texts.push_back(text ? strings::toUtf8(*text) : std::string());
    }
    if (!(state = liveState(list)) || i >= static_cast<int>(state->items.size())) break;
    const ListItem& item = state->items[static_cast<size_t>(i)];
    rows.push_back({{"texts", std::move(texts)},
                    {"selected", (item.state & LVIS_SELECTED) != 0},
                    {"focused", (item.state & LVIS_FOCUSED) != 0},
                    {"image", item.image},
                    {"stateImage", (item.state & LVIS_STATEIMAGEMASK) >> 12}});
  }
  out["columns"] = std::move(columns);
  out["rows"] = std::move(rows);
  state = liveState(list);
  out["selectionMark"] = state ? state->selectionMark : -1;
  out["topIndex"] = state ? state->topIndex : 0;
}

LRESULT paint(HWND list) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(list, &ps);
  if (hdc) paintList(list, hdc, ps.rcPaint);
  EndPaint(list, &ps);
  return 0;
}

LRESULT CALLBACK listViewProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<ListViewState>(list);
  ListViewState* state = stateOf<ListViewState>(list);
  if (!state) return DefWindowProcW(list, message, wParam, lParam);
  const POINT stylus{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int index = static_cast<int>(wParam);
  switch (message) {
    case WM_CREATE: return create(list);
    case WM_NCDESTROY:
      destroyed(list, *state);
      return DefWindowProcW(list, message, wParam, lParam);
    case WM_SIZE:
    case WM_STYLECHANGED: relayout(list); return 0;
    case WM_PAINT: return paint(list);
    case WM_ERASEBKGND: return TRUE;  // painting covers it all
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (state->header) SendMessageW(state->header, WM_SETFONT, wParam, lParam);
      relayout(list);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE: redraw(list); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: focusChanged(list, true, NM_SETFOCUS); return 0;
    case WM_KILLFOCUS: focusChanged(list, false, NM_KILLFOCUS); return 0;
    case WM_LBUTTONDOWN: return stylusDown(list, stylus, false);
    case WM_LBUTTONDBLCLK: return stylusDown(list, stylus, true);
    case WM_LBUTTONUP: return stylusUp(list, stylus);
    case WM_CAPTURECHANGED:
      if (state->tracking && reinterpret_cast<HWND>(lParam) != list) state->tracking = false;
      return 0;
    case WM_KEYDOWN: return keyDown(list, wParam);
    case WM_VSCROLL: return verticalScroll(list, *state, LOWORD(wParam));
    case WM_NOTIFY: return headerNotification(list, reinterpret_cast<const NMHDR*>(lParam));
    case WM_AUTOMATION_STATE: describe(list, automationStateOf(lParam)); return 0;
    case LVM_GETBKCOLOR: return static_cast<LRESULT>(state->background);
    case LVM_SETBKCOLOR: return setColor(list, state->background, lParam);
    case LVM_GETTEXTCOLOR: return static_cast<LRESULT>(state->textColor);
    case LVM_SETTEXTCOLOR: return setColor(list, state->textColor, lParam);
    case LVM_GETTEXTBKCOLOR: return static_cast<LRESULT>(state->textBackground);
    case LVM_SETTEXTBKCOLOR: return setColor(list, state->textBackground, lParam);
    case LVM_GETIMAGELIST: return getImageList(*state, wParam);
    case LVM_SETIMAGELIST: return setImageList(list, *state, wParam, reinterpret_cast<HIMAGELIST>(lParam));
    case LVM_GETITEMCOUNT: return static_cast<LRESULT>(state->items.size());
    case LVM_SETITEMCOUNT: return TRUE;  // storage grows as items arrive
    case LVM_INSERTITEMW: return insertItem(list, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM: return deleteItem(list, wParam);
    case LVM_DELETEALLITEMS: return deleteAllItems(list);
    case LVM_GETITEMW: return getItem(list, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW: return setItem(list, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW: return getItemText(list, wParam, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW: return setItemText(list, wParam, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE:
      return wParam < state->items.size() ? static_cast<LRESULT>(state->items[wParam].state & static_cast<UINT>(lParam)) : 0;
    case LVM_SETITEMSTATE: return setItemStateMessage(list, wParam, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETNEXTITEM: return nextItem(*state, index, static_cast<UINT>(lParam));
    case LVM_GETSELECTEDCOUNT: return selectedCount(*state);
    case LVM_GETSELECTIONMARK: return state->selectionMark;
    case LVM_SETSELECTIONMARK: return setSelectionMark(*state, lParam);
    case LVM_FINDITEMW: return findItem(*state, index, reinterpret_cast<const LVFINDINFOW*>(lParam));
    case LVM_SORTITEMS: return sortItems(list, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_HITTEST: return hitTest(list, *state, reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST: return hitTest(list, *state, reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_GETITEMRECT: return itemRect(list, *state, index, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT: return subItemRect(list, *state, index, reinterpret_cast<RECT*>(lParam));
    case LVM_ENSUREVISIBLE:
      if (wParam >= state->items.size()) return FALSE;
      ensureVisible(list, *state, index, lParam != 0);
      return TRUE;
    case LVM_GETTOPINDEX: return state->topIndex;
    case LVM_GETCOUNTPERPAGE: return countPerPage(list, *state);
    case LVM_SCROLL: return scrollBy(list, *state, static_cast<int>(lParam));
    case LVM_REDRAWITEMS: return redrawItems(list, *state, index, static_cast<int>(lParam));
    case LVM_UPDATE:
      if (wParam >= state->items.size()) return FALSE;
      invalidateItem(list, *state, index);
      return TRUE;
    case LVM_INSERTCOLUMNW: return insertColumn(list, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN: return deleteColumn(list, wParam);
    case LVM_GETCOLUMNW: return getColumn(*state, wParam, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW: return setColumn(list, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH: return wParam < state->columns.size() ? state->columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH: return setColumnWidth(list, wParam, static_cast<short>(LOWORD(lParam)));
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(state->header);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: return setExtendedStyle(list, *state, wParam, lParam);
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return static_cast<LRESULT>(state->extendedStyle);
    default: return DefWindowProcW(list, message, wParam, lParam);
  }
}

}  // namespace

ListViewState* liveState(HWND list) { return IsWindow(list) ? stateOf<ListViewState>(list) : nullptr; }

WNDCLASSW listViewClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = listViewProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = WC_LISTVIEWW;
  return c;
}

}  // namespace handheld::controls
