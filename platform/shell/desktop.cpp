// The desktop: a window across the screen below the navigation bar that hosts the Today
// screen. Programs' windows cover it; "X" and the Today button bring it back in front.
#include "input_panel/input_panel.h"
#include "shell.h"
#include "shellsvc/shell_metrics.h"
#include "today/today_screen.h"

namespace handheld::shell {

namespace {

RECT desktopArea() { return shellsvc::visibleDesktop(false); }

LRESULT CALLBACK desktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      // The Today screen fills the desktop.
      if (HWND today = GetWindow(window, GW_CHILD))
        MoveWindow(today, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    }
    case WM_TIMECHANGE:
      // The Today screen's date band shows the new day.
      if (HWND today = GetWindow(window, GW_CHILD)) InvalidateRect(today, nullptr, TRUE);
      return 0;
    case WM_CLOSE:
      return 0;  // the desktop stays as long as the shell runs
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

ShellWindows& shellWindows() {
  static ShellWindows windows;
  return windows;
}

HWND createDesktop(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = desktopProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kDesktopClass;
  if (!RegisterClassW(&wc)) return nullptr;
  const RECT area = desktopArea();
  HWND desktop = CreateWindowExW(0, kDesktopClass, kDesktopTitle, WS_POPUP, area.left, area.top,
                                 area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, nullptr);
  if (!desktop) return nullptr;
  const RECT inside{0, 0, area.right - area.left, area.bottom - area.top};
  createTodayScreen(instance, desktop, inside);
  return desktop;
}

void layoutShell() {
  const auto& windows = shellWindows();
  const RECT area = desktopArea();
  if (windows.navigationBar)
    SetWindowPos(windows.navigationBar, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (windows.desktop)
    SetWindowPos(windows.desktop, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void showToday() {
  HWND desktop = shellWindows().desktop;
  if (!desktop) return;
  SetWindowPos(desktop, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(desktop);
}

}  // namespace handheld::shell
