// Calling window procedures: always without the lock, with the procedure the window has at
// that moment.
#pragma once

#include <windows.h>

namespace handheld::user {

// 0 with ERROR_INVALID_WINDOW_HANDLE when the window is gone.
LRESULT callWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_PAINT to a window: a procedure that neither called BeginPaint nor emptied the update
// region would be asked again at once, for ever; its region is validated instead.
LRESULT deliverPaint(HWND window);

}  // namespace handheld::user
