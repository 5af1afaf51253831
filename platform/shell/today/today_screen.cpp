// Stand-in until the Today screen joins: a plain child window with the date band's colour
// and an empty settings page.
#include "today_screen.h"

namespace handheld::shell {

namespace {

LRESULT CALLBACK todayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT band;
    GetClientRect(window, &band);
    band.bottom = band.top + 24;
    HBRUSH brush = CreateSolidBrush(RGB(0, 64, 160));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, u"Today", -1, &band, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK pageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

const WORD kPageTemplate[] = {LOWORD(WS_CHILD | DS_CONTROL), HIWORD(WS_CHILD | DS_CONTROL), 0, 0, 0, 0, 0, 150, 100, 0, 0,
                              u'T', u'o', u'd', u'a', u'y', 0};

}  // namespace

HWND createTodayScreen(HINSTANCE instance, HWND parent, const RECT& area) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = todayProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = u"TodayScreen";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"TodayScreen", u"Today", WS_CHILD | WS_VISIBLE, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, parent, nullptr, instance, nullptr);
}

PROPSHEETPAGEW todaySettingsPage(HINSTANCE instance) {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT;
  page.hInstance = instance;
  page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(kPageTemplate);
  page.pfnDlgProc = pageProc;
  return page;
}

}  // namespace handheld::shell
