#include "user/window.h"

#include "user/paint_state.h"

namespace handheld::user {

LRESULT callWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    procedure = w->procedure;
  }
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT deliverPaint(HWND window) {
  {
    UserGuard guard(userLock());
    if (auto w = WindowTable::get().find(window)) w->beganPaint = false;
  }
  LRESULT result = callWindowProcedure(window, WM_PAINT, 0, 0);
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(window);
  if (w && !w->beganPaint) setUpdateRegion(*w, Region(), false);
  return result;
}

}  // namespace handheld::user
