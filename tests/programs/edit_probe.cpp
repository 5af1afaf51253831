// A device program for the edit tests: a modal dialog with a single-line and a multi-line
// edit. It reports to the test's window (class "EditTest") by posting:
//   WM_APP + 1  wParam control id, lParam its centre on the screen   (at WM_INITDIALOG)
//   WM_APP + 2  wParam control id, lParam MAKELPARAM(text length, last unit)   (EN_CHANGE)
//   WM_APP + 3  wParam control id                                     (EN_SETFOCUS)
// and ends with the single line's length plus 100 times the multi-line edit's line count.
#include <windows.h>

namespace {

HWND g_test = nullptr;
int g_result = 0;

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_test) PostMessageW(g_test, message, wParam, lParam);
}

INT_PTR CALLBACK probeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        report(WM_APP + 1, static_cast<WORD>(GetDlgCtrlID(c)), MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
      }
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      HWND control = GetDlgItem(dialog, id);
      if (HIWORD(wParam) == EN_CHANGE) {
        WCHAR text[256] = {};
        const int length = GetWindowTextW(control, text, 256);
        report(WM_APP + 2, static_cast<WPARAM>(id), MAKELPARAM(length, length > 0 ? text[length - 1] : 0));
      }
      if (HIWORD(wParam) == EN_SETFOCUS) report(WM_APP + 3, static_cast<WPARAM>(id), 0);
      if (id == IDOK && HIWORD(wParam) == BN_CLICKED) {
        g_result = GetWindowTextLengthW(GetDlgItem(dialog, 301)) +
                   100 * static_cast<int>(SendDlgItemMessageW(dialog, 302, EM_GETLINECOUNT, 0, 0));
        EndDialog(dialog, IDOK);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_test = FindWindowW(u"EditTest", nullptr);
  if (DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, probeProc, 0) != IDOK) return 1;
  return g_result;
}
