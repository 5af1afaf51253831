// Where things are: the header at the top, rows of one height below it starting at the top
// index, cells by column; hit testing; and scrolling by whole rows, which moves the pixels
// already drawn so that only the uncovered rows are painted.
#include <algorithm>
#include <cstdlib>

#include "controls/listview/listview.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using user::controls::fontOr;
using user::controls::lineWidth;

namespace {

SIZE imageSize(HIMAGELIST images) {
  SIZE size{};
  int cx = 0, cy = 0;
  if (images && ImageList_GetIconSize(images, &cx, &cy)) size = {cx, cy};
  return size;
}

bool intersects(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int maxTopIndex(HWND list, const ListViewState& state) {
  return std::max(0, static_cast<int>(state.items.size()) - std::max(1, countPerPage(list, state)));
}

}  // namespace

void relayout(HWND list) {
  ListViewState* state = liveState(list);
  if (!state) return;
  RECT client;
  GetClientRect(list, &client);
  const bool headings = !(GetWindowLongW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);
  state->headerHeight = 0;
  if (state->header) {
    RECT area = client;
    WINDOWPOS place{};
    HDLAYOUT layout{&area, &place};
    SendMessageW(state->header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    SetWindowPos(state->header, nullptr, place.x, place.y, place.cx, place.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (headings ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (headings) state->headerHeight = place.cy;
  }
  HDC hdc = GetDC(list);
  HGDIOBJ old = SelectObject(hdc, fontOr(state->font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(list, hdc);
  const int images = std::max(imageSize(state->smallImages).cy, imageSize(state->stateImages).cy);
  state->rowHeight = std::max<int>(metrics.tmHeight, images) + 2 * lineWidth();
  state->topIndex = std::clamp(state->topIndex, 0, maxTopIndex(list, *state));
  updateScrollBar(list, *state);
  InvalidateRect(list, nullptr, FALSE);
}

RECT rowsArea(HWND list, const ListViewState& state) {
  RECT client;
  GetClientRect(list, &client);
  client.top = std::min<LONG>(client.bottom, state.headerHeight);
  return client;
}

int countPerPage(HWND list, const ListViewState& state) {
  const RECT area = rowsArea(list, state);
  return (area.bottom - area.top) / std::max(1, state.rowHeight);
}

int totalColumnWidth(const ListViewState& state) {
  int total = 0;
  for (const ListColumn& column : state.columns) total += column.width;
  return total;
}

RECT rowRect(HWND list, const ListViewState& state, int index) {
  const int top = rowsArea(list, state).top + (index - state.topIndex) * state.rowHeight;
  return {0, top, totalColumnWidth(state), top + state.rowHeight};
}

RECT cellRect(HWND list, const ListViewState& state, int index, int column, int part) {
  RECT cell = rowRect(list, state, index);
  for (int c = 0; c < column && c < static_cast<int>(state.columns.size()); ++c)
    cell.left += state.columns[static_cast<size_t>(c)].width;
  cell.right = cell.left + (column < static_cast<int>(state.columns.size()) ? state.columns[static_cast<size_t>(column)].width : 0);
  if (part == LVIR_BOUNDS) return cell;
  int imagesRight = cell.left;
  RECT icon{cell.left, cell.top, cell.left, cell.bottom};
  if (column == 0) {
    const ListItem& item = state.items[static_cast<size_t>(index)];
    const SIZE small = imageSize(state.smallImages);
    icon.left = cell.left + item.indent * small.cx + imageSize(state.stateImages).cx;
    icon.right = icon.left + small.cx;
    imagesRight = icon.right;
  }
  if (part == LVIR_ICON) return icon;
  RECT label = cell;
  label.left = std::min(cell.right, imagesRight);
  if (part == LVIR_LABEL) return label;
  return {icon.left, cell.top, label.right, cell.bottom};  // LVIR_SELECTBOUNDS
}

LRESULT hitTest(HWND list, const ListViewState& state, LVHITTESTINFO* info, bool subItems) {
  if (!info) return -1;
  RECT client;
  GetClientRect(list, &client);
  const POINT p = info->pt;
  info->iItem = -1;
  info->iSubItem = 0;
  info->flags = 0;
  if (p.x < 0) info->flags |= LVHT_TOLEFT;
  if (p.x >= client.right) info->flags |= LVHT_TORIGHT;
  if (p.y < 0) info->flags |= LVHT_ABOVE;
  if (p.y >= client.bottom) info->flags |= LVHT_BELOW;
  if (info->flags) return -1;
  info->flags = LVHT_NOWHERE;
  const RECT area = rowsArea(list, state);
  if (p.y < area.top || state.rowHeight <= 0) return -1;
  const int index = state.topIndex + (p.y - area.top) / state.rowHeight;
  if (index >= static_cast<int>(state.items.size())) return -1;
  int column = -1;
  for (int c = 0; c < static_cast<int>(state.columns.size()); ++c) {
    const RECT cell = cellRect(list, state, index, c, LVIR_BOUNDS);
    if (p.x >= cell.left && p.x < cell.right) column = c;
  }
  const bool wholeRow = (state.extendedStyle & LVS_EX_FULLROWSELECT) != 0;
  if (column < 0 || (column > 0 && !subItems && !wholeRow)) return -1;
  const RECT icon = cellRect(list, state, index, 0, LVIR_ICON);
  if (column > 0 || p.x >= icon.right) {
    info->flags = LVHT_ONITEMLABEL;
  } else {
    info->flags = p.x >= icon.left ? LVHT_ONITEMICON : LVHT_ONITEMSTATEICON;
  }
  info->iItem = index;
  info->iSubItem = subItems ? column : 0;
  return index;
}

LRESULT itemRect(HWND list, const ListViewState& state, int index, RECT* rect) {
  if (!rect || index < 0 || index >= static_cast<int>(state.items.size())) return FALSE;
  const int part = rect->left;
  if (part == LVIR_BOUNDS) {
    *rect = rowRect(list, state, index);
  } else if (part == LVIR_ICON || part == LVIR_LABEL) {
    *rect = cellRect(list, state, index, 0, part);
  } else if (part == LVIR_SELECTBOUNDS) {
    *rect = (state.extendedStyle & LVS_EX_FULLROWSELECT) ? rowRect(list, state, index)
                                                          : cellRect(list, state, index, 0, LVIR_SELECTBOUNDS);
  } else {
    return FALSE;
  }
  return TRUE;
}

LRESULT subItemRect(HWND list, const ListViewState& state, int index, RECT* rect) {
  if (!rect || index < 0 || index >= static_cast<int>(state.items.size())) return FALSE;
  const int column = rect->top, part = rect->left;
  if (column < 0 || column >= std::max<int>(1, static_cast<int>(state.columns.size()))) return FALSE;
  if (part != LVIR_BOUNDS && part != LVIR_ICON && part != LVIR_LABEL) return FALSE;
  // Sub-item 0's bounds are the whole row's.
  *rect = column == 0 && part == LVIR_BOUNDS ? rowRect(list, state, index) : cellRect(list, state, index, column, part);
  return TRUE;
}

void updateScrollBar(HWND list, const ListViewState& state) {
  if (GetWindowLongW(list, GWL_STYLE) & LVS_NOSCROLL) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = std::max(0, static_cast<int>(state.items.size()) - 1);
  info.nPage = static_cast<UINT>(std::max(1, countPerPage(list, state)));
  info.nPos = state.topIndex;
  SetScrollInfo(list, SB_VERT, &info, TRUE);
}

void setTopIndex(HWND list, ListViewState& state, int top) {
  top = std::clamp(top, 0, maxTopIndex(list, state));
  const int old = state.topIndex;
  if (top == old) return;
  state.topIndex = top;
  updateScrollBar(list, state);
  RECT area = rowsArea(list, state);
  const int shift = old - top;
  if (std::abs(shift) < countPerPage(list, state) + 1) {
    ScrollWindowEx(list, 0, shift * state.rowHeight, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  } else {
    InvalidateRect(list, &area, FALSE);
  }
}

void ensureVisible(HWND list, ListViewState& state, int index, bool partialOk) {
  const int perPage = std::max(1, countPerPage(list, state));
  if (index < state.topIndex) {
    setTopIndex(list, state, index);
  } else if (index >= state.topIndex + perPage) {
    const RECT area = rowsArea(list, state), row = rowRect(list, state, index);
    if (partialOk && row.top < area.bottom) return;
    setTopIndex(list, state, index - perPage + 1);
  }
}

LRESULT verticalScroll(HWND list, ListViewState& state, WORD code) {
  const int page = std::max(1, countPerPage(list, state));
  switch (code) {
    case SB_LINEUP: setTopIndex(list, state, state.topIndex - 1); break;
    case SB_LINEDOWN: setTopIndex(list, state, state.topIndex + 1); break;
    case SB_PAGEUP: setTopIndex(list, state, state.topIndex - page); break;
    case SB_PAGEDOWN: setTopIndex(list, state, state.topIndex + page); break;
    case SB_TOP: setTopIndex(list, state, 0); break;
    case SB_BOTTOM: setTopIndex(list, state, static_cast<int>(state.items.size())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The full position: the message carries only 16 bits of it.
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(list, SB_VERT, &info)) setTopIndex(list, state, info.nTrackPos);
      break;
    }
    default: break;
  }
  return 0;
}

void invalidateItem(HWND list, const ListViewState& state, int index) {
  const RECT area = rowsArea(list, state);
  RECT row = rowRect(list, state, index);
  row.left = area.left;
  row.right = area.right;
  if (intersects(row, area)) InvalidateRect(list, &row, FALSE);
}

void invalidateFrom(HWND list, const ListViewState& state, int index) {
  RECT area = rowsArea(list, state);
  area.top = std::max(area.top, rowRect(list, state, index).top);
  if (area.top < area.bottom) InvalidateRect(list, &area, FALSE);
}

}  // namespace handheld::controls
