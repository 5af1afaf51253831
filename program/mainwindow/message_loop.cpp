#include "mainwindow/message_loop.h"

#include "app/commands.h"

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
    // A note window only ever sends PNM_NOTE_SAVED; a posted one comes from elsewhere and
    // its path pointer means nothing here.
    if (message.message == PNM_NOTE_SAVED) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
