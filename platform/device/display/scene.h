// What the compositor draws: the visible top-level windows, front to back, each a rectangle
// on the screen and the pixels of its surface. The window service keeps the windows and
// their surfaces and answers through SceneSource; the display only reads.
#pragma once

#include <windef.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace handheld::device {

struct SceneLayer {
  uint32_t window = 0;  // identifies the layer from one scene to the next
  RECT rect{};          // where the window is on the screen
  // Row 0 of the window's surface, rows `stride` bytes apart, 0x00RRGGBB pixels. The surface
  // is drawn from the rectangle's top-left corner; where it is smaller than the rectangle the
  // windows below show through. Valid until the window service next runs.
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  size_t stride = 0;
  // Changes whenever the window's surface is replaced (MappedSurface::id()).
  uint64_t surfaceId = 0;

  // The part of the screen this layer paints.
  RECT covered() const;
};

class SceneSource {
 public:
  virtual ~SceneSource() = default;
  // The visible top-level windows that have a surface, front to back (owned windows in front
  // of their owner, as the window service orders them).
  virtual std::vector<SceneLayer> visibleLayers() const = 0;
};

}  // namespace handheld::device
