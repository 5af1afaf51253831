// The "COMBOBOX" class: a field showing the chosen item (an "EDIT" child for CBS_DROPDOWN and
// CBS_SIMPLE, drawn text for CBS_DROPDOWNLIST) over a list of the "ComboLBox" class. The
// drop-down kinds show the list as a topmost pop-up owned by the combo's top-level window;
// while it is dropped the list holds the capture, so a tap elsewhere closes it. CBS_SIMPLE
// keeps the list as a child below the field.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::user::controls {

struct ComboBoxState {
  HWND list = nullptr;
  HWND edit = nullptr;
  WNDPROC editProc = nullptr;  // the edit's own procedure, under the combo's
  HFONT font = nullptr;
  int fieldHeight = 0;
  int listHeight = 0;    // the dropped list: the height asked for less the field's
  int droppedWidth = 0;  // 0: the combo's width
  int selectionAtDrop = -1;
  bool dropped = false;
  bool focused = false;
  bool extendedUI = false;
  bool scrollBar = false;     // the list has a vertical scroll bar (WS_VSCROLL asked of the combo)
  bool settingText = false;   // the combo itself is filling the edit
};

inline constexpr int kComboListId = 1000;
inline constexpr int kComboEditId = 1001;

enum class ComboKind { Simple, DropDown, DropDownList };
ComboKind comboKind(HWND combo);

WNDCLASSW comboBoxClass();

// Dropping and closing the list (combo_drop.cpp). closeList sends CBN_SELENDOK or, when
// `accepted` is false, CBN_SELENDCANCEL, then CBN_CLOSEUP; `quietly` sends only the last.
void dropList(HWND combo);
void closeList(HWND combo, bool accepted, bool quietly = false);
// What the list told its combo (WM_COMMAND from the list).
void listNotified(HWND combo, WORD code);
// The screen rectangle of the combo with its list dropped.
RECT droppedRect(HWND combo, const ComboBoxState& state);
// The field shows the list's selection: the edit's text or the combo's own.
void showSelection(HWND combo, ComboBoxState& state);
// Places the edit and a CBS_SIMPLE list for the combo's size.
void layOut(HWND combo, ComboBoxState& state);

// Keys of the field and its edit: F4 and alt+down toggle the list, enter and escape close
// it, arrows move the selection (the edit keeps the keys that move its cursor). `alt`: the
// key came as WM_SYSKEYDOWN. True when used.
bool comboKey(HWND combo, WPARAM key, bool fromEdit, bool alt);
// The combo (or its edit) took or lost the focus: CBN_SETFOCUS, CBN_KILLFOCUS once each.
void comboFocusGained(HWND combo);
void comboFocusLost(HWND combo);

// The edit of the editable kinds (combo_edit.cpp). Without the "EDIT" class the combo
// shows its text as a drop-down list does.
void createEdit(HWND combo, ComboBoxState& state);
void editNotified(HWND combo, WORD code);
void setEditText(HWND combo, ComboBoxState& state, const std::u16string& text);
// CB_LIMITTEXT, CB_GETEDITSEL, CB_SETEDITSEL.
LRESULT editMessage(const ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam);

// The field and its button (combo_box_paint.cpp).
int buttonWidth();
void paintComboBox(HWND combo, HDC hdc, const ComboBoxState& state);

}  // namespace handheld::user::controls
