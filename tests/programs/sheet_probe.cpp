// A device program for the property sheet tests: a modal sheet of three pages (the first two
// made at the start, the third when first selected), owned by a full-screen window. It
// reports to the test's window (class "SheetTest") by posting:
//   WM_APP + 1  wParam tab index, lParam the tab's centre on the screen  (PSCB_INITIALIZED)
//   WM_APP + 2  wParam the PSN_ code's distance below PSN_FIRST (0 PSN_SETACTIVE, 1
//               PSN_KILLACTIVE, 2 PSN_APPLY, 3 PSN_RESET, 9 PSN_QUERYCANCEL), lParam the page
// and ends with PropertySheetW's result as its exit code.
#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace {

HWND g_test = nullptr;

void report(UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_test) PostMessageW(g_test, message, wParam, lParam);
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
  report(WM_APP + 2, PSN_FIRST - code, GetWindowLongPtrW(page, DWLP_USER));
  SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
  return TRUE;
}

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_GETVERSION) return COMCTL32_VERSION;
  if (message != PSCB_INITIALIZED) return 0;
  HWND tab = GetDlgItem(sheet, 0x3020);
  for (int i = 0; i < 3; ++i) {
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&r), 2);
    report(WM_APP + 1, static_cast<WPARAM>(i), MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  return 0;
}

std::vector<WORD> pageTemplate(const char16_t* title) {
  const DWORD style = WS_CHILD | DS_CONTROL;
  std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 150, 100, 0, 0};
  for (const char16_t* c = title; *c; ++c) words.push_back(*c);
  words.push_back(0);
  return words;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_test = FindWindowW(u"SheetTest", nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"SheetProbeOwner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, u"SheetProbeOwner", u"Owner", WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (!owner) return 100;
  const std::vector<WORD> templates[] = {pageTemplate(u"General"), pageTemplate(u"Pinnote"), pageTemplate(u"Sound")};
  PROPSHEETPAGEW pages[3] = {};
  for (int i = 0; i < 3; ++i) {
    pages[i].dwSize = sizeof(PROPSHEETPAGEW);
    pages[i].dwFlags = PSP_DLGINDIRECT | (i < 2 ? PSP_PREMATURE : 0);
    pages[i].hInstance = instance;
    pages[i].pResource = reinterpret_cast<LPCDLGTEMPLATEW>(templates[i].data());
    pages[i].pfnDlgProc = pageProc;
    pages[i].lParam = i;
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = u"Probe sheet";
  header.nPages = 3;
  header.ppsp = pages;
  header.pfnCallback = sheetCallback;
  const INT_PTR result = PropertySheetW(&header);
  DestroyWindow(owner);
  return static_cast<int>(result);
}
