// The shell (\Windows\shell.exe), started by the device: the navigation bar, the desktop with
// the Today screen, the input panel, the start menu, the hardware buttons and Settings.
#include <windows.h>

#include "hardware_buttons.h"
#include "input_panel/input_panel.h"
#include "shell.h"

namespace handheld::shell {

bool startProgram(const std::u16string& path) {
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

void requestHelp(HWND target) {
  HELPINFO help{};
  help.cbSize = sizeof help;
  help.iContextType = HELPINFO_WINDOW;
  help.iCtrlId = GetDlgCtrlID(target);
  help.hItemHandle = target;
  help.dwContextId = 0;
  help.MousePos = {0, 0};
  SendMessageW(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
}

}  // namespace handheld::shell

using namespace handheld::shell;

namespace {

constexpr WCHAR kStartupSound[] = u"\\Windows\\startup.wav";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // One shell per device.
  if (FindWindowW(kNavigationBarClass, nullptr)) return 0;
  auto& windows = shellWindows();
  windows.instance = instance;
  windows.desktop = createDesktop(instance);
  windows.navigationBar = createNavigationBar(instance);
  if (!windows.desktop || !windows.navigationBar) return 1;
  windows.inputPanel = createInputPanel(instance);
  registerHardwareButtons(windows.navigationBar);
  showToday();
  // The device greets its user once it is ready; a device without the sound stays quiet.
  PlaySoundW(kStartupSound, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
