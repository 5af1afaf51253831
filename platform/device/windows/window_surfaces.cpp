#include "windows/window_surfaces.h"

#include <algorithm>

#include "gdi/geometry.h"

namespace handheld::device {

namespace {

// Far beyond any screen, near enough that adding a surface's size cannot overflow.
constexpr int32_t kFar = 1 << 24;

RECT screenRect(const ipc::WindowRecord& w) {
  auto near = [](int32_t v) { return std::clamp(v, -kFar, kFar); };
  return {near(w.left), near(w.top), near(w.right), near(w.bottom)};
}

}  // namespace

WindowSurfaces::WindowSurfaces(Server& server, TopLevelRegistry& windows, DisplayService& display)
    : server_(server), windows_(windows), display_(display) {
  // Only the process that owns a window may give it pixels; a surface that cannot be mapped
  // safely leaves the window without one.
  server_.onEvent<ipc::SurfaceAttach>([this](Connection& c, ipc::SurfaceAttach& e) {
    const auto* window = windows_.find(e.handle);
    if (!window || window->pid != c.pid || c.kind != ipc::ClientKind::Process) return;
    auto mapped = MappedSurface::map(e.memory.fd.get(), e.width, e.height);
    if (mapped) surfaces_[e.handle] = std::move(mapped);
    else surfaces_.erase(e.handle);
    display_.sceneChanged();
  });
  server_.onEvent<ipc::SurfaceDamage>([this](Connection& c, ipc::SurfaceDamage& e) {
    const auto* window = windows_.find(e.handle);
    auto surface = surfaces_.find(e.handle);
    if (!window || window->pid != c.pid || !window->visible || surface == surfaces_.end()) return;
    const RECT bounds{0, 0, surface->second->width(), surface->second->height()};
    const RECT drawn = gdi::intersect(gdi::normalized({e.left, e.top, e.right, e.bottom}), bounds);
    const RECT onScreen = screenRect(*window);
    display_.damage(gdi::intersect(gdi::offsetBy(drawn, onScreen.left, onScreen.top), onScreen));
  });
}

void WindowSurfaces::tableChanged() {
  std::erase_if(surfaces_, [this](const auto& entry) { return !windows_.find(entry.first); });
  display_.sceneChanged();
}

std::vector<SceneLayer> WindowSurfaces::visibleLayers() const {
  std::vector<SceneLayer> layers;
  for (const auto& window : windows_.frontToBack()) {
    if (!window.visible) continue;
    auto surface = surfaces_.find(window.handle);
    if (surface != surfaces_.end()) layers.push_back(surface->second->layer(window.handle, screenRect(window)));
  }
  return layers;
}

}  // namespace handheld::device
