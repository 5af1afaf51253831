// The "SysListView32" class in report view: rows of items with sub-item texts under the
// columns of a "SysHeader32" child, images from image lists, selection with the stylus and
// keys, and a vertical window scroll bar that moves whole rows. Everything the stylus does is
// also reachable through messages, so a window that subclasses the list and handles the
// stylus itself drives it the same way. Changes of an item's state are offered to the parent
// first (LVN_ITEMCHANGING, refused by a non-zero answer) and reported after (LVN_ITEMCHANGED).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace handheld::controls {

struct ListItem {
  // By sub-item; nullopt: the parent gives the text (LPSTR_TEXTCALLBACK).
  std::vector<std::optional<std::u16string>> texts;
  int image = 0;  // I_IMAGECALLBACK: the parent gives it
  UINT state = 0;
  LPARAM lParam = 0;
  int indent = 0;
};

struct ListColumn {
  std::u16string text;
  int width = 0;
  int format = LVCFMT_LEFT;
  int subItem = 0;
};

struct ListViewState {
  HWND header = nullptr;
  HFONT font = nullptr;
  std::vector<ListItem> items;
  std::vector<ListColumn> columns;
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  COLORREF background = 0;
  COLORREF textColor = 0;
  COLORREF textBackground = 0;
  DWORD extendedStyle = 0;
  int selectionMark = -1;
  int topIndex = 0;
  int rowHeight = 1;
  int headerHeight = 0;
  bool focused = false;
  // The stylus went down on the rows and the capture is held: the row and column under it
  // then, for NM_CLICK when it is lifted.
  bool tracking = false;
  int pressedItem = -1;
  int pressedSubItem = 0;
  // Changes whenever items are inserted, deleted or reordered: an index taken before a
  // notification is only used after it when this did not change.
  uint64_t generation = 0;
};

WNDCLASSW listViewClass();

// The state of a list that still exists (null once a notification destroyed it).
ListViewState* liveState(HWND list);

// ---- items (listview_items.cpp) ----
LRESULT insertItem(HWND list, const LVITEMW* given);
LRESULT deleteItem(HWND list, WPARAM index);
LRESULT deleteAllItems(HWND list);
LRESULT getItem(HWND list, LVITEMW* out);
LRESULT setItem(HWND list, const LVITEMW* given);
LRESULT getItemText(HWND list, WPARAM index, LVITEMW* out);
LRESULT setItemText(HWND list, WPARAM index, const LVITEMW* given);
LRESULT setItemStateMessage(HWND list, WPARAM index, const LVITEMW* given);
LRESULT nextItem(const ListViewState& state, int start, UINT flags);
LRESULT findItem(const ListViewState& state, int start, const LVFINDINFOW* find);
LRESULT sortItems(HWND list, LPARAM sortParam, PFNLVCOMPARE compare);
// The text shown for an item's sub-item, asking the parent for callback texts; nullopt when
// the list went away meanwhile.
std::optional<std::u16string> displayText(HWND list, int index, int subItem);
int displayImage(HWND list, int index);

// ---- selection (listview_selection.cpp) ----
// Changes the `mask` bits of an item's state to `bits`, offered to the parent first; only one
// item holds the focus, and with LVS_SINGLESEL only one the selection. False when refused or
// when the item or the list went away.
bool changeItemState(HWND list, int index, UINT bits, UINT mask);
// Selects the rows first..last (either order), deselecting the others when `only`.
void selectRange(HWND list, int first, int last, bool only);
// Deselects every row but `keep` (-1: every row).
void deselectOthers(HWND list, int keep);
int focusedItem(const ListViewState& state);
int selectedCount(const ListViewState& state);

// ---- columns (listview_columns.cpp) ----
LRESULT insertColumn(HWND list, WPARAM index, const LVCOLUMNW* given);
LRESULT deleteColumn(HWND list, WPARAM index);
LRESULT getColumn(const ListViewState& state, WPARAM index, LVCOLUMNW* out);
LRESULT setColumn(HWND list, WPARAM index, const LVCOLUMNW* given);
LRESULT setColumnWidth(HWND list, WPARAM index, int width);
// The header's tap on a heading becomes LVN_COLUMNCLICK.
LRESULT headerNotification(HWND list, const NMHDR* notice);

// ---- geometry and scrolling (listview_layout.cpp) ----
// Places the header and measures the rows again (font, images or size changed).
void relayout(HWND list);
RECT rowsArea(HWND list, const ListViewState& state);
int countPerPage(HWND list, const ListViewState& state);
int totalColumnWidth(const ListViewState& state);
// The row's rectangle in client coordinates (it may lie outside the client area).
RECT rowRect(HWND list, const ListViewState& state, int index);
// Icon, label and whole cell of a row's column (LVIR_ICON, LVIR_LABEL, LVIR_BOUNDS).
RECT cellRect(HWND list, const ListViewState& state, int index, int column, int part);
LRESULT hitTest(HWND list, const ListViewState& state, LVHITTESTINFO* info, bool subItems);
LRESULT itemRect(HWND list, const ListViewState& state, int index, RECT* rect);
LRESULT subItemRect(HWND list, const ListViewState& state, int index, RECT* rect);
void setTopIndex(HWND list, ListViewState& state, int top);
void ensureVisible(HWND list, ListViewState& state, int index, bool partialOk);
void updateScrollBar(HWND list, const ListViewState& state);
LRESULT verticalScroll(HWND list, ListViewState& state, WORD code);
void invalidateItem(HWND list, const ListViewState& state, int index);
// From a row to the bottom of the rows (inserting and deleting shift what is below).
void invalidateFrom(HWND list, const ListViewState& state, int index);

// ---- painting (listview_paint.cpp) ----
void paintList(HWND list, HDC hdc, const RECT& area);

// ---- stylus and keys (listview_input.cpp) ----
LRESULT stylusDown(HWND list, POINT p, bool doubleTap);
LRESULT stylusUp(HWND list, POINT p);
LRESULT keyDown(HWND list, WPARAM key);

}  // namespace handheld::controls
