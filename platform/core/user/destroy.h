// Taking windows down.
#pragma once

#include <windows.h>

namespace handheld::user {

// DestroyWindow's work on one of the calling thread's windows: its owned windows first, then
// hidden, capture and focus released, WM_DESTROY from the window down to its children,
// WM_NCDESTROY from the children up.
void destroyWindowTree(HWND window);
// A window whose creation failed: WM_NCDESTROY (when it saw WM_NCCREATE) and gone.
void abandonWindow(HWND window, bool sendNcDestroy);

}  // namespace handheld::user
