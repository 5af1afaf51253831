// The navigation bar across the top of the screen: the start button, the title of the window
// in front, the clock, and "ok" (the window was initialised with the done button: a tap sends
// it WM_COMMAND IDOK) or "X" (the window goes behind the Today screen; it is not closed).
#include <unistd.h>

#include <algorithm>

#include "foreground.h"
#include "hardware_buttons.h"
#include "shell.h"
#include "shellsvc/shell_metrics.h"
#include "start_menu.h"

namespace handheld::shell {

namespace {

constexpr UINT kForegroundChanged = WM_APP + 1;
constexpr UINT_PTR kClockTimer = 1;
constexpr COLORREF kBarColour = RGB(0, 40, 120);
constexpr COLORREF kTextColour = RGB(255, 255, 255);

struct BarState {
  ForegroundWindow shown;        // what the bar shows
  HWND lastProgram = nullptr;    // the last other program's window in front
};
BarState g_bar;

struct BarLayout {
  RECT start, title, clock, close;
};

BarLayout layoutOf(HWND bar, HDC dc) {
  RECT client;
  GetClientRect(bar, &client);
  const int height = client.bottom - client.top;
  SIZE clockSize{};
  GetTextExtentPoint32W(dc, u"00:00", 5, &clockSize);
  BarLayout layout;
  layout.start = {0, 0, height * 17 / 10, height};
  layout.close = {client.right - height, 0, client.right, height};
  layout.clock = {layout.close.left - clockSize.cx - height / 3, 0, layout.close.left, height};
  layout.title = {layout.start.right + height / 4, 0, std::max(layout.start.right, layout.clock.left), height};
  return layout;
}

bool isOwnWindow(DWORD pid) { return pid == static_cast<DWORD>(getpid()); }
bool showsCloseBox() { return g_bar.shown.window != nullptr; }

void armClock(HWND bar) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  // The next minute's turn, a little after it so that the minute has surely changed.
  const UINT ms = (60u - now.wSecond) * 1000u - now.wMilliseconds + 20u;
  SetTimer(bar, kClockTimer, ms, nullptr);
}

void paint(HWND bar) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(bar, &ps);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const BarLayout layout = layoutOf(bar, dc);
  RECT client;
  GetClientRect(bar, &client);
  HBRUSH background = CreateSolidBrush(kBarColour);
  FillRect(dc, &client, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);
  const UINT centred = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX;
  if (!g_bar.shown.startIconHidden) {
    RECT start = layout.start;
    DrawTextW(dc, u"Start", -1, &start, centred);
  }
  RECT title = layout.title;
  const std::u16string& text = g_bar.shown.window ? g_bar.shown.title : std::u16string(kDesktopTitle);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &title,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char16_t clock[16];
  wsprintfW(clock, u"%d:%02d", now.wHour, now.wMinute);
  RECT clockArea = layout.clock;
  DrawTextW(dc, clock, -1, &clockArea, centred);
  if (showsCloseBox()) {
    RECT close = layout.close;
    DrawTextW(dc, g_bar.shown.doneButton ? u"ok" : u"X", -1, &close, centred);
  }
  EndPaint(bar, &ps);
}

void tapped(HWND bar, POINT at) {
  HDC dc = GetDC(bar);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const BarLayout layout = layoutOf(bar, dc);
  ReleaseDC(bar, dc);
  if (PtInRect(&layout.start, at) && !g_bar.shown.startIconHidden) {
    openStartMenu();
  } else if (PtInRect(&layout.close, at) && showsCloseBox()) {
    if (g_bar.shown.doneButton) PostMessageW(g_bar.shown.window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    else showToday();
  }
}

void foregroundChanged(HWND bar) {
  ForegroundWindow now = currentForeground();
  // The shell's untitled pop-ups (the start menu) leave the bar as it was; the desktop shows
  // as the Today screen.
  if (now.window && isOwnWindow(now.pid) && now.title.empty()) return;
  if (now.window == shellWindows().desktop) now = ForegroundWindow{};
  if (now.window && !isOwnWindow(now.pid)) g_bar.lastProgram = now.window;
  g_bar.shown = now;
  ShowWindow(bar, now.taskBarHidden ? SW_HIDE : SW_SHOWNA);
  InvalidateRect(bar, nullptr, TRUE);
}

LRESULT CALLBACK barProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint(bar);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONUP:
      tapped(bar, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_TIMECHANGE:
      // The device clock was set: show it now and count to its next minute.
      KillTimer(bar, kClockTimer);
      InvalidateRect(bar, nullptr, FALSE);
      armClock(bar);
      return 0;
    case WM_TIMER:
      if (wParam == kClockTimer) {
        KillTimer(bar, kClockTimer);
        InvalidateRect(bar, nullptr, FALSE);
        armClock(bar);
      }
      return 0;
    case WM_HOTKEY:
      hardwareButtonPressed(HIWORD(lParam));
      return 0;
    case kForegroundChanged:
      foregroundChanged(bar);
      return 0;
    case WM_SETTINGCHANGE:
      layoutShell();
      return 0;
    default:
      return DefWindowProcW(bar, message, wParam, lParam);
  }
}

}  // namespace

HWND createNavigationBar(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = barProc;
  wc.hInstance = instance;
  wc.lpszClassName = kNavigationBarClass;
  if (!RegisterClassW(&wc)) return nullptr;
  const int height = shellsvc::barHeight();
  HWND bar = CreateWindowExW(WS_EX_TOPMOST, kNavigationBarClass, u"Navigation bar", WS_POPUP, 0, 0,
                             GetSystemMetrics(SM_CXSCREEN), height, nullptr, nullptr, instance, nullptr);
  if (!bar) return nullptr;
  ShowWindow(bar, SW_SHOWNA);
  armClock(bar);
  watchForeground(bar, kForegroundChanged);
  return bar;
}

HWND lastProgramWindow() {
  return g_bar.lastProgram && IsWindow(g_bar.lastProgram) ? g_bar.lastProgram : nullptr;
}

}  // namespace handheld::shell
