#include "user/device_link.h"

#include <unordered_map>

#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

// Sends of this process waiting for their answer, by send id. Under the lock.
std::unordered_map<uint64_t, std::shared_ptr<SentMessage>>& outgoingSends() {
  static auto* sends = new std::unordered_map<uint64_t, std::shared_ptr<SentMessage>>;
  return *sends;
}
uint64_t g_nextSendId = 1;

// Posts the server waits for are acknowledged once queued; a send only when it cannot be
// queued (its result comes when the window procedure returns); a notification never.
void acknowledge(const ipc::MessageDeliver& delivery, uint32_t error) {
  if (delivery.deliveryId == 0) return;  // nobody waits for this one
  const bool post = delivery.kind == ipc::Delivery::Post || delivery.kind == ipc::Delivery::ThreadPost;
  if (post || (delivery.kind == ipc::Delivery::Send && error))
    deviceLink().notify(ipc::MessageResult{delivery.deliveryId, error, 0});
}

}  // namespace

LRESULT sendToOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool notify) {
  if (message == WM_HELP) return sendHelpToOtherProcess(window, lParam);
  if (carriesPointers(message, wParam, lParam)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return 0;
  }
  auto queue = currentQueue();
  if (!queue) return 0;
  ipc::MessageSend send{0, handleValue(window), message, static_cast<uint64_t>(wParam),
                        static_cast<int64_t>(lParam), notify};
  auto record = std::make_shared<SentMessage>();
  record->sender = queue;
  {
    UserGuard guard(userLock());
    send.sendId = g_nextSendId++;
    if (!notify) outgoingSends()[send.sendId] = record;
  }
  deviceLink().notify(send);
  if (notify) return TRUE;
  return waitForReply(*queue, record);
}

bool postToOtherProcess(HWND window, DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  auto reply = deviceLink().call<ipc::MessagePost>(
      {handleValue(window), threadId, message, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam)});
  DWORD error = reply ? reply->error : ERROR_INVALID_PARAMETER;
  if (error) SetLastError(error);
  return error == 0;
}

void completeRemoteSend(const ipc::MessageSendDone& done) {
  UserGuard guard(userLock());
  auto it = outgoingSends().find(done.sendId);
  if (it == outgoingSends().end()) return;
  auto record = std::move(it->second);
  outgoingSends().erase(it);
  record->replied = true;
  record->result = static_cast<LRESULT>(done.result);
  record->error = done.error;
  record->sender->wake();
}

void deliverFromServer(const ipc::MessageDeliver& delivery) {
  HWND window = toHwnd(delivery.handle);
  const auto wParam = static_cast<WPARAM>(delivery.wParam);
  const auto lParam = static_cast<LPARAM>(delivery.lParam);
  UserGuard guard(userLock());
  std::shared_ptr<ThreadQueue> queue;
  if (delivery.kind == ipc::Delivery::ThreadPost) {
    queue = QueueTable::get().find(delivery.threadId);
  } else if (auto w = WindowTable::get().find(window)) {
    queue = QueueTable::get().find(w->threadId);
  }
  // A post the server answered itself was counted against this thread; it is reported
  // whether it is queued or not.
  const DWORD quotaThread =
      delivery.kind == ipc::Delivery::Post && delivery.deliveryId == 0 ? delivery.threadId : 0;
  const MSG message{window, delivery.message, wParam, lParam, GetTickCount(), {}};
  if (!queue || (window && !acceptsFromOtherProcess(window, delivery.message, wParam, lParam)) ||
      (!window && carriesPointers(delivery.message, wParam, lParam))) {
    notePostLeft(PostedMessage(message, quotaThread));
    auto reports = takeDuePostReports(true);
    guard.unlock();
    sendPostReports(reports);
    return acknowledge(delivery, queue ? ERROR_MESSAGE_SYNC_ONLY : ERROR_INVALID_WINDOW_HANDLE);
  }
  bool queued = false;
  if (delivery.kind == ipc::Delivery::Post || delivery.kind == ipc::Delivery::ThreadPost) {
    queued = enqueuePosted(*queue, message, quotaThread);
  } else {
    auto record = std::make_shared<SentMessage>();
    record->origin = SentMessage::Origin::Remote;
    record->window = window;
    record->message = delivery.message;
    record->wParam = wParam;
    record->lParam = lParam;
    record->notify = delivery.kind == ipc::Delivery::Notify;
    record->deliveryId = delivery.deliveryId;
    queued = enqueueSent(*queue, std::move(record));
  }
  if (!queued) notePostLeft(PostedMessage(message, quotaThread));
  auto reports = takeDuePostReports(!queued);
  guard.unlock();
  sendPostReports(reports);
  acknowledge(delivery, queued ? 0 : ERROR_NOT_ENOUGH_QUOTA);
}

}  // namespace handheld::user
