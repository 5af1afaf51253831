// The "SysHeader32" class: a row of column headings. With HDS_BUTTONS a heading is pressed
// under the stylus and a tap on it sends HDN_ITEMCLICK; HDF_SORTUP and HDF_SORTDOWN draw an
// arrow beside its text. HDM_LAYOUT places it at the top of its parent's area.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace handheld::controls {

struct HeaderItem {
  std::u16string text;
  int width = 0;
  int format = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
};

struct HeaderState {
  HFONT font = nullptr;
  std::vector<HeaderItem> items;
  int pressed = -1;  // the heading held down, drawn pressed while the stylus is on it
  bool stylusOnPressed = false;
};

WNDCLASSW headerClass();
// The height the header takes with its font (header_paint.cpp).
int headerHeight(HWND header, const HeaderState& state);
void paintHeader(HWND header, HDC hdc, const HeaderState& state);
// Where each heading is, from the left edge: items[i] spans [left(i), left(i) + width).
RECT headerItemRect(HWND header, const HeaderState& state, int index);

}  // namespace handheld::controls
