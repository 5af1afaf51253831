// A device program that shows a pop-up menu when told, for tests of menu tracking. Its window
// (class "MenuProbe", full screen) keeps a log of what the menu did in its title, words
// separated by spaces: "enter", "init<position in the parent>", "exit", "ret<result of
// TrackPopupMenuEx>", "cmd<id of a WM_COMMAND>".
//
// Posted WM_APP (flags, MAKELPARAM(x, y)) shows the menu with TrackPopupMenuEx at (x, y):
//   0 "&Open" (10)   1 "&Save" (11, checked)   2 separator   3 "&Gray" (12, grayed)
//   4 "&More" pop-up: "Sub &A" (20), "Sub &B" (21, radio-checked)   5 "E&xit" (13)
// WM_APP+1 clears the log. WM_APP+2 is WM_APP with TPMPARAMS excluding (0, 0)-(100, 100).
#include <windows.h>

#include <string>

namespace {

HMENU g_menu = nullptr;

void log(HWND window, const std::u16string& word) {
  WCHAR title[1024];
  int n = GetWindowTextW(window, title, 1024);
  std::u16string text(title, static_cast<size_t>(n));
  SetWindowTextW(window, (text.empty() ? word : text + u" " + word).c_str());
}

std::u16string number(long long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

HMENU buildMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 10, u"&Open");
  AppendMenuW(menu, MF_STRING | MF_CHECKED, 11, u"&Save");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 12, u"&Gray");
  HMENU more = CreatePopupMenu();
  AppendMenuW(more, MF_STRING, 20, u"Sub &A");
  AppendMenuW(more, MF_STRING, 21, u"Sub &B");
  CheckMenuRadioItem(more, 20, 21, 21, MF_BYCOMMAND);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"&More");
  AppendMenuW(menu, MF_STRING, 13, u"E&xit");
  return menu;
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_APP:
    case WM_APP + 2: {
      const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      TPMPARAMS params{sizeof(TPMPARAMS), {0, 0, 100, 100}};
      BOOL result = TrackPopupMenuEx(g_menu, static_cast<UINT>(wParam), x, y, window,
                                     message == WM_APP + 2 ? &params : nullptr);
      if (IsWindow(window)) log(window, u"ret" + number(result));
      return 0;
    }
    case WM_APP + 1:
      SetWindowTextW(window, u"");
      return 0;
    case WM_ENTERMENULOOP:
      log(window, u"enter");
      return 0;
    case WM_EXITMENULOOP:
      log(window, u"exit");
      return 0;
    case WM_INITMENUPOPUP:
      log(window, u"init" + number(LOWORD(lParam)));
      return 0;
    case WM_COMMAND:
      log(window, u"cmd" + number(LOWORD(wParam)));
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
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"MenuProbe";
  if (!RegisterClassW(&wc)) return 2;
  g_menu = buildMenu();
  HWND window = CreateWindowExW(0, u"MenuProbe", u"", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!window) return 3;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyMenu(g_menu);
  return static_cast<int>(msg.wParam);
}
