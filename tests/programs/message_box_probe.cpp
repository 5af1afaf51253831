// A device program for the message box tests: its window owns a message box of the type its
// command line gives (a decimal number). Once the box shows it reports to the test's window
// (class "MessageBoxTest") by posting:
//   WM_APP + 1  wParam button id, lParam its centre on the screen
//   WM_APP + 2  wParam the owner enabled (0/1) while the box shows
// and ends with the box's answer as its exit code.
#include <windows.h>

#include "command_words.h"

namespace {

HWND g_test = nullptr;

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_test) PostMessageW(g_test, message, wParam, lParam);
}

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
  HWND box = FindWindowW(u"#32770", u"Warning!");
  if (!box) return 0;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    report(WM_APP + 1, static_cast<WORD>(GetDlgCtrlID(c)), MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  report(WM_APP + 2, IsWindowEnabled(window) ? 1 : 0, 0);
  return 0;
}

UINT number(const std::u16string& word) {
  UINT value = 0;
  for (char16_t c : word) value = c >= u'0' && c <= u'9' ? value * 10 + (c - u'0') : value;
  return value;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  g_test = FindWindowW(u"MessageBoxTest", nullptr);
  auto args = words(commandLine);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ownerProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"MessageBoxProbeOwner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, u"MessageBoxProbeOwner", u"Owner", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!owner || args.empty()) return 200;
  PostMessageW(owner, WM_APP, 0, 0);
  int answer = MessageBoxW(owner, u"Do you really want to delete selected pinnote?", u"Warning!", number(args[0]));
  DestroyWindow(owner);
  return answer;
}
