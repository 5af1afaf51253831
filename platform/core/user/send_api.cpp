// SendMessageW, SendNotifyMessageW, ReplyMessage, InSendMessage.
#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

LRESULT sendToOwnWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify,
                        std::optional<Clock::time_point> deadline) {
  std::shared_ptr<ThreadQueue> sender;
  std::shared_ptr<SentMessage> record;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return 0;
    if (w->threadId != GetCurrentThreadId()) {
      auto receiver = QueueTable::get().find(w->threadId);
      if (!receiver) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
      }
      if (!notify) {
        guard.unlock();
        sender = currentQueue();
        if (!sender) return 0;
        guard.lock();
      }
      record = std::make_shared<SentMessage>();
      record->window = window;
      record->message = message;
      record->wParam = wParam;
      record->lParam = lParam;
      record->notify = notify;
      record->sender = sender;
      if (!enqueueSent(*receiver, record)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
      }
    }
  }
  if (!record) {
    LRESULT result = message == WM_PAINT ? deliverPaint(window)
                                         : callWindowProcedure(window, message, wParam, lParam);
    return notify ? TRUE : result;
  }
  return notify ? TRUE : waitForReply(*sender, record, deadline);
}

}  // namespace

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify) {
  switch (classifyHandle(window)) {
    case HandleKind::Foreign:
      return sendToOtherProcess(window, message, wParam, lParam, notify);
    case HandleKind::Own:
      return sendToOwnWindow(window, message, wParam, lParam, notify, std::nullopt);
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
  }
}

std::optional<LRESULT> sendOwnMessageBy(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        Clock::time_point deadline) {
  if (classifyHandle(window) != HandleKind::Own) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  const LRESULT result = sendToOwnWindow(window, message, wParam, lParam, false, deadline);
  if (result == 0 && GetLastError() == ERROR_TIMEOUT) return std::nullopt;
  return result;
}

}  // namespace handheld::user

using namespace handheld::user;

HANDHELD_API LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return sendMessage(window, message, wParam, lParam);
}

HANDHELD_API BOOL WINAPI SendNotifyMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Queued for another thread, a pointer would outlive the caller's data.
  if (carriesPointers(message, wParam, lParam) && classifyHandle(window) == HandleKind::Own) {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (w && w->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_MESSAGE_SYNC_ONLY);
      return FALSE;
    }
  }
  return sendMessage(window, message, wParam, lParam, true) != 0;
}

HANDHELD_API BOOL WINAPI ReplyMessage(LRESULT result) {
  std::shared_ptr<SentMessage> current;
  {
    UserGuard guard(userLock());
    ThreadQueue* queue = existingCurrentQueue();
    if (!queue || queue->receiving.empty()) return FALSE;
    current = queue->receiving.back();
    if (current->origin == SentMessage::Origin::Internal) return FALSE;
  }
  answerSentMessage(current, result);
  return TRUE;
}

HANDHELD_API BOOL WINAPI InSendMessage(void) {
  UserGuard guard(userLock());
  ThreadQueue* queue = existingCurrentQueue();
  return queue && !queue->receiving.empty() &&
         queue->receiving.back()->origin != SentMessage::Origin::Internal;
}
