#include "user/messages.h"

#include "user/window.h"

namespace handheld::user {

namespace {

bool windowPasses(const MessageFilter& filter, HWND window) {
  if (!filter.window) return true;
  if (filter.window == reinterpret_cast<HWND>(-1)) return window == nullptr;
  return window == filter.window || isDescendant(filter.window, window);
}

void leaving(const MSG&) {}
void leaving(const PostedMessage& message) { notePostLeft(message); }

template <class Message>
bool takeFrom(std::deque<Message>& messages, const MessageFilter& filter, bool remove, MSG& out) {
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (!filter.takes(it->message) || !windowPasses(filter, it->hwnd)) continue;
    out = *it;
    if (remove) {
      leaving(*it);
      messages.erase(it);
    }
    return true;
  }
  return false;
}

// Parents before their children, as the device paints.
bool takePaint(const ThreadQueue& queue, const MessageFilter& filter, MSG& out) {
  if (queue.windowsToPaint == 0 || !filter.takes(WM_PAINT)) return false;
  std::shared_ptr<Window> best;
  size_t bestDepth = SIZE_MAX;
  for (const auto& [value, w] : WindowTable::get().all()) {
    if (w->threadId != queue.threadId() || w->update.empty() || !windowPasses(filter, w->handle))
      continue;
    size_t depth = 0;
    for (auto p = w; p && p->isChild(); p = WindowTable::get().find(p->parent)) ++depth;
    if (depth < bestDepth) {
      best = w;
      bestDepth = depth;
    }
  }
  if (!best) return false;
  out = MSG{best->handle, WM_PAINT, 0, 0, GetTickCount(), queue.lastMessagePoint};
  return true;
}

UINT timerMessage(const Timer& timer) { return timer.system ? kSystemTimerMessage : WM_TIMER; }

bool timerPasses(const MessageFilter& filter, const Timer& timer) {
  return filter.takes(timerMessage(timer)) && windowPasses(filter, timer.window);
}

bool takeTimer(ThreadQueue& queue, const MessageFilter& filter, bool remove, MSG& out) {
  const auto now = Clock::now();
  Timer* due = nullptr;
  for (auto& timer : queue.timers)
    if (timer.due <= now && timerPasses(filter, timer) && (!due || timer.due < due->due)) due = &timer;
  if (!due) return false;
  out = MSG{due->window, timerMessage(*due), due->id, reinterpret_cast<LPARAM>(due->procedure),
            GetTickCount(), queue.lastMessagePoint};
  // Re-armed from now: a late timer is not owed the periods it missed.
  if (remove) due->due = now + std::chrono::milliseconds(due->interval);
  return true;
}

}  // namespace

bool hasTimerDue(const ThreadQueue& queue, Clock::time_point now) {
  for (const auto& timer : queue.timers)
    if (timer.due <= now) return true;
  return false;
}

std::optional<Clock::time_point> nextTimerDeadline(const ThreadQueue& queue,
                                                   const MessageFilter& filter) {
  std::optional<Clock::time_point> earliest;
  for (const auto& timer : queue.timers)
    if (timerPasses(filter, timer) && (!earliest || timer.due < *earliest))
      earliest = timer.due;
  return earliest;
}

bool peekNextMessage(ThreadQueue& queue, const MessageFilter& filter, bool remove, MSG& out) {
  for (;;) {
    UserGuard guard(userLock());
    queue.arrived = 0;
    if (!queue.sent.empty()) {
      auto next = std::move(queue.sent.front());
      queue.sent.pop_front();
      guard.unlock();
      processSentMessage(queue, next);
      continue;
    }
    bool found = takeFrom(queue.posted, filter, remove, out);
    if (!found && queue.quitPending && filter.takes(WM_QUIT) && windowPasses(filter, nullptr)) {
      out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, GetTickCount(),
                queue.lastMessagePoint};
      if (remove) queue.quitPending = false;
      found = true;
    }
    found = found || takeFrom(queue.input, filter, remove, out) || takePaint(queue, filter, out) ||
            takeTimer(queue, filter, remove, out);
    if (found && remove) {
      queue.lastMessageTime = out.time;
      queue.lastMessagePoint = out.pt;
    }
    auto reports = takeDuePostReports(!found);
    guard.unlock();
    sendPostReports(reports);
    return found;
  }
}

}  // namespace handheld::user
