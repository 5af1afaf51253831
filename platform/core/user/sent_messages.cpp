#include "user/messages.h"

#include "ipc/protocol.h"
#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

void answerSentMessage(const std::shared_ptr<SentMessage>& message, LRESULT result) {
  {
    UserGuard guard(userLock());
    if (message->replied) return;
    message->replied = true;
    message->result = result;
    if (message->origin == SentMessage::Origin::Thread && message->sender) message->sender->wake();
  }
  if (message->origin == SentMessage::Origin::Remote && !message->notify)
    deviceLink().notify(ipc::MessageResult{message->deliveryId, 0, static_cast<int64_t>(result)});
}

void processSentMessage(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message) {
  {
    UserGuard guard(userLock());
    queue.receiving.push_back(message);
  }
  LRESULT result = 0;
  if (message->origin == SentMessage::Origin::Internal) {
    message->action();
  } else {
    result = message->message == WM_PAINT
                 ? deliverPaint(message->window)
                 : callWindowProcedure(message->window, message->message, message->wParam,
                                       message->lParam);
  }
  {
    UserGuard guard(userLock());
    queue.receiving.pop_back();
  }
  answerSentMessage(message, result);
}

void processPendingSentMessages(ThreadQueue& queue) {
  for (;;) {
    std::shared_ptr<SentMessage> next;
    {
      UserGuard guard(userLock());
      if (queue.sent.empty()) return;
      next = std::move(queue.sent.front());
      queue.sent.pop_front();
    }
    processSentMessage(queue, next);
  }
}

LRESULT waitForReply(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message,
                     std::optional<Clock::time_point> deadline) {
  for (;;) {
    queue.drainWake();
    processPendingSentMessages(queue);
    {
      UserGuard guard(userLock());
      if (message->replied) {
        if (message->error) SetLastError(message->error);
        return message->result;
      }
    }
    if (deadline && Clock::now() >= *deadline) {
      SetLastError(ERROR_TIMEOUT);
      return 0;
    }
    waitOnQueue(queue, deadline);
  }
}

}  // namespace handheld::user
