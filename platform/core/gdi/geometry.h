// Rectangle arithmetic on half-open RECTs (right and bottom excluded).
#pragma once

#include <windef.h>

#include <algorithm>
#include <vector>

namespace handheld::gdi {

inline bool isEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

inline RECT intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return isEmpty(r) ? RECT{0, 0, 0, 0} : r;
}

// The bounding rectangle; an empty side is ignored.
inline RECT unite(const RECT& a, const RECT& b) {
  if (isEmpty(a)) return isEmpty(b) ? RECT{0, 0, 0, 0} : b;
  if (isEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Whether inner lies wholly within outer.
inline bool contains(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

inline RECT offsetBy(const RECT& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Left/right and top/bottom swapped where reversed.
inline RECT normalized(const RECT& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// The parts of the rectangles, limited to bounds, with overlaps removed so that every pixel
// is covered at most once (an inverting operation must not apply twice).
std::vector<RECT> disjointRects(const std::vector<RECT>& rects, const RECT& bounds);

}  // namespace handheld::gdi
