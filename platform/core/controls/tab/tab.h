// The "SysTabControl32" class: one row of tabs, at the top or (TCS_BOTTOM, as the handheld's
// sheets have them) at the bottom. A tap or an arrow key asks the parent with TCN_SELCHANGING
// (non-zero refuses) and reports TCN_SELCHANGE; TCM_SETCURSEL changes it silently.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace handheld::controls {

struct TabItem {
  std::u16string text;
  int image = -1;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabState {
  HFONT font = nullptr;
  HIMAGELIST images = nullptr;  // the caller's; never destroyed here
  std::vector<TabItem> items;
  int selected = -1;
  int focusItem = -1;
  bool focused = false;
  bool tracking = false;  // the stylus went down on a tab
};

WNDCLASSW tabClass();

// tab_layout.cpp: where the tabs are, in client coordinates.
int tabRowHeight(const TabState& state);
std::vector<RECT> tabRects(HWND tab, const TabState& state);
// The tab under a point, -1 for none; `flags` gets TCHT_*.
int tabHitTest(HWND tab, const TabState& state, POINT at, UINT* flags = nullptr);
// TCM_ADJUSTRECT: the display area for a window rectangle, or the reverse when `larger`.
void adjustTabRect(HWND tab, const TabState& state, bool larger, RECT& r);

// tab_paint.cpp
void paintTabs(HWND tab, HDC hdc, const TabState& state);

}  // namespace handheld::controls
