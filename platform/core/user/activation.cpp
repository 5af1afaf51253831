#include "user/input_focus.h"

#include "user/device_link.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

bool isOwn(uint32_t value) { return value && slotOf(value) == ownWindowSlot(); }

void activate(HWND window, HWND lost) {
  {
    UserGuard guard(userLock());
    ThreadQueue* queue = existingCurrentQueue();
    if (!queue || !WindowTable::get().find(window)) return;
    queue->active = window;
  }
  caretActivationChanged();
  callWindowProcedure(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(lost));
}

void deactivate(HWND window, HWND gained) {
  ThreadQueue* queue = existingCurrentQueue();
  bool successorHere = false;
  {
    UserGuard guard(userLock());
    if (!queue) return;
    if (queue->active == window) queue->active = nullptr;
    if (!WindowTable::get().find(window)) return;
    auto successor = WindowTable::get().find(gained);
    successorHere = successor && successor->threadId == queue->threadId();
  }
  caretActivationChanged();
  callWindowProcedure(window, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(gained));
  bool focusInside = false;
  {
    UserGuard guard(userLock());
    HWND focus = queue->focus;
    focusInside = focus && (focus == window || isDescendant(window, focus));
  }
  // A successor on this thread takes the focus itself (WM_KILLFOCUS names it then).
  if (focusInside && !successorHere) moveFocus(nullptr);
}

}  // namespace

void runOnWindowThread(HWND window, std::function<void()> work) {
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(window);
  if (!w) return;
  if (w->threadId == GetCurrentThreadId()) {
    guard.unlock();
    work();
    return;
  }
  auto queue = QueueTable::get().find(w->threadId);
  if (!queue) return;
  auto record = std::make_shared<SentMessage>();
  record->origin = SentMessage::Origin::Internal;
  record->window = window;
  record->notify = true;
  record->action = std::move(work);
  enqueueSent(*queue, std::move(record));
}

void applyActivationChange(const ipc::ActivationChange& change) {
  HWND lost = toHwnd(change.lost);
  HWND gained = toHwnd(change.gained);
  if (isOwn(change.lost)) runOnWindowThread(lost, [lost, gained] { deactivate(lost, gained); });
  if (isOwn(change.gained)) runOnWindowThread(gained, [lost, gained] { activate(gained, lost); });
}

void activationNoticed(const ipc::ActivationNotice& notice) {
  HWND window = toHwnd(notice.handle);
  HWND other = toHwnd(notice.other);
  if (notice.active) {
    runOnWindowThread(window, [window, other] { activate(window, other); });
  } else {
    runOnWindowThread(window, [window, other] { deactivate(window, other); });
  }
}

bool arrangeTopLevel(HWND window, uint32_t insertAfter, bool raise, bool activate) {
  auto reply = deviceLink().call<ipc::WindowArrange>({handleValue(window), insertAfter, raise, activate});
  DWORD error = reply ? reply->error : ERROR_INVALID_WINDOW_HANDLE;
  if (error) {
    SetLastError(error);
    return false;
  }
  applyActivationChange(reply->activation);
  return true;
}

HWND moveFocus(HWND target) {
  auto queue = currentQueue();
  if (!queue) return nullptr;
  HWND old = nullptr;
  {
    UserGuard guard(userLock());
    old = queue->focus;
    if (old == target) return old;
    queue->focus = target;
  }
  if (old) callWindowProcedure(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target), 0);
  if (target) {
    {
      UserGuard guard(userLock());
      if (queue->focus != target) return old;  // the old window moved it elsewhere
    }
    callWindowProcedure(target, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

}  // namespace handheld::user
