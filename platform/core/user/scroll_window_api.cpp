// ScrollWindowEx: moves pixels already drawn inside the top-level window's surface instead of
// painting them again, so that scrolling a long list costs the rows it uncovers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "user/device_link.h"
#include "user/paint_state.h"
#include "user/window.h"
#include "user/window_surface.h"

using namespace handheld;
using namespace handheld::user;

namespace {

RECT offsetRect(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

RECT intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return {};
  return r;
}

// Copies each rectangle of `moved` (surface coordinates, destinations) from its place
// offset by (-dx, -dy), reading from a snapshot so that overlapping pieces copy exactly.
void movePixels(gdi::Surface& surface, const Region& moved, int dx, int dy) {
  const RECT bounds = moved.bounds();
  const RECT source = offsetRect(bounds, -dx, -dy);
  const int width = bounds.right - bounds.left;
  std::vector<uint32_t> snapshot(static_cast<size_t>(width) * static_cast<size_t>(bounds.bottom - bounds.top));
  for (int y = source.top; y < source.bottom; ++y)
    std::memcpy(&snapshot[static_cast<size_t>(y - source.top) * static_cast<size_t>(width)],
                surface.xrgbRow(y) + source.left, static_cast<size_t>(width) * sizeof(uint32_t));
  for (const RECT& r : moved.rects()) {
    for (int y = r.top; y < r.bottom; ++y) {
      const size_t at = static_cast<size_t>(y - bounds.top) * static_cast<size_t>(width) +
                        static_cast<size_t>(r.left - bounds.left);
      std::memcpy(surface.xrgbRow(y) + r.left, &snapshot[at], static_cast<size_t>(r.right - r.left) * sizeof(uint32_t));
    }
  }
}

}  // namespace

HANDHELD_API int WINAPI ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll,
                                       const RECT* clip, HRGN updateRegion, LPRECT updateRect,
                                       UINT flags) {
  if (updateRegion) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  HWND topLevel = nullptr;
  RECT damage{};
  Region uncovered;
  {
    UserGuard guard(userLock());
    auto w = findOwnWindow(window);
    if (!w) return 0;
    const RECT client = clientRect(*w);
    const RECT from = scroll ? intersection(*scroll, client) : client;
    const RECT limit = clip ? intersection(*clip, client) : client;
    auto top = topLevelOf(w);
    const POINT origin = clientOriginInSurface(*w);
    // What may be read and written: the window's visible pixels, in client coordinates.
    Region drawable = top->surface ? drawableClientArea(*w) : Region();
    drawable.offset(-origin.x, -origin.y);
    Region moved = drawable;
    moved.intersect(from);
    moved.offset(dx, dy);
    moved.intersect(limit);
    moved.intersect(drawable);
    // Pixels that moved leave the area they came from to be painted again.
    Region touched(limit);
    Region reach(from);
    reach.add(offsetRect(from, dx, dy));
    touched.intersect(reach);
    uncovered = touched;
    for (const RECT& r : moved.rects()) uncovered.subtract(r);
    // What waited to be painted inside the scrolled part moves with the pixels.
    Region pending = w->update;
    pending.intersect(from);
    pending.offset(dx, dy);
    pending.intersect(limit);
    uncovered.add(pending);
    if (!moved.empty() && (dx || dy)) {
      moved.offset(origin.x, origin.y);
      movePixels(*top->surface->pixels(), moved, dx, dy);
      topLevel = top->handle;
      damage = moved.bounds();
    }
    if ((flags & SW_INVALIDATE) && effectivelyVisible(*w)) {
      Region update = w->update;
      update.subtract(from);
      update.add(uncovered);
      setUpdateRegion(*w, std::move(update), (flags & SW_ERASE) != 0);
    }
  }
  if (topLevel)
    deviceLink().notify(ipc::SurfaceDamage{handleValue(topLevel), damage.left, damage.top, damage.right, damage.bottom});
  if (updateRect) *updateRect = uncovered.bounds();
  if (uncovered.empty()) return NULLREGION;
  return uncovered.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
