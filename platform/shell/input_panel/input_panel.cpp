// Stand-in until the input panel joins: a hidden top-level window above the menu bar.
#include "input_panel.h"

namespace handheld::shell {

HWND createInputPanel(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = u"InputPanel";
  RegisterClassW(&wc);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  return CreateWindowExW(WS_EX_TOPMOST, u"InputPanel", u"Input panel", WS_POPUP, 0, height - 26 - 80, width, 80,
                         nullptr, nullptr, instance, nullptr);
}

}  // namespace handheld::shell
