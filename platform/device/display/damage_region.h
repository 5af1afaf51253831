// The parts of the screen that must be composed again. Kept as a few rectangles: past a
// handful they collapse into their bounding box, which costs a little extra copying but
// never unbounded bookkeeping.
#pragma once

#include <windef.h>

#include <vector>

namespace handheld::device {

class DamageRegion {
 public:
  static constexpr size_t kMaxRects = 16;

  void add(const RECT& rect);
  bool empty() const { return rects_.empty(); }
  // Rectangles covering every damaged pixel inside bounds, each pixel once; the region is
  // empty afterwards.
  std::vector<RECT> take(const RECT& bounds);

 private:
  std::vector<RECT> rects_;
};

}  // namespace handheld::device
