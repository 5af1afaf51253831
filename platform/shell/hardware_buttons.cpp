#include "hardware_buttons.h"

#include "button_table.h"
#include "shell.h"
#include "start_menu.h"

namespace handheld::shell {

bool registerHardwareButtons(HWND window) {
  bool any = false;
  for (UINT key = VK_APP1; key <= VK_APP6; ++key)
    any = RegisterHotKey(window, static_cast<int>(key), 0, key) || any;
  return any;
}

void hardwareButtonPressed(UINT key) {
  if (key < kFirstButton || key > kLastButton) return;
  const std::u16string action = buttonAction(key);
  if (action.empty()) return;
  if (action == kTodayAction) showToday();
  else if (action == kStartMenuAction) openStartMenu();
  else startProgram(action);  // a second start is the program's own business
}

}  // namespace handheld::shell
