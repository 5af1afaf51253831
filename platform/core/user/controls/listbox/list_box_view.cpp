// Where the items stand: their height, the rows the client area shows, the first item shown
// and the vertical scroll bar that follows it.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

int clientHeight(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  return client.bottom - client.top;
}

int maxTop(HWND list, ListBoxState& state) {
  return std::max(0, static_cast<int>(state.items.size()) - visibleRows(list, state));
}

}  // namespace

int itemHeightOf(HWND list, ListBoxState& state) {
  if (state.itemHeight > 0) return state.itemHeight;
  HDC hdc = GetDC(list);
  HGDIOBJ old = SelectObject(hdc, fontOr(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(list, hdc);
  state.itemHeight = std::max(1, static_cast<int>(metrics.tmHeight) + 2 * lineWidth());
  return state.itemHeight;
}

int visibleRows(HWND list, ListBoxState& state) {
  return std::max(1, clientHeight(list) / itemHeightOf(list, state));
}

RECT itemRect(HWND list, ListBoxState& state, int index) {
  RECT client{};
  GetClientRect(list, &client);
  const int height = itemHeightOf(list, state);
  const int top = (index - state.top) * height;
  return {client.left, top, client.right, top + height};
}

int itemAt(HWND list, ListBoxState& state, POINT point, bool& outside) {
  RECT client{};
  GetClientRect(list, &client);
  outside = !PtInRect(&client, point);
  const int count = static_cast<int>(state.items.size());
  if (count == 0) return -1;
  const int height = itemHeightOf(list, state);
  int row = point.y < 0 ? -1 : point.y / height;
  if (point.y >= client.bottom) row = client.bottom / height;
  int index = state.top + row;
  if (index >= count) outside = true;  // below the last item
  return std::clamp(index, 0, count - 1);
}

void updateScrollBar(HWND list, ListBoxState& state) {
  if (!state.scrollBar) return;
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | ((style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
  info.nMin = 0;
  info.nMax = std::max(0, static_cast<int>(state.items.size()) - 1);
  info.nPage = static_cast<UINT>(visibleRows(list, state));
  info.nPos = state.top;
  SetScrollInfo(list, SB_VERT, &info, TRUE);
}

void setTop(HWND list, ListBoxState& state, int top) {
  top = std::clamp(top, 0, maxTop(list, state));
  if (top == state.top) return;
  state.top = top;
  InvalidateRect(list, nullptr, TRUE);
  updateScrollBar(list, state);
}

void ensureVisible(HWND list, ListBoxState& state, int index) {
  if (index < 0) return;
  const int rows = visibleRows(list, state);
  if (index < state.top) setTop(list, state, index);
  else if (index >= state.top + rows) setTop(list, state, index - rows + 1);
}

void redrawItem(HWND list, ListBoxState& state, int index) {
  if (index < 0 || index >= static_cast<int>(state.items.size())) return;
  RECT r = itemRect(list, state, index);
  InvalidateRect(list, &r, TRUE);
}

void fitHeight(HWND list, ListBoxState& state) {
  if ((GetWindowLongW(list, GWL_STYLE) & LBS_NOINTEGRALHEIGHT) || state.resizing) return;
  const int height = itemHeightOf(list, state);
  const int client = clientHeight(list);
  const int extra = client % height;
  if (extra == 0 || client < height) return;
  RECT window{};
  GetWindowRect(list, &window);
  state.resizing = true;
  SetWindowPos(list, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (auto* current = stateOf<ListBoxState>(list)) current->resizing = false;
}

LRESULT scrollVertically(HWND list, ListBoxState& state, WORD request) {
  const int rows = visibleRows(list, state);
  switch (request) {
    case SB_LINEUP: setTop(list, state, state.top - 1); break;
    case SB_LINEDOWN: setTop(list, state, state.top + 1); break;
    case SB_PAGEUP: setTop(list, state, state.top - rows); break;
    case SB_PAGEDOWN: setTop(list, state, state.top + rows); break;
    case SB_TOP: setTop(list, state, 0); break;
    case SB_BOTTOM: setTop(list, state, static_cast<int>(state.items.size())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(list, SB_VERT, &info)) setTop(list, state, info.nTrackPos);
      break;
    }
    default: break;
  }
  return 0;
}

}  // namespace handheld::user::controls
