// The compositor against a scene of plain memory surfaces: stacking, partial surfaces, and
// that composing only what was damaged or changed gives the same screen as composing all.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "display/compositor.h"
#include "display/damage_region.h"

namespace handheld::device {
namespace {

// A window's pixels in plain memory.
struct TestSurface {
  int width, height;
  std::vector<uint32_t> pixels;
  uint64_t id;

  TestSurface(int w, int h, uint32_t colour, uint64_t surfaceId)
      : width(w), height(h), pixels(static_cast<size_t>(w * h), colour), id(surfaceId) {}
  SceneLayer layer(uint32_t window, int left, int top) const {
    SceneLayer l;
    l.window = window;
    l.rect = {left, top, left + width, top + height};
    l.pixels = reinterpret_cast<const uint8_t*>(pixels.data());
    l.width = width;
    l.height = height;
    l.stride = static_cast<size_t>(width) * 4;
    l.surfaceId = id;
    return l;
  }
  void paint(const RECT& r, uint32_t colour) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels[static_cast<size_t>(y * width + x)] = colour;
  }
};

uint32_t at(const Compositor& c, int x, int y) { return c.framebuffer().pixel(x, y); }

TEST(Compositor, StacksWindowsFrontToBackOverABlackDesktop) {
  Compositor screen(240, 320);
  TestSurface back(100, 100, 0x112233, 1), front(50, 50, 0xAABBCC, 2);
  screen.compose({front.layer(2, 80, 80), back.layer(1, 10, 10)});
  EXPECT_EQ(at(screen, 0, 0), 0x000000u);
  EXPECT_EQ(at(screen, 10, 10), 0x112233u);
  EXPECT_EQ(at(screen, 79, 79), 0x112233u);
  EXPECT_EQ(at(screen, 80, 80), 0xAABBCCu);  // the overlap belongs to the front window
  EXPECT_EQ(at(screen, 109, 109), 0xAABBCCu);
  EXPECT_EQ(at(screen, 129, 129), 0xAABBCCu);
  EXPECT_EQ(at(screen, 130, 130), 0x000000u);
}

TEST(Compositor, SurfaceSmallerThanItsWindowLetsTheRestShowThrough) {
  Compositor screen(240, 320);
  TestSurface back(240, 320, 0x445566, 1), small(20, 20, 0xFF0000, 2);
  SceneLayer layer = small.layer(2, 0, 0);
  layer.rect = {0, 0, 100, 100};  // the window grew; its new surface has not come yet
  screen.compose({layer, back.layer(1, 0, 0)});
  EXPECT_EQ(at(screen, 19, 19), 0xFF0000u);
  EXPECT_EQ(at(screen, 20, 5), 0x445566u);
  EXPECT_EQ(at(screen, 50, 50), 0x445566u);
}

TEST(Compositor, WindowsPartlyOffTheScreenAreClipped) {
  Compositor screen(240, 320);
  TestSurface w(100, 100, 0x00FF00, 1);
  w.paint({90, 90, 100, 100}, 0x0000FF);
  screen.compose({w.layer(1, -90, -90)});
  EXPECT_EQ(at(screen, 0, 0), 0x0000FFu);
  EXPECT_EQ(at(screen, 9, 9), 0x0000FFu);
  EXPECT_EQ(at(screen, 10, 10), 0x000000u);
  screen.compose({w.layer(1, 200, 300)});
  EXPECT_EQ(at(screen, 239, 319), 0x00FF00u);
  EXPECT_EQ(at(screen, 0, 0), 0x000000u);  // where it was is desktop again
}

TEST(Compositor, ComposesOnlyWhatWasDamaged) {
  Compositor screen(240, 320);
  TestSurface w(240, 320, 0x101010, 1);
  const std::vector<SceneLayer> scene{w.layer(1, 0, 0)};
  EXPECT_EQ(screen.compose(scene).size(), 1u);  // the first frame is all new
  EXPECT_FALSE(screen.hasDamage());

  // Drawing nobody reported does not reach the screen.
  w.paint({0, 0, 240, 320}, 0x202020);
  EXPECT_TRUE(screen.compose(scene).empty());
  EXPECT_EQ(at(screen, 5, 5), 0x101010u);

  screen.damage({10, 20, 30, 40});
  auto composed = screen.compose(scene);
  ASSERT_EQ(composed.size(), 1u);
  EXPECT_EQ(composed[0].left, 10);
  EXPECT_EQ(composed[0].bottom, 40);
  EXPECT_EQ(at(screen, 10, 20), 0x202020u);
  EXPECT_EQ(at(screen, 29, 39), 0x202020u);
  EXPECT_EQ(at(screen, 30, 39), 0x101010u);  // outside the damage: as before
}

TEST(Compositor, RaisingAWindowRecomposesOnlyTheOverlap) {
  Compositor screen(240, 320);
  TestSurface a(100, 100, 0xAA0000, 1), b(100, 100, 0x00BB00, 2);
  screen.compose({a.layer(1, 0, 0), b.layer(2, 50, 50)});
  auto composed = screen.compose({b.layer(2, 50, 50), a.layer(1, 0, 0)});
  ASSERT_EQ(composed.size(), 1u);
  EXPECT_EQ(composed[0].left, 50);
  EXPECT_EQ(composed[0].top, 50);
  EXPECT_EQ(composed[0].right, 100);
  EXPECT_EQ(composed[0].bottom, 100);
  EXPECT_EQ(at(screen, 60, 60), 0x00BB00u);
}

TEST(Compositor, ResizingGivesABlackScreenToComposeAgain) {
  Compositor screen(240, 320);
  TestSurface w(50, 50, 0x123456, 1);
  screen.compose({w.layer(1, 0, 0)});
  screen.resize(480, 640);
  EXPECT_EQ(screen.framebuffer().width(), 480);
  auto composed = screen.compose({w.layer(1, 0, 0)});
  ASSERT_EQ(composed.size(), 1u);
  EXPECT_EQ(composed[0].right, 480);
  EXPECT_EQ(at(screen, 10, 10), 0x123456u);
  EXPECT_EQ(at(screen, 479, 639), 0u);
}

// Whatever the scene does between frames, composing what changed must give the screen that
// composing everything gives.
TEST(Compositor, IncrementalFramesEqualFullFrames) {
  std::mt19937 random(20260301);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  struct Placed {
    uint32_t window;
    std::shared_ptr<TestSurface> surface;
    int left, top;
    bool visible;
  };
  uint64_t nextSurface = 1;
  std::vector<Placed> windows;
  for (uint32_t w = 1; w <= 5; ++w)
    windows.push_back({w, std::make_shared<TestSurface>(pick(10, 150), pick(10, 150), random() & 0xFFFFFF, nextSurface++),
                       pick(-40, 220), pick(-40, 300), true});
  auto scene = [&] {
    std::vector<SceneLayer> layers;
    for (const auto& p : windows)
      if (p.visible) layers.push_back(p.surface->layer(p.window, p.left, p.top));
    return layers;
  };
  Compositor incremental(240, 320);
  for (int frame = 0; frame < 300; ++frame) {
    Placed& p = windows[static_cast<size_t>(pick(0, 4))];
    switch (pick(0, 4)) {
      case 0:
        p.left = pick(-40, 220);
        p.top = pick(-40, 300);
        break;
      case 1: std::rotate(windows.begin(), windows.begin() + pick(0, 4), windows.end()); break;
      case 2: p.visible = !p.visible; break;
      case 3:
        p.surface = std::make_shared<TestSurface>(pick(10, 150), pick(10, 150), random() & 0xFFFFFF, nextSurface++);
        break;
      default: {
        const int x = pick(0, p.surface->width - 1), y = pick(0, p.surface->height - 1);
        const RECT drawn{x, y, pick(x + 1, p.surface->width), pick(y + 1, p.surface->height)};
        p.surface->paint(drawn, random() & 0xFFFFFF);
        if (p.visible)
          incremental.damage({p.left + drawn.left, p.top + drawn.top, p.left + drawn.right, p.top + drawn.bottom});
        break;
      }
    }
    incremental.compose(scene());
    Compositor full(240, 320);
    full.compose(scene());
    for (int y = 0; y < 320; ++y)
      ASSERT_EQ(0, std::memcmp(incremental.framebuffer().row(y), full.framebuffer().row(y), 240 * 4))
          << "frame " << frame << " row " << y;
  }
}

TEST(DamageRegion, KeepsAFewRectanglesThenTheirBounds) {
  DamageRegion region;
  region.add({0, 0, 10, 10});
  region.add({2, 2, 5, 5});  // inside: nothing new
  region.add({});
  auto parts = region.take({0, 0, 240, 320});
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_TRUE(region.empty());

  for (int i = 0; i <= static_cast<int>(DamageRegion::kMaxRects); ++i) region.add({i * 10, i * 10, i * 10 + 5, i * 10 + 5});
  parts = region.take({0, 0, 100, 100});  // bounded by the screen
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].left, 0);
  EXPECT_EQ(parts[0].right, 100);
  EXPECT_EQ(parts[0].bottom, 100);
}

TEST(DamageRegion, OverlappingDamageIsComposedOnce) {
  DamageRegion region;
  region.add({0, 0, 20, 20});
  region.add({10, 10, 30, 30});
  auto parts = region.take({0, 0, 240, 320});
  long area = 0;
  for (const RECT& r : parts) area += (r.right - r.left) * (r.bottom - r.top);
  EXPECT_EQ(area, 400 + 400 - 100);
}

}  // namespace
}  // namespace handheld::device
