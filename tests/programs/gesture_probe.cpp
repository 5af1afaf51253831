// A device program for tests of tap-and-hold. Its full-screen window (class "GestureProbe")
// holds a child area (control id 5) covering the screen; a stylus down on the area runs
// SHRecognizeGesture there with the flags last posted as WM_APP's wParam (default
// SHRG_NOTIFYPARENT). The window title logs, words separated by spaces:
//   "notify<code>:<id>:<x>,<y>"  WM_NOTIFY at the window (answered 7), point in screen terms
//   "self<code>"                 WM_NOTIFY at the area itself (answered 9)
//   "ret<result>"                what SHRecognizeGesture returned
// WM_APP+1 clears the log.
#include <aygshell.h>
#include <windows.h>

#include <string>

namespace {

constexpr int kAreaId = 5;
DWORD g_flags = SHRG_NOTIFYPARENT;
HWND g_main = nullptr;

std::u16string number(long long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void log(const std::u16string& word) {
  WCHAR title[1024];
  const int n = GetWindowTextW(g_main, title, 1024);
  const std::u16string text(title, static_cast<size_t>(n));
  SetWindowTextW(g_main, (text.empty() ? word : text + u" " + word).c_str());
}

LRESULT CALLBACK areaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      SHRGINFO info{sizeof(SHRGINFO), area, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, g_flags};
      log(u"ret" + number(SHRecognizeGesture(&info)));
      return 0;
    }
    case WM_NOTIFY:
      log(u"self" + number(reinterpret_cast<NMHDR*>(lParam)->code));
      return 9;
    default:
      return DefWindowProcW(area, message, wParam, lParam);
  }
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* info = reinterpret_cast<const NMRGINFO*>(lParam);
      log(u"notify" + number(info->hdr.code) + u":" + number(static_cast<long long>(info->hdr.idFrom)) + u":" +
          number(info->ptAction.x) + u"," + number(info->ptAction.y));
      return 7;
    }
    case WM_APP:
      g_flags = static_cast<DWORD>(wParam);
      return 0;
    case WM_APP + 1:
      SetWindowTextW(window, u"");
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
  wc.lpszClassName = u"GestureProbe";
  RegisterClassW(&wc);
  wc.lpfnWndProc = areaProc;
  wc.lpszClassName = u"GestureArea";
  RegisterClassW(&wc);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  g_main = CreateWindowExW(0, u"GestureProbe", u"", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, instance,
                           nullptr);
  CreateWindowExW(0, u"GestureArea", u"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, g_main,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAreaId)), instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
