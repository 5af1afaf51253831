// A device program for input-panel tests: the shell's on-screen keyboard window with a
// full-screen window holding an edit (control id 100) that has the focus. The main window
// ("PanelProbe") follows the panel with SHHandleWMSettingChange and keeps its title at
// "changes N bottom B": how many WM_SETTINGCHANGE with SPI_SETSIPINFO it received, and the
// bottom of the visible desktop SHSipInfo reported at the last one.
#include <windows.h>
#include <aygshell.h>

#include <string>

#include "input_panel/input_panel.h"

namespace {

constexpr int kEditHeight = 24;  // at a border width of 1
int g_changes = 0;
SHACTIVATEINFO g_activation{};

void showChanges(HWND window, LONG bottom) {
  const std::string text = "changes " + std::to_string(g_changes) + " bottom " + std::to_string(bottom);
  SetWindowTextW(window, std::u16string(text.begin(), text.end()).c_str());
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTINGCHANGE:
      if (wParam == SETTINGCHANGE_RESET) {
        // A new screen: full screen again, then fitted to the panel as it stands.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        MoveWindow(window, work.left, work.top, work.right - work.left, work.bottom - work.top, TRUE);
        SHHandleWMSettingChange(window, SPI_SETSIPINFO, 0, &g_activation);
        // The edit measures its font again at the new density.
        SendMessageW(GetDlgItem(window, 100), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
      }
      if (wParam == SPI_SETSIPINFO) {
        SIPINFO info{};
        info.cbSize = 48;  // as a 32-bit program passes it
        SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
        ++g_changes;
        showChanges(window, info.rcVisibleDesktop.bottom);
        SHHandleWMSettingChange(window, wParam, lParam, &g_activation);
      }
      return 0;
    case WM_ACTIVATE:
      SHHandleWMActivate(window, wParam, lParam, &g_activation, 0);
      break;
    case WM_SIZE: {
      HWND edit = GetDlgItem(window, 100);
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), kEditHeight * GetSystemMetrics(SM_CXBORDER), TRUE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_activation.cbSize = sizeof g_activation;
  if (!handheld::shell::createInputPanel(instance)) return 101;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = u"PanelProbe";
  if (!RegisterClassW(&windowClass)) return 102;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = CreateWindowExW(0, u"PanelProbe", u"changes 0 bottom 0", WS_POPUP, work.left, work.top,
                                work.right - work.left, work.bottom - work.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 103;
  HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 0, 0,
                              work.right - work.left, kEditHeight * GetSystemMetrics(SM_CXBORDER), window, reinterpret_cast<HMENU>(100), instance, nullptr);
  if (!edit) return 104;
  ShowWindow(window, SW_SHOW);
  SetFocus(edit);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
