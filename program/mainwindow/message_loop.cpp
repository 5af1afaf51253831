#include "mainwindow/message_loop.h"

namespace {

bool isCtrlQ(const MSG& message) {
  return message.message == WM_KEYUP && message.wParam == 'Q' &&
         (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace

int RunMessageLoop(HWND mainWindow) {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (isCtrlQ(message)) {
      PostMessageW(mainWindow, WM_CLOSE, 0, 0);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
