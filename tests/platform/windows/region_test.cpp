// Region: the rectangles stay disjoint and cover exactly the pixels a bitmap model says.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gdi/geometry.h"
#include "user/region.h"

using handheld::user::Region;

namespace {

constexpr int kSize = 24;

struct Bitmap {
  std::vector<bool> on = std::vector<bool>(kSize * kSize, false);
  void set(const RECT& r, bool value) {
    for (int y = std::max(0, static_cast<int>(r.top)); y < std::min(kSize, static_cast<int>(r.bottom)); ++y)
      for (int x = std::max(0, static_cast<int>(r.left)); x < std::min(kSize, static_cast<int>(r.right)); ++x)
        on[y * kSize + x] = value;
  }
};

Bitmap paint(const Region& region) {
  Bitmap b;
  for (const RECT& r : region.rects()) b.set(r, true);
  return b;
}

bool disjoint(const Region& region) {
  const auto& rects = region.rects();
  for (size_t i = 0; i < rects.size(); ++i) {
    if (handheld::gdi::isEmpty(rects[i])) return false;
    for (size_t j = i + 1; j < rects.size(); ++j)
      if (!handheld::gdi::isEmpty(handheld::gdi::intersect(rects[i], rects[j]))) return false;
  }
  return true;
}

RECT randomRect(std::mt19937& random) {
  std::uniform_int_distribution<int> coordinate(-2, kSize + 2);
  int x1 = coordinate(random), x2 = coordinate(random), y1 = coordinate(random), y2 = coordinate(random);
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

TEST(Region, OperationsAgreeWithAPixelModel) {
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    Region region;
    Bitmap model;
    for (int step = 0; step < 12; ++step) {
      RECT r = randomRect(random);
      switch (random() % 3) {
        case 0:
          region.add(r);
          model.set(r, true);
          break;
        case 1:
          region.subtract(r);
          model.set(r, false);
          break;
        default: {
          region.intersect(r);
          Bitmap outside = model;
          model = Bitmap();
          for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
              model.on[y * kSize + x] = outside.on[y * kSize + x] && x >= r.left && x < r.right &&
                                        y >= r.top && y < r.bottom;
        }
      }
      // Everything stays inside the model's square so the comparison covers all of it.
      region.intersect(RECT{0, 0, kSize, kSize});
      ASSERT_TRUE(disjoint(region)) << "round " << round << " step " << step;
      ASSERT_EQ(paint(region).on, model.on) << "round " << round << " step " << step;
    }
  }
}

TEST(Region, IntersectingTwoRegionsAndBounds) {
  Region a(RECT{0, 0, 10, 10});
  a.subtract(RECT{3, 3, 6, 6});
  Region b(RECT{5, 5, 20, 20});
  a.intersect(b);
  EXPECT_TRUE(disjoint(a));
  Bitmap expected;
  expected.set({5, 5, 10, 10}, true);
  expected.set({5, 5, 6, 6}, false);
  EXPECT_EQ(paint(a).on, expected.on);
  EXPECT_TRUE(a.intersects(RECT{9, 9, 12, 12}));
  EXPECT_FALSE(a.intersects(RECT{5, 5, 6, 6}));
  RECT bounds = a.bounds();
  EXPECT_EQ(bounds.left, 5);
  EXPECT_EQ(bounds.bottom, 10);
  a.offset(-5, -5);
  EXPECT_EQ(a.bounds().left, 0);
  EXPECT_TRUE(Region().bounds().right == 0 && Region().empty());
}

TEST(Region, CoarsenKeepsEverythingCovered) {
  Region region;
  for (int i = 0; i < 10; ++i) region.add(RECT{i * 2, i * 2, i * 2 + 1, i * 2 + 1});
  region.coarsen(4);
  ASSERT_EQ(region.rects().size(), 1u);
  EXPECT_EQ(region.rects()[0].right, 19);
}
