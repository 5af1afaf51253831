#include "user/window.h"

#include "gdi/geometry.h"
#include "user/device_link.h"

namespace handheld::user {

HandleKind classifyHandle(HWND window) {
  uint32_t value = handleValue(window);
  if (reinterpret_cast<uintptr_t>(window) == 0) return HandleKind::Null;
  if (value == kDesktopHandle) return HandleKind::Desktop;
  if (value == 0 || serialOf(value) == 0 || slotOf(value) == 0) return HandleKind::Invalid;
  return slotOf(value) == ownWindowSlot() ? HandleKind::Own : HandleKind::Foreign;
}

std::shared_ptr<Window> findOwnWindow(HWND window) {
  auto found = WindowTable::get().find(window);
  if (!found) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return found;
}

std::shared_ptr<Window> topLevelOf(const std::shared_ptr<Window>& window) {
  auto current = window;
  while (current && current->isChild()) {
    auto parent = WindowTable::get().find(current->parent);
    if (!parent) break;
    current = parent;
  }
  return current;
}

bool isDescendant(HWND ancestor, HWND window) {
  auto current = WindowTable::get().find(window);
  while (current && current->isChild()) {
    if (current->parent == ancestor) return true;
    current = WindowTable::get().find(current->parent);
  }
  return false;
}

bool effectivelyVisible(const Window& window) {
  const Window* current = &window;
  std::shared_ptr<Window> hold;
  for (;;) {
    if (!current->visibleFlag()) return false;
    if (!current->isChild()) return true;
    hold = WindowTable::get().find(current->parent);
    if (!hold) return false;
    current = hold.get();
  }
}

RECT nonClientInsets(DWORD style, DWORD exStyle) {
  const int border = GetSystemMetrics(SM_CXBORDER);
  RECT insets{0, 0, 0, 0};
  int frame = 0;
  if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) frame += border;
  if (exStyle & WS_EX_CLIENTEDGE) frame += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) frame += border;
  insets = {frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION) insets.top += GetSystemMetrics(SM_CYCAPTION);
  if (style & WS_VSCROLL) insets.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return insets;
}

RECT clientRect(const Window& window) {
  RECT insets = nonClientInsets(window.style, window.exStyle);
  LONG width = window.rect.right - window.rect.left - insets.left - insets.right;
  LONG height = window.rect.bottom - window.rect.top - insets.top - insets.bottom;
  return {0, 0, std::max<LONG>(0, width), std::max<LONG>(0, height)};
}

RECT windowRectOnScreen(const Window& window) {
  if (!window.isChild()) return window.rect;
  auto parent = WindowTable::get().find(window.parent);
  if (!parent) return window.rect;
  POINT origin = clientOriginOnScreen(*parent);
  return gdi::offsetBy(window.rect, origin.x, origin.y);
}

POINT clientOriginOnScreen(const Window& window) {
  RECT onScreen = windowRectOnScreen(window);
  RECT insets = nonClientInsets(window.style, window.exStyle);
  return {onScreen.left + insets.left, onScreen.top + insets.top};
}

POINT clientOriginInSurface(const Window& window) {
  const Window* top = &window;
  std::shared_ptr<Window> hold;
  while (top->isChild()) {
    hold = WindowTable::get().find(top->parent);
    if (!hold) break;
    top = hold.get();
  }
  POINT origin = clientOriginOnScreen(window);
  return {origin.x - top->rect.left, origin.y - top->rect.top};
}

namespace {

// Takes out the visible windows in front of `child` among its parent's children.
void subtractSiblingsInFront(const Window& parent, HWND child, Region& area) {
  const POINT origin = clientOriginInSurface(parent);
  for (HWND sibling : parent.children) {
    if (sibling == child) return;
    auto s = WindowTable::get().find(sibling);
    if (s && s->visibleFlag()) area.subtract(gdi::offsetBy(s->rect, origin.x, origin.y));
  }
}

// An area of the window (surface coordinates) less its visible children, clipped by every
// parent's client area and the siblings in front.
Region clippedToAncestors(const Window& window, Region area) {
  const POINT origin = clientOriginInSurface(window);
  for (HWND child : window.children) {
    auto c = WindowTable::get().find(child);
    if (c && c->visibleFlag()) area.subtract(gdi::offsetBy(c->rect, origin.x, origin.y));
  }
  const Window* current = &window;
  std::shared_ptr<Window> hold;
  while (current->isChild() && !area.empty()) {
    auto parent = WindowTable::get().find(current->parent);
    if (!parent) break;
    POINT parentOrigin = clientOriginInSurface(*parent);
    area.intersect(gdi::offsetBy(clientRect(*parent), parentOrigin.x, parentOrigin.y));
    subtractSiblingsInFront(*parent, current->handle, area);
    hold = parent;
    current = hold.get();
  }
  return area;
}

}  // namespace

Region drawableClientArea(const Window& window) {
  const POINT origin = clientOriginInSurface(window);
  return clippedToAncestors(window, Region(gdi::offsetBy(clientRect(window), origin.x, origin.y)));
}

POINT windowOriginInSurface(const Window& window) {
  const POINT client = clientOriginInSurface(window);
  const RECT insets = nonClientInsets(window.style, window.exStyle);
  return {client.x - insets.left, client.y - insets.top};
}

Region drawableWindowArea(const Window& window) {
  const POINT origin = windowOriginInSurface(window);
  const RECT bounds{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
  return clippedToAncestors(window, Region(gdi::offsetBy(bounds, origin.x, origin.y)));
}

HWND deepestChildAt(const std::shared_ptr<Window>& window, POINT screen) {
  for (HWND child : window->children) {
    auto c = WindowTable::get().find(child);
    if (!c || !c->visibleFlag() || !c->enabledFlag()) continue;
    RECT r = windowRectOnScreen(*c);
    if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
      return deepestChildAt(c, screen);
  }
  return window->handle;
}

}  // namespace handheld::user
