#include "display/scene_diff.h"

#include <algorithm>
#include <unordered_map>

#include "gdi/geometry.h"

namespace handheld::device {

RECT SceneLayer::covered() const {
  if (!pixels || width <= 0 || height <= 0) return {};
  RECT surface{rect.left, rect.top, rect.left + width, rect.top + height};
  return gdi::intersect(rect, surface);
}

namespace {

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool sameLayer(const SceneLayer& a, const SceneLayer& b) {
  return a.surfaceId == b.surfaceId && a.width == b.width && a.height == b.height &&
         a.stride == b.stride && a.pixels == b.pixels && sameRect(a.rect, b.rect);
}

}  // namespace

std::vector<RECT> sceneDifferences(const std::vector<SceneLayer>& before,
                                   const std::vector<SceneLayer>& after) {
  std::unordered_map<uint32_t, size_t> beforeIndex, afterIndex;
  for (size_t i = 0; i < before.size(); ++i) beforeIndex.emplace(before[i].window, i);
  for (size_t i = 0; i < after.size(); ++i) afterIndex.emplace(after[i].window, i);

  std::vector<RECT> changed;
  // Windows present in both scenes with nothing changed: their positions in each.
  struct Steady {
    uint32_t window;
    size_t was;
    size_t is;
    RECT covered;
  };
  std::vector<Steady> steady;
  for (size_t i = 0; i < before.size(); ++i) {
    auto other = afterIndex.find(before[i].window);
    if (other == afterIndex.end() || !sameLayer(before[i], after[other->second]))
      changed.push_back(before[i].covered());
    else
      steady.push_back({before[i].window, i, other->second, before[i].covered()});
  }
  for (size_t i = 0; i < after.size(); ++i) {
    auto other = beforeIndex.find(after[i].window);
    if (other == beforeIndex.end() || !sameLayer(before[other->second], after[i]))
      changed.push_back(after[i].covered());
  }
  // Two steady windows that swapped places: only their overlap looks different.
  for (size_t a = 0; a < steady.size(); ++a) {
    for (size_t b = a + 1; b < steady.size(); ++b) {
      const bool wasInFront = steady[a].was < steady[b].was;
      const bool isInFront = steady[a].is < steady[b].is;
      if (wasInFront != isInFront) changed.push_back(gdi::intersect(steady[a].covered, steady[b].covered));
    }
  }
  std::erase_if(changed, [](const RECT& r) { return gdi::isEmpty(r); });
  return changed;
}

}  // namespace handheld::device
