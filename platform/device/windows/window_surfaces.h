// The top-level windows' surfaces as the server maps them (read-only), and the scene they
// make with the window table for the display: SurfaceAttach and SurfaceDamage from the
// owning processes, the visible windows front to back for the compositor.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "display/display_service.h"
#include "display/mapped_surface.h"
#include "display/scene.h"
#include "server.h"
#include "windows/window_registry.h"

namespace handheld::device {

class WindowSurfaces final : public SceneSource {
 public:
  WindowSurfaces(Server& server, TopLevelRegistry& windows, DisplayService& display);

  // The window table changed: surfaces of windows that are gone are let go, and the display
  // looks at the scene again.
  void tableChanged();

  std::vector<SceneLayer> visibleLayers() const override;

 private:
  Server& server_;
  TopLevelRegistry& windows_;
  DisplayService& display_;
  std::unordered_map<uint32_t, std::unique_ptr<MappedSurface>> surfaces_;  // by window handle
};

}  // namespace handheld::device
