// A device program with a note window's menu bar, for tests that drive it by the stylus: an
// "Edit" menu from its resource and image buttons it adds. Its full-screen window (class
// "MenuBarProbe") keeps a log in its title, words separated by spaces:
//   "b<command>@<x>,<y>"  each button's centre on the screen, once the bar stands
//   "cmd<id>:bar" / "cmd<id>:menu"  a WM_COMMAND from a bar button / from a menu item
// Zoom in (1131) disables itself when chosen and shows pen mode (110) pressed (state 6).
#include <aygshell.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

HWND g_bar = nullptr;

std::u16string number(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void log(HWND window, const std::u16string& word) {
  WCHAR title[2048];
  const int n = GetWindowTextW(window, title, 2048);
  const std::u16string text(title, static_cast<size_t>(n));
  SetWindowTextW(window, (text.empty() ? word : text + u" " + word).c_str());
}

TBBUTTON imageButton(int image, int command, BYTE style = TBSTYLE_BUTTON) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = command;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = style;
  b.iString = -1;
  return b;
}

void makeBar(HWND window, HINSTANCE instance) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = window;
  info.nToolBarId = 169;
  info.hInstRes = instance;
  info.nBmpId = GetSystemMetrics(SM_CXSMICON) != 16 ? 189 : 170;
  info.cBmpImages = 11;
  if (!SHCreateMenuBar(&info)) return;
  g_bar = info.hwndMB;
  const TBBUTTON buttons[] = {imageButton(3, 1132), imageButton(4, 1131), imageButton(6, 1134),
                              imageButton(0, 0, TBSTYLE_SEP), imageButton(5, 1133), imageButton(8, 110),
                              imageButton(10, 120)};
  SendMessageW(g_bar, TB_ADDBUTTONSW, 7, reinterpret_cast<LPARAM>(buttons));
}

void logButtons(HWND window) {
  HWND toolbar = GetWindow(g_bar, GW_CHILD);
  const auto count = SendMessageW(g_bar, TB_BUTTONCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TBBUTTON b{};
    RECT r{};
    SendMessageW(g_bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    SendMessageW(g_bar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    if (b.fsStyle & TBSTYLE_SEP) continue;
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    log(window, u"b" + number(b.idCommand) + u"@" + number((r.left + r.right) / 2) + u"," +
                    number((r.top + r.bottom) / 2));
  }
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      log(window, u"cmd" + number(LOWORD(wParam)) + (lParam == reinterpret_cast<LPARAM>(g_bar) ? u":bar" : u":menu"));
      if (LOWORD(wParam) == 1131) {
        SendMessageW(g_bar, TB_ENABLEBUTTON, 1131, FALSE);
        SendMessageW(g_bar, TB_SETSTATE, 110, 6);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = probeProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"MenuBarProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, u"MenuBarProbe", u"", 0, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!window) return 100;
  makeBar(window, instance);
  if (!g_bar) return 101;
  ShowWindow(window, SW_SHOW);
  logButtons(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
