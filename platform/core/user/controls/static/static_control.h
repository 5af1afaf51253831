// The "STATIC" class: text (left, centred, right, without word wrap, without & prefixes),
// an icon (SS_ICON) or a bitmap (SS_BITMAP) set from the template or with STM_SETIMAGE, on
// the background brush the parent returns for WM_CTLCOLORSTATIC. With SS_NOTIFY a tap
// sends STN_CLICKED.
#pragma once

#include <windows.h>

namespace handheld::user::controls {

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;  // SS_ICON: an HICON, SS_BITMAP: an HBITMAP
};

WNDCLASSW staticClass();
// Draws the static (static_paint.cpp).
void paintStatic(HWND control, HDC hdc, const StaticState& state);

}  // namespace handheld::user::controls
