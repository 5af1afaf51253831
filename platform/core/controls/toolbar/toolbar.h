// The "ToolbarWindow32" class as menu bars and the shell use it: one row of image and text
// buttons (push, check, check groups, separators, drop-downs). A tap presses a button while the
// stylus stays on it and sends WM_COMMAND with its command to the parent on release inside; a
// drop-down sends TBN_DROPDOWN as the stylus goes down. Held for the device's hold time, a
// button shows its tooltip (toolbar_tip.cpp).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace handheld::controls {

struct ToolbarButton {
  int image = I_IMAGENONE;
  int command = 0;
  BYTE state = 0;
  BYTE style = 0;
  DWORD_PTR data = 0;
  INT_PTR string = -1;  // as given: an index of the string pool or the caller's text
  std::u16string text;
  int width = 0;        // TBIF_SIZE; 0: measured
};

struct ToolbarState {
  HFONT font = nullptr;
  std::vector<ToolbarButton> buttons;
  std::vector<std::u16string> strings;  // TB_ADDSTRING's pool
  HIMAGELIST images = nullptr;          // made by TB_ADDBITMAP, freed with the toolbar
  SIZE bitmapSize{0, 0};                // TB_SETBITMAPSIZE; 0: the first strip's height
  SIZE buttonSize{0, 0};                // TB_SETBUTTONSIZE; 0: measured
  UINT structSize = sizeof(TBBUTTON);
  // TB_SETTOOLTIPS with an array: the caller keeps it alive; entry i belongs to the i-th
  // button that is no separator.
  const LPCWSTR* tipTexts = nullptr;
  int tipCount = 0;
  HWND tipWindow = nullptr;  // a tooltip window given by the caller, or the toolbar's own
  bool ownTip = false;
  int pressed = -1;          // index of the button the stylus went down on
  bool inside = false;
};

WNDCLASSW toolbarClass();
WNDCLASSW toolbarTipClass();

// toolbar_buttons.cpp: the button list.
int indexOfCommand(const ToolbarState& state, WPARAM command);
bool addButtons(ToolbarState& state, int where, const TBBUTTON* given, size_t count);
LRESULT addBitmap(ToolbarState& state, WPARAM count, const TBADDBITMAP* bitmap);
LRESULT addStrings(ToolbarState& state, HINSTANCE instance, LPARAM strings);
// Checks a button; in a check group the others of the group lose it.
void setChecked(ToolbarState& state, int index, bool checked);
TBBUTTON toTbButton(const ToolbarButton& button);

// toolbar_layout.cpp: client coordinates; hidden buttons are empty rectangles.
std::vector<RECT> buttonRects(const ToolbarState& state);
SIZE rowSize(const ToolbarState& state);
int buttonAt(const ToolbarState& state, POINT at);
void autoSize(HWND toolbar, const ToolbarState& state);

// toolbar_paint.cpp
void paintToolbar(HWND toolbar, HDC hdc, const ToolbarState& state);

// toolbar_tip.cpp: the tooltip of a held button (its owner's text when it gives one).
void showTip(HWND toolbar, int index);
void hideTip(HWND toolbar);

}  // namespace handheld::controls
