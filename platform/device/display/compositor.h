// The screen: a 32-bit 0x00RRGGBB framebuffer composed from the scene. Only what was damaged
// (or changed in the scene since the last composition) is composed again; each damaged
// rectangle is filled from the front-most layer that covers it backwards, over a black
// desktop where no window is.
#pragma once

#include <windef.h>

#include <memory>
#include <vector>

#include "display/damage_region.h"
#include "display/scene.h"
#include "gdi/surface.h"

namespace handheld::device {

class Compositor {
 public:
  Compositor(int width, int height);

  // A new, black framebuffer of that size, all of it to be composed.
  void resize(int width, int height);
  void damage(const RECT& screenRect) { damage_.add(screenRect); }
  void damageAll() { damage_.add(bounds()); }
  bool hasDamage() const { return !damage_.empty(); }

  // Composes the damaged parts from the scene (front to back) and returns the rectangles
  // that were composed, none of them overlapping.
  std::vector<RECT> compose(const std::vector<SceneLayer>& layers);

  const gdi::Surface& framebuffer() const { return *framebuffer_; }
  RECT bounds() const { return framebuffer_->bounds(); }

 private:
  void composeRect(const RECT& area, const std::vector<SceneLayer>& layers);

  std::shared_ptr<gdi::Surface> framebuffer_;
  DamageRegion damage_;
  std::vector<SceneLayer> previous_;  // compared only, never read through
};

}  // namespace handheld::device
