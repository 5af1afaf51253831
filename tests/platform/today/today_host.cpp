// A stand-in for the shell on a test device: a full-screen window with the Today screen below
// a 26-pixel (QVGA) bar, and with "settings" on the command line the Settings sheet with the
// Today page over it.
#include <windows.h>

#include <commctrl.h>

#include "today_screen.h"

namespace {

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = hostProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = u"TodayHost";
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassW(&windowClass);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const int bar = 26 * GetSystemMetrics(SM_CYBORDER);
  HWND host = CreateWindowExW(0, u"TodayHost", u"Today", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                              instance, nullptr);
  if (!host || !handheld::shell::createTodayScreen(instance, host, RECT{0, bar, width, height - bar})) return 1;

  HWND sheet = nullptr;
  PROPSHEETPAGEW page = handheld::shell::todaySettingsPage(instance);
  if (lstrcmpW(commandLine, u"settings") == 0) {
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hwndParent = host;
    header.pszCaption = u"Settings";
    header.nPages = 1;
    header.ppsp = &page;
    sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (sheet && IsWindow(sheet) && SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&message)))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
