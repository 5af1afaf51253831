// Relations between windows: GetParent, GetWindow, IsChild, GetDesktopWindow,
// EnumChildWindows, and the device-wide FindWindowW and EnumWindows.
#include <algorithm>
#include <vector>

#include "user/device_link.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

std::vector<handheld::ipc::WindowRecord> topLevelWindows() {
  auto reply = deviceLink().call<handheld::ipc::WindowList>({});
  return reply ? std::move(reply->windows) : std::vector<handheld::ipc::WindowRecord>{};
}

// The top-level window next to `window` in the device's z-order.
HWND topLevelNeighbour(HWND window, UINT relation) {
  auto windows = topLevelWindows();
  if (windows.empty()) return nullptr;
  if (relation == GW_HWNDFIRST) return toHwnd(windows.front().handle);
  if (relation == GW_HWNDLAST) return toHwnd(windows.back().handle);
  auto it = std::find_if(windows.begin(), windows.end(),
                         [&](const auto& r) { return r.handle == handleValue(window); });
  if (it == windows.end()) return nullptr;
  if (relation == GW_HWNDNEXT) return ++it == windows.end() ? nullptr : toHwnd(it->handle);
  return it == windows.begin() ? nullptr : toHwnd((--it)->handle);
}

HWND siblingOf(const Window& parent, HWND window, UINT relation) {
  const auto& siblings = parent.children;
  if (siblings.empty()) return nullptr;
  if (relation == GW_HWNDFIRST) return siblings.front();
  if (relation == GW_HWNDLAST) return siblings.back();
  auto it = std::find(siblings.begin(), siblings.end(), window);
  if (it == siblings.end()) return nullptr;
  if (relation == GW_HWNDNEXT) return ++it == siblings.end() ? nullptr : *it;
  return it == siblings.begin() ? nullptr : *--it;
}

void collectDescendants(const Window& window, std::vector<HWND>& out) {
  for (HWND child : window.children) {
    out.push_back(child);
    if (auto c = WindowTable::get().find(child)) collectDescendants(*c, out);
  }
}

}  // namespace

HANDHELD_API HWND WINAPI GetDesktopWindow(void) { return toHwnd(kDesktopHandle); }

// A child's parent; a pop-up window's owner.
HANDHELD_API HWND WINAPI GetParent(HWND window) {
  if (classifyHandle(window) == HandleKind::Foreign) {
    auto record = describeForeign(window);
    if (!record) return nullptr;
    if (record->parent) return toHwnd(record->parent);
    return (record->style & WS_POPUP) ? toHwnd(record->owner) : nullptr;
  }
  UserGuard guard(userLock());
  auto w = findOwnWindow(window);
  if (!w) return nullptr;
  if (w->isChild()) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HANDHELD_API HWND WINAPI GetWindow(HWND window, UINT relation) {
  if (relation > GW_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (classifyHandle(window) == HandleKind::Desktop)
    return relation == GW_CHILD ? topLevelNeighbour(nullptr, GW_HWNDFIRST) : nullptr;
  if (classifyHandle(window) == HandleKind::Foreign) {
    auto record = describeForeign(window);
    if (!record) return nullptr;
    if (relation == GW_OWNER) return toHwnd(record->owner);
    if (relation == GW_CHILD || record->parent) return nullptr;  // a foreign window's children stay there
    return topLevelNeighbour(window, relation);
  }
  bool topLevel = false;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return nullptr;
    switch (relation) {
      case GW_OWNER: return w->isChild() ? nullptr : w->owner;
      case GW_CHILD: return w->children.empty() ? nullptr : w->children.front();
      default: break;
    }
    if (w->isChild()) {
      auto parent = WindowTable::get().find(w->parent);
      return parent ? siblingOf(*parent, window, relation) : nullptr;
    }
    topLevel = true;
  }
  return topLevel ? topLevelNeighbour(window, relation) : nullptr;
}

HANDHELD_API BOOL WINAPI IsChild(HWND parent, HWND window) {
  UserGuard guard(userLock());
  return isDescendant(parent, window);
}

HANDHELD_API BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HWND> windows;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(parent);
    if (!w) return FALSE;
    collectDescendants(*w, windows);
  }
  for (HWND child : windows)
    if (IsWindow(child) && !callback(child, lParam)) return FALSE;
  return TRUE;
}

HANDHELD_API HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  handheld::ipc::WindowFind::Request request;
  if (className) {
    request.matchClass = true;
    if (IS_INTRESOURCE(className)) {
      // An atom names one of this process's classes.
      UserGuard guard(userLock());
      auto c = ClassRegistry::get().find(className, nullptr);
      if (!c) return nullptr;
      request.className = c->name;
    } else {
      request.className = className;
    }
  }
  if (windowName) {
    request.matchText = true;
    request.text = windowName;
  }
  auto reply = deviceLink().call<handheld::ipc::WindowFind>(request);
  return reply ? toHwnd(reply->handle) : nullptr;
}

HANDHELD_API BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (const auto& record : topLevelWindows())
    if (!callback(toHwnd(record.handle), lParam)) return FALSE;
  return TRUE;
}
