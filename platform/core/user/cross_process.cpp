#include "user/device_link.h"

#include "user/window.h"

namespace handheld::user {

bool carriesPointers(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_COPYDATA:
    case WM_NOTIFY:
    case WM_HELP:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_NCCALCSIZE:
    case WM_INITDIALOG:
      return true;
    case WM_SETTINGCHANGE:
      return lParam != 0;  // the name of the changed section
    default:
      // Edit, scroll bar and button messages; combo box, static and list box messages.
      return (message >= 0x00B0 && message <= 0x00FF) || (message >= 0x0140 && message <= 0x01FF);
  }
}

bool acceptsFromOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (carriesPointers(message, wParam, lParam)) return false;
  auto w = WindowTable::get().find(window);
  return w && !(w->windowClass->system && message >= WM_USER);
}

}  // namespace handheld::user
