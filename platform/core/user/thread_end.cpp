#include "user/messages.h"

#include <vector>

#include "user/device_link.h"
#include "user/window.h"

namespace handheld::user {

void endThreadQueue(std::shared_ptr<ThreadQueue> queue) {
  std::vector<std::shared_ptr<SentMessage>> unanswered;
  std::vector<HWND> topLevel;
  std::vector<ipc::PostsTaken> reports;
  {
    UserGuard guard(userLock());
    queue->ended = true;
    QueueTable::get().erase(queue->threadId());
    unanswered.assign(queue->sent.begin(), queue->sent.end());
    unanswered.insert(unanswered.end(), queue->receiving.begin(), queue->receiving.end());
    queue->sent.clear();
    queue->receiving.clear();
    std::vector<std::shared_ptr<Window>> windows;
    for (const auto& [value, w] : WindowTable::get().all())
      if (w->threadId == queue->threadId()) windows.push_back(w);
    for (const auto& w : windows) {
      if (!w->isChild()) topLevel.push_back(w->handle);
      w->state = Window::State::Destroying;
    }
    for (const auto& w : windows) forgetWindow(*w);
    for (const auto& message : queue->posted) notePostLeft(message);
    queue->posted.clear();
    queue->input.clear();
    queue->timers.clear();
    reports = takeDuePostReports(true);
  }
  sendPostReports(reports);
  for (const auto& message : unanswered) answerSentMessage(message, 0);
  for (HWND window : topLevel) unregisterTopLevel(window);
}

}  // namespace handheld::user
