#include "display/compositor.h"

#include <cstring>

#include "display/scene_diff.h"
#include "gdi/geometry.h"

namespace handheld::device {

Compositor::Compositor(int width, int height) { resize(width, height); }

void Compositor::resize(int width, int height) {
  framebuffer_ = gdi::Surface::create(width, height, gdi::PixelFormat::xrgb32());
  previous_.clear();
  damageAll();
}

std::vector<RECT> Compositor::compose(const std::vector<SceneLayer>& layers) {
  for (const RECT& changed : sceneDifferences(previous_, layers)) damage_.add(changed);
  previous_ = layers;
  auto areas = damage_.take(bounds());
  for (const RECT& area : areas) composeRect(area, layers);
  return areas;
}

void Compositor::composeRect(const RECT& area, const std::vector<SceneLayer>& layers) {
  // Layers behind one that covers the whole area cannot show, nor can the desktop.
  size_t deepest = layers.size();
  bool coveredByLayer = false;
  for (size_t i = 0; i < layers.size() && !coveredByLayer; ++i) {
    if (gdi::contains(layers[i].covered(), area)) {
      deepest = i + 1;
      coveredByLayer = true;
    }
  }
  if (!coveredByLayer) {
    const size_t rowBytes = static_cast<size_t>(area.right - area.left) * 4;
    for (int y = area.top; y < area.bottom; ++y)
      std::memset(framebuffer_->xrgbRow(y) + area.left, 0, rowBytes);
  }
  for (size_t i = deepest; i-- > 0;) {
    const SceneLayer& layer = layers[i];
    const RECT part = gdi::intersect(layer.covered(), area);
    if (gdi::isEmpty(part)) continue;
    const size_t bytes = static_cast<size_t>(part.right - part.left) * 4;
    for (int y = part.top; y < part.bottom; ++y) {
      const uint8_t* source = layer.pixels + static_cast<size_t>(y - layer.rect.top) * layer.stride +
                              static_cast<size_t>(part.left - layer.rect.left) * 4;
      std::memcpy(framebuffer_->xrgbRow(y) + part.left, source, bytes);
    }
  }
}

}  // namespace handheld::device
