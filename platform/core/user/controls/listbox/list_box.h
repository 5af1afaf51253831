// The "LISTBOX" class and "ComboLBox", the list of a combo box: a column of items (texts and
// item data) with single, multiple (LBS_MULTIPLESEL) or extended (LBS_EXTENDEDSEL) selection,
// sorted with LBS_SORT, owner-drawn with LBS_OWNERDRAWFIXED, scrolled with the window's
// vertical bar. The stylus selects on the way down and follows while held; keys move the
// caret. A combo box's list tells its combo instead of its parent what the user did.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace handheld::user::controls {

struct ListItem {
  std::u16string text;
  ULONG_PTR data = 0;
  bool selected = false;  // lists with multiple or extended selection
};

struct ListBoxState {
  std::vector<ListItem> items;
  HFONT font = nullptr;
  int itemHeight = 0;  // pixels; 0 until measured
  int selection = -1;  // single selection
  int top = 0;         // the first item shown
  int caret = -1;      // the item with the focus rectangle
  int anchor = -1;     // where an extended selection starts
  bool focused = false;
  bool tracking = false;  // the stylus is held and the capture is ours
  bool changed = false;   // the selection changed during this press
  bool resizing = false;  // fitting the height to whole items
  bool scrollBar = false;  // created with WS_VSCROLL: the bar comes and goes with the items
  HWND combo = nullptr;   // a combo box's list: the combo it belongs to
};

enum class Selection { Single, Multiple, Extended };
Selection selectionKind(HWND list);
bool hasStrings(HWND list);
bool isOwnerDrawn(HWND list);

// Codes a combo box's list sends its combo in WM_COMMAND besides LBN_SELCHANGE.
inline constexpr WORD kListChosen = 0x0100;     // the stylus was lifted on an item
inline constexpr WORD kListCancelled = 0x0101;  // the stylus went down outside the list

WNDCLASSW listBoxClass();
WNDCLASSW comboListClass();

// Geometry and scrolling (list_box_view.cpp).
int itemHeightOf(HWND list, ListBoxState& state);
int visibleRows(HWND list, ListBoxState& state);  // whole rows, at least 1
RECT itemRect(HWND list, ListBoxState& state, int index);
// The item at a client point (the nearest one when outside); -1 for an empty list.
int itemAt(HWND list, ListBoxState& state, POINT point, bool& outside);
void setTop(HWND list, ListBoxState& state, int top);
void ensureVisible(HWND list, ListBoxState& state, int index);
void updateScrollBar(HWND list, ListBoxState& state);
void redrawItem(HWND list, ListBoxState& state, int index);
// Gives the window whole rows unless LBS_NOINTEGRALHEIGHT.
void fitHeight(HWND list, ListBoxState& state);
LRESULT scrollVertically(HWND list, ListBoxState& state, WORD request);

// Selection (list_box_select.cpp); each returns whether anything changed.
bool selectOnly(HWND list, ListBoxState& state, int index);  // single: the selection
bool setSelected(HWND list, ListBoxState& state, int index, bool selected);
bool selectRange(HWND list, ListBoxState& state, int first, int last, bool selected);
void setCaret(HWND list, ListBoxState& state, int index);
bool isSelected(const ListBoxState& state, Selection kind, int index);
// Keeps the indices right when an item comes in at `index` or goes.
void itemInserted(ListBoxState& state, int index);
void itemRemoved(ListBoxState& state, int index);

// WM_COMMAND with `code` to the parent (or the combo); the notifications of what the user
// does only with LBS_NOTIFY. The list may be gone afterwards.
void notifyList(HWND list, WORD code);

// Stylus and keys (list_box_input.cpp).
LRESULT stylusDown(HWND list, ListBoxState& state, WPARAM keys, POINT point);
LRESULT stylusMove(HWND list, ListBoxState& state, POINT point);
LRESULT stylusUp(HWND list, ListBoxState& state, POINT point);
LRESULT keyDown(HWND list, ListBoxState& state, WPARAM key);
LRESULT character(HWND list, ListBoxState& state, WPARAM unit);

void paintListBox(HWND list, HDC hdc, ListBoxState& state);

}  // namespace handheld::user::controls
