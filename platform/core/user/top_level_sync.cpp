#include "user/device_link.h"

#include <fcntl.h>
#include <unistd.h>

#include "user/input_focus.h"
#include "user/paint_state.h"
#include "user/window.h"

namespace handheld::user {

ipc::WindowRecord recordOf(const Window& window) {
  ipc::WindowRecord record;
  record.handle = handleValue(window.handle);
  record.parent = window.isChild() ? handleValue(window.parent) : 0;
  record.owner = window.isChild() ? 0 : handleValue(window.owner);
  record.pid = static_cast<uint32_t>(getpid());
  record.threadId = window.threadId;
  record.version = window.version;
  record.className = window.windowClass->name;
  record.text = window.text.substr(0, ipc::kMaxWindowTextOnServer);
  record.style = window.style;
  record.exStyle = window.exStyle;
  record.id = window.id;
  RECT onScreen = windowRectOnScreen(window);
  record.left = onScreen.left;
  record.top = onScreen.top;
  record.right = onScreen.right;
  record.bottom = onScreen.bottom;
  record.visible = effectivelyVisible(window);
  record.enabled = window.enabledFlag();
  record.topmost = (window.exStyle & WS_EX_TOPMOST) != 0;
  return record;
}

bool registerTopLevel(HWND window) {
  ipc::WindowRecord record;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w) return false;
    record = recordOf(*w);
  }
  auto reply = deviceLink().call<ipc::WindowAdd>({record});
  DWORD error = reply ? reply->error : ERROR_NOT_ENOUGH_MEMORY;
  if (error) SetLastError(error);
  return error == 0;
}

void syncTopLevel(HWND window) {
  ipc::WindowRecord record;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w || w->isChild()) return;
    ++w->version;
    record = recordOf(*w);
  }
  auto reply = deviceLink().call<ipc::WindowChange>({record});
  if (reply) applyActivationChange(reply->activation);
}

void unregisterTopLevel(HWND window) {
  auto reply = deviceLink().call<ipc::WindowRemove>({handleValue(window)});
  if (reply) applyActivationChange(reply->activation);
}

void refreshSurface(HWND window) {
  ipc::SurfaceAttach attach;
  {
    UserGuard guard(userLock());
    auto w = WindowTable::get().find(window);
    if (!w || w->isChild()) return;
    const int width = w->rect.right - w->rect.left;
    const int height = w->rect.bottom - w->rect.top;
    const gdi::Surface* pixels = w->surface ? w->surface->pixels().get() : nullptr;
    const bool unchanged = pixels ? pixels->width() == width && pixels->height() == height
                                  : width <= 0 || height <= 0;
    if (unchanged) return;
    w->surface = WindowSurface::create(width, height);
    attach.handle = handleValue(window);
    if (w->surface) {
      attach.memory.fd.reset(fcntl(w->surface->memoryFd(), F_DUPFD_CLOEXEC, 0));
      attach.width = width;
      attach.height = height;
    }
    invalidateWithChildren(*w);
  }
  deviceLink().notify(attach);
}

}  // namespace handheld::user
