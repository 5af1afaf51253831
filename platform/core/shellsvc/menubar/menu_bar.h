// The shell's menu bar (SHCreateMenuBar): a top-level window along the bottom of the screen,
// owned by the program's window. Its buttons live in a toolbar child, so the TB_ messages a
// program sends to the bar reach that toolbar; text buttons open their pop-up menus above the
// bar, and every command arrives at the owner as WM_COMMAND. At its right end sits the
// input-panel button unless the program hid it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>
#include <vector>

namespace handheld::shellsvc {

inline constexpr const char16_t* kMenuBarClass = u"HandheldMenuBar";
// The toolbar child's control id.
inline constexpr int kMenuBarToolbarId = 1;

struct MenuBarState {
  HWND owner = nullptr;
  HWND toolbar = nullptr;
  HMENU menu = nullptr;  // loaded from the resource; destroyed with the bar
  std::vector<std::pair<int, HMENU>> popups;  // button command -> its pop-up menu
  bool inputPanelButton = true;
  bool inputPanelPressed = false;  // the stylus is down on it
  COLORREF background = CLR_INVALID;  // SHCMBF_COLORBK
  int openCommand = -1;               // the button whose menu is showing
  bool hiddenWithOwner = false;        // shows again when the owner does
  bool linked = false;                 // follows the owner's visibility (owner_link.h)
  // TB_SETTOOLTIPS as the program gave it (entry i: the i-th image button), and the list the
  // toolbar gets (one entry per button that is no separator; none for text buttons).
  const LPCWSTR* programTips = nullptr;
  int programTipCount = 0;
  std::vector<LPCWSTR> toolbarTips;
};

WNDCLASSW menuBarClass();

// The bar's height on this screen: 26 pixels at 96 dpi, scaled with the line width.
int menuBarHeight();
// The bar's rectangle on the screen and the input-panel button's inside the bar.
RECT menuBarRect();
RECT inputPanelButtonRect(HWND bar);

// The pop-up menu of a button, or NULL.
HMENU popupOf(const MenuBarState& state, int command);
// Hands the toolbar the program's tooltips again after its buttons changed.
void mapTooltips(MenuBarState& state);

// menu_bar_paint.cpp: the bar around the toolbar: its background and the input-panel button.
void paintMenuBar(HWND bar, HDC hdc, const MenuBarState& state);

}  // namespace handheld::shellsvc
