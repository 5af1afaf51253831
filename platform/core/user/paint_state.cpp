#include "user/paint_state.h"

#include "gdi/geometry.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {
constexpr size_t kMaxUpdateRects = 32;
}

void setUpdateRegion(Window& window, Region region, bool erase) {
  const bool wasEmpty = window.update.empty();
  window.update = std::move(region);
  const bool isEmpty = window.update.empty();
  window.erasePending = !isEmpty && (window.erasePending || erase);
  if (wasEmpty == isEmpty) return;
  auto queue = QueueTable::get().find(window.threadId);
  if (!queue) return;
  if (isEmpty) {
    --queue->windowsToPaint;
  } else {
    ++queue->windowsToPaint;
    queue->arrived |= QS_PAINT;
    queue->wake();
  }
}

void invalidateClientArea(Window& window, const Region& area, bool erase) {
  if (window.state == Window::State::Destroying || !effectivelyVisible(window)) return;
  Region clipped = area;
  clipped.intersect(clientRect(window));
  if (clipped.empty()) return;
  Region region = window.update;
  region.add(clipped);
  region.coarsen(kMaxUpdateRects);
  setUpdateRegion(window, std::move(region), erase);
}

void invalidateWithChildren(Window& window) {
  invalidateClientArea(window, Region(clientRect(window)), true);
  for (HWND child : window.children)
    if (auto c = WindowTable::get().find(child)) invalidateWithChildren(*c);
}

void invalidateParentArea(Window& parent, const RECT& area) {
  invalidateClientArea(parent, Region(area), true);
  for (HWND child : parent.children) {
    auto c = WindowTable::get().find(child);
    if (!c || !c->visibleFlag() || gdi::isEmpty(gdi::intersect(c->rect, area))) continue;
    // The child's client coordinates of the area.
    RECT insets = nonClientInsets(c->style, c->exStyle);
    RECT inChild = gdi::offsetBy(area, -(c->rect.left + insets.left), -(c->rect.top + insets.top));
    invalidateParentArea(*c, inChild);
  }
}

void discardUpdateRegions(Window& window) {
  setUpdateRegion(window, Region(), false);
  for (HWND child : window.children)
    if (auto c = WindowTable::get().find(child)) discardUpdateRegions(*c);
}

}  // namespace handheld::user
