#include "user/messages.h"

#include "user/window.h"

namespace handheld::user {

bool queueInputMessage(const MSG& message) {
  UserGuard guard(userLock());
  auto w = findOwnWindow(message.hwnd);
  if (!w) return false;
  auto queue = QueueTable::get().find(w->threadId);
  if (!queue || queue->ended || queue->input.size() >= kMaxPostedMessages) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return false;
  }
  queue->input.push_back(message);
  const bool stylus = message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST;
  queue->arrived |= stylus ? (message.message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON) : QS_KEY;
  queue->wake();
  return true;
}

}  // namespace handheld::user
