// Where windows are: GetWindowRect, GetClientRect, ClientToScreen, ScreenToClient,
// MapWindowPoints, WindowFromPoint, ChildWindowFromPoint.
#include <optional>

#include "gdi/geometry.h"
#include "user/device_link.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

struct Placement {
  RECT window;        // screen
  POINT clientOrigin; // screen
  RECT client;        // {0, 0, width, height}
};

std::optional<Placement> placementOf(HWND window) {
  switch (classifyHandle(window)) {
    case HandleKind::Own: {
      UserGuard guard(userLock());
      auto w = findOwnWindow(window);
      if (!w) return std::nullopt;
      return Placement{windowRectOnScreen(*w), clientOriginOnScreen(*w), clientRect(*w)};
    }
    case HandleKind::Foreign: {
      auto r = describeForeign(window);
      if (!r) return std::nullopt;
      RECT insets = nonClientInsets(r->style, r->exStyle);
      RECT onScreen{r->left, r->top, r->right, r->bottom};
      LONG width = std::max<LONG>(0, onScreen.right - onScreen.left - insets.left - insets.right);
      LONG height = std::max<LONG>(0, onScreen.bottom - onScreen.top - insets.top - insets.bottom);
      return Placement{onScreen, {onScreen.left + insets.left, onScreen.top + insets.top}, {0, 0, width, height}};
    }
    case HandleKind::Desktop: {
      RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return Placement{screen, {0, 0}, screen};
    }
    default:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return std::nullopt;
  }
}

}  // namespace

HANDHELD_API BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
  auto placement = placementOf(window);
  if (!placement || !rect) return FALSE;
  *rect = placement->window;
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
  auto placement = placementOf(window);
  if (!placement || !rect) return FALSE;
  *rect = placement->client;
  return TRUE;
}

HANDHELD_API BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
  auto placement = placementOf(window);
  if (!placement || !point) return FALSE;
  point->x += placement->clientOrigin.x;
  point->y += placement->clientOrigin.y;
  return TRUE;
}

HANDHELD_API BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) {
  auto placement = placementOf(window);
  if (!placement || !point) return FALSE;
  point->x -= placement->clientOrigin.x;
  point->y -= placement->clientOrigin.y;
  return TRUE;
}

// The low word of the result is the horizontal shift, the high word the vertical one.
HANDHELD_API int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT fromOrigin{0, 0};
  POINT toOrigin{0, 0};
  if (from) {
    auto placement = placementOf(from);
    if (!placement) return 0;
    fromOrigin = placement->clientOrigin;
  }
  if (to) {
    auto placement = placementOf(to);
    if (!placement) return 0;
    toOrigin = placement->clientOrigin;
  }
  const LONG dx = fromOrigin.x - toOrigin.x;
  const LONG dy = fromOrigin.y - toOrigin.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HANDHELD_API HWND WINAPI WindowFromPoint(POINT point) {
  auto reply = deviceLink().call<handheld::ipc::WindowAtPoint>({point.x, point.y});
  if (!reply || !reply->handle) return nullptr;
  HWND topLevel = toHwnd(reply->handle);
  if (classifyHandle(topLevel) != HandleKind::Own) return topLevel;
  UserGuard guard(userLock());
  auto w = WindowTable::get().find(topLevel);
  return w ? deepestChildAt(w, point) : nullptr;
}

HANDHELD_API HWND WINAPI ChildWindowFromPoint(HWND parent, POINT point) {
  UserGuard guard(userLock());
  auto w = findOwnWindow(parent);
  if (!w) return nullptr;
  RECT client = clientRect(*w);
  if (point.x < client.left || point.x >= client.right || point.y < client.top || point.y >= client.bottom)
    return nullptr;
  for (HWND child : w->children) {
    auto c = WindowTable::get().find(child);
    if (c && point.x >= c->rect.left && point.x < c->rect.right && point.y >= c->rect.top &&
        point.y < c->rect.bottom)
      return child;
  }
  return parent;
}
