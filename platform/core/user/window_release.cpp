#include "user/window.h"

#include <algorithm>

#include "user/paint_state.h"
#include "user/messages.h"

namespace handheld::user {

namespace {

void dropMessagesFor(std::deque<MSG>& messages, HWND window) {
  std::erase_if(messages, [window](const MSG& m) { return m.hwnd == window; });
}

void dropMessagesFor(std::deque<PostedMessage>& messages, HWND window) {
  std::erase_if(messages, [window](const PostedMessage& m) {
    if (m.hwnd != window) return false;
    notePostLeft(m);
    return true;
  });
}

}  // namespace

void forgetWindow(Window& window) {
  HWND handle = window.handle;
  setUpdateRegion(window, Region(), false);
  if (window.isChild()) {
    if (auto parent = WindowTable::get().find(window.parent)) std::erase(parent->children, handle);
  }
  for (const auto& [value, other] : WindowTable::get().all())
    if (other->owner == handle) other->owner = nullptr;
  if (auto queue = QueueTable::get().find(window.threadId)) {
    dropMessagesFor(queue->posted, handle);
    dropMessagesFor(queue->input, handle);
    std::erase_if(queue->timers, [handle](const Timer& t) { return t.window == handle; });
    if (queue->focus == handle) queue->focus = nullptr;
    if (queue->active == handle) queue->active = nullptr;
    if (queue->capture == handle) queue->capture = nullptr;
  }
  --window.windowClass->windows;
  window.surface.reset();
  WindowTable::get().erase(handle);
}

}  // namespace handheld::user
