#include "user/region.h"

#include <algorithm>

#include "gdi/geometry.h"

namespace handheld::user {

namespace {

// The parts of `piece` outside `hole`, at most four rectangles.
void appendDifference(const RECT& piece, const RECT& hole, std::vector<RECT>& out) {
  RECT overlap = gdi::intersect(piece, hole);
  if (gdi::isEmpty(overlap)) {
    out.push_back(piece);
    return;
  }
  if (piece.top < overlap.top) out.push_back({piece.left, piece.top, piece.right, overlap.top});
  if (overlap.bottom < piece.bottom) out.push_back({piece.left, overlap.bottom, piece.right, piece.bottom});
  if (piece.left < overlap.left) out.push_back({piece.left, overlap.top, overlap.left, overlap.bottom});
  if (overlap.right < piece.right) out.push_back({overlap.right, overlap.top, piece.right, overlap.bottom});
}

}  // namespace

RECT Region::bounds() const {
  RECT result{0, 0, 0, 0};
  for (const RECT& r : rects_) result = gdi::unite(result, r);
  return result;
}

bool Region::intersects(const RECT& rect) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&](const RECT& r) { return !gdi::isEmpty(gdi::intersect(r, rect)); });
}

void Region::add(const RECT& rect) {
  if (gdi::isEmpty(rect)) return;
  std::vector<RECT> pieces{rect};
  std::vector<RECT> next;
  for (const RECT& existing : rects_) {
    next.clear();
    for (const RECT& piece : pieces) appendDifference(piece, existing, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::add(const Region& other) {
  for (const RECT& r : other.rects_) add(r);
}

void Region::subtract(const RECT& rect) {
  if (gdi::isEmpty(rect)) return;
  std::vector<RECT> result;
  result.reserve(rects_.size());
  for (const RECT& r : rects_) appendDifference(r, rect, result);
  rects_.swap(result);
}

void Region::intersect(const RECT& rect) {
  std::vector<RECT> result;
  for (const RECT& r : rects_) {
    RECT part = gdi::intersect(r, rect);
    if (!gdi::isEmpty(part)) result.push_back(part);
  }
  rects_.swap(result);
}

void Region::intersect(const Region& other) {
  // Pieces of two disjoint sets intersected pairwise stay disjoint.
  std::vector<RECT> result;
  for (const RECT& a : rects_) {
    for (const RECT& b : other.rects_) {
      RECT part = gdi::intersect(a, b);
      if (!gdi::isEmpty(part)) result.push_back(part);
    }
  }
  rects_.swap(result);
}

void Region::offset(int dx, int dy) {
  for (RECT& r : rects_) r = gdi::offsetBy(r, dx, dy);
}

void Region::coarsen(size_t maxRects) {
  if (rects_.size() <= maxRects) return;
  RECT all = bounds();
  rects_.assign(1, all);
}

}  // namespace handheld::user
