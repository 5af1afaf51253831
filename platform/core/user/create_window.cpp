// CreateWindowExW: WM_NCCREATE, WM_CREATE (-1 refuses the window), WM_SIZE and WM_MOVE, then
// ShowWindow when the style asks for WS_VISIBLE.
#include <algorithm>

#include "user/window.h"
#include "user/messages.h"
#include "user/device_link.h"

using namespace handheld::user;

namespace {

constexpr int kMaxCoordinate = 32767;

int clampCoordinate(int value) { return std::clamp(value, -kMaxCoordinate, kMaxCoordinate); }

// CW_USEDEFAULT: a top-level window gets the whole screen, a child the parent's origin.
RECT initialRect(bool child, int x, int y, int width, int height) {
  if (x == CW_USEDEFAULT) x = y = 0;
  if (y == CW_USEDEFAULT) y = 0;
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : GetSystemMetrics(SM_CXSCREEN);
    if (height == CW_USEDEFAULT || !child) height = child ? 0 : GetSystemMetrics(SM_CYSCREEN);
  }
  if (height == CW_USEDEFAULT) height = child ? 0 : GetSystemMetrics(SM_CYSCREEN);
  x = clampCoordinate(x);
  y = clampCoordinate(y);
  width = std::clamp(width, 0, kMaxCoordinate);
  height = std::clamp(height, 0, kMaxCoordinate);
  return {x, y, x + width, y + height};
}

// Builds the window and enters it in the table (under the lock); null with the error set.
std::shared_ptr<Window> makeWindow(DWORD exStyle, LPCWSTR className, DWORD style, const RECT& rect,
                                   HWND parent, HMENU menu, HINSTANCE instance) {
  UserGuard guard(userLock());
  auto windowClass = ClassRegistry::get().find(className, instance);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  std::shared_ptr<Window> parentWindow;
  const HandleKind parentKind = classifyHandle(parent);
  if (parentKind == HandleKind::Own) {
    parentWindow = findOwnWindow(parent);
    if (!parentWindow) return nullptr;
  } else if (parent && ((style & WS_CHILD) || parentKind != HandleKind::Foreign)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);  // children live in their parent's process
    return nullptr;
  }
  auto w = std::make_shared<Window>();
  w->windowClass = windowClass;
  w->threadId = GetCurrentThreadId();
  w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
  w->exStyle = exStyle;
  w->procedure = windowClass->procedure;
  w->instance = normalizeInstance(instance);
  w->rect = rect;
  w->extra.assign(static_cast<size_t>(windowClass->windowExtraBytes), 0);
  if (style & WS_CHILD) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else if (parent) {
    w->owner = parentWindow ? topLevelOf(parentWindow)->handle : parent;
  }
  if (!WindowTable::get().insert(w, ownWindowSlot())) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  ++windowClass->windows;
  // New children go to the bottom of their siblings: the first created stays first.
  if (parentWindow && (style & WS_CHILD)) parentWindow->children.push_back(w->handle);
  return w;
}

}  // namespace

HANDHELD_API HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName,
                                         DWORD style, int x, int y, int width, int height,
                                         HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!currentQueue()) return nullptr;
  if (classifyHandle(parent) == HandleKind::Desktop) parent = nullptr;
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  const RECT rect = initialRect(style & WS_CHILD, x, y, width, height);
  auto w = makeWindow(exStyle, className, style, rect, parent, menu, instance);
  if (!w) return nullptr;
  HWND window = w->handle;
  const bool topLevel = !(style & WS_CHILD);
  if (topLevel) {
    if (!registerTopLevel(window)) {
      abandonWindow(window, false);
      return nullptr;
    }
    refreshSurface(window);
  }

  CREATESTRUCTW create{param, instance, menu, parent,
                       rect.bottom - rect.top, rect.right - rect.left, rect.top, rect.left,
                       static_cast<LONG>(style), windowName, className, exStyle};
  if (!callWindowProcedure(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    abandonWindow(window, true);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (callWindowProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  RECT client{};
  POINT origin{};
  {
    UserGuard guard(userLock());
    auto alive = WindowTable::get().find(window);
    if (!alive) return nullptr;  // destroyed during its creation
    alive->state = Window::State::Alive;
    client = clientRect(*alive);
    RECT insets = nonClientInsets(alive->style, alive->exStyle);
    origin = {alive->rect.left + insets.left, alive->rect.top + insets.top};
  }
  callWindowProcedure(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  callWindowProcedure(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (topLevel) syncTopLevel(window);
  if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
  return IsWindow(window) ? window : nullptr;
}
