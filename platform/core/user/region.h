// An area of pixels as a list of non-overlapping rectangles: update regions and clip areas.
#pragma once

#include <windef.h>

#include <vector>

namespace handheld::user {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect) { add(rect); }

  bool empty() const { return rects_.empty(); }
  const std::vector<RECT>& rects() const { return rects_; }
  // The smallest rectangle holding the region; empty (all zero) for an empty region.
  RECT bounds() const;
  bool intersects(const RECT& rect) const;

  void clear() { rects_.clear(); }
  void add(const RECT& rect);
  void add(const Region& other);
  void subtract(const RECT& rect);
  void intersect(const RECT& rect);
  void intersect(const Region& other);
  void offset(int dx, int dy);
  // Replaces the region by its bounds once it has more than maxRects pieces: for areas where
  // covering too much is harmless (an update region), never for clipping.
  void coarsen(size_t maxRects);

 private:
  std::vector<RECT> rects_;  // disjoint, none empty
};

}  // namespace handheld::user
