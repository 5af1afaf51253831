#include "display/damage_region.h"

#include <algorithm>

#include "gdi/geometry.h"

namespace handheld::device {

void DamageRegion::add(const RECT& rect) {
  if (gdi::isEmpty(rect)) return;
  for (const RECT& kept : rects_)
    if (gdi::contains(kept, rect)) return;
  std::erase_if(rects_, [&](const RECT& kept) { return gdi::contains(rect, kept); });
  rects_.push_back(rect);
  if (rects_.size() > kMaxRects) {
    RECT bounds{};
    for (const RECT& kept : rects_) bounds = gdi::unite(bounds, kept);
    rects_.assign(1, bounds);
  }
}

std::vector<RECT> DamageRegion::take(const RECT& bounds) {
  auto parts = gdi::disjointRects(rects_, bounds);
  rects_.clear();
  return parts;
}

}  // namespace handheld::device
