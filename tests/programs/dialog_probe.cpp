// A device program for the dialog tests: a window that owns the modal dialog IDD_PROBE of
// its resources. It reports to the test's window (class "DialogTest") by posting:
//   WM_APP + 1  wParam control id, lParam its centre on the screen   (at WM_INITDIALOG)
//   WM_APP + 2  wParam the owner enabled (0/1) during WM_INITDIALOG, lParam the base units
//               (MAKELPARAM(x, y) from MapDialogRect)
//   WM_APP + 3  wParam control id                                      (BN_SETFOCUS)
//   WM_APP + 4  wParam control id, lParam its check state              (BN_CLICKED)
//   WM_APP + 5  wParam the owner enabled again (0/1) after the dialog  (at the end)
// and ends with the dialog's result as its exit code.
#include <windows.h>

namespace {

HWND g_test = nullptr;
HWND g_owner = nullptr;

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_test) PostMessageW(g_test, message, wParam, lParam);
}

INT_PTR CALLBACK probeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        report(WM_APP + 1, static_cast<WORD>(GetDlgCtrlID(c)),
               MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
      }
      RECT units{0, 0, 4, 8};
      MapDialogRect(dialog, &units);
      report(WM_APP + 2, IsWindowEnabled(g_owner) ? 1 : 0, MAKELPARAM(units.right, units.bottom));
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == BN_SETFOCUS) report(WM_APP + 3, static_cast<WPARAM>(id), 0);
      if (HIWORD(wParam) != BN_CLICKED) return TRUE;
      report(WM_APP + 4, static_cast<WPARAM>(id), static_cast<LPARAM>(IsDlgButtonChecked(dialog, id)));
      if (id == IDOK || id == IDCANCEL || id == 206) EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_test = FindWindowW(u"DialogTest", nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"DialogProbeOwner";
  RegisterClassW(&wc);
  g_owner = CreateWindowExW(0, u"DialogProbeOwner", u"Owner", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!g_owner) return 100;
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(100), g_owner, probeProc, 0);
  report(WM_APP + 5, IsWindowEnabled(g_owner) ? 1 : 0, 0);
  DestroyWindow(g_owner);
  return static_cast<int>(result);
}
