// A device program for the picker tests: a window with a time picker (id 1003), a month
// calendar with the None choice (id 1005) and an up-down (id 1007) with a static buddy. It
// reports to the test's window (class "PickerTest") by posting:
//   WM_APP + 1  wParam control id, lParam its client area's corner on the screen  (at start)
//   WM_APP + 2  wParam control id, lParam the notification code                   (WM_NOTIFY)
//   WM_APP + 3  wParam MAKEWPARAM(hour, minute) of the picker                     (DTN_DATETIMECHANGE)
//   WM_APP + 4  wParam MAKEWPARAM(month, day) of the calendar                     (MCN_SELECT)
//   WM_APP + 5  wParam the up-down's position                                     (SB_THUMBPOSITION)
// and ends with exit code 45 after the calendar's None choice.
#include <windows.h>

#include <commctrl.h>

namespace {

HWND g_test = nullptr;

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_test) PostMessageW(g_test, message, wParam, lParam);
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      report(WM_APP + 2, header->idFrom, static_cast<LPARAM>(static_cast<int>(header->code)));
      if (header->code == DTN_DATETIMECHANGE) {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
        report(WM_APP + 3, MAKEWPARAM(change->st.wHour, change->st.wMinute), 0);
      } else if (header->code == MCN_SELECT) {
        const auto* change = reinterpret_cast<const NMSELCHANGE*>(lParam);
        report(WM_APP + 4, MAKEWPARAM(change->stSelStart.wMonth, change->stSelStart.wDay), 0);
      } else if (header->code == MCN_SELECTNONE) {
        PostQuitMessage(45);
      }
      return 0;
    }
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) report(WM_APP + 5, HIWORD(wParam), 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND child(HWND parent, const char16_t* className, DWORD style, int id, int x, int y, int cx, int cy) {
  return CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_test = FindWindowW(u"PickerTest", nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = probeProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"PickerProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, u"PickerProbe", u"Pickers", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!window) return 100;
  const int ids[3] = {1003, 1005, 1007};
  HWND controls[3] = {
      child(window, DATETIMEPICK_CLASSW, WS_BORDER | WS_TABSTOP | DTS_TIMEFORMAT, 1003, 0, 0, 163, 20),
      child(window, MONTHCAL_CLASSW, WS_BORDER | WS_TABSTOP | 0x8D, 1005, 0, 18, 163, 170),
      nullptr};
  HWND buddy = child(window, u"STATIC", 0, 1006, 0, 200, 80, 20);
  controls[2] = CreateUpDownControl(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 0, 0, 16, 20, window,
                                    1007, instance, buddy, 10, 0, 0);
  SYSTEMTIME start{};
  start.wYear = 2004;
  start.wMonth = 2;
  start.wDay = 18;
  start.wHour = 14;
  start.wMinute = 5;
  SendMessageW(controls[0], DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
  SendMessageW(controls[1], MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&start));
  for (int i = 0; i < 3; ++i) {
    POINT corner{0, 0};
    ClientToScreen(controls[i], &corner);
    report(WM_APP + 1, static_cast<WPARAM>(ids[i]), MAKELPARAM(corner.x, corner.y));
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyWindow(window);
  return static_cast<int>(msg.wParam);
}
