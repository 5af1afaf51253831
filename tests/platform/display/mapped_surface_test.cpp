// Client surfaces as the server maps them: only memory that cannot shrink under the
// compositor, and no more than it holds.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "display/mapped_surface.h"
#include "os/unique_fd.h"

namespace handheld::device {
namespace {

os::UniqueFd memory(size_t bytes, unsigned flags = MFD_CLOEXEC | MFD_ALLOW_SEALING) {
  os::UniqueFd fd(memfd_create("surface-test", flags));
  EXPECT_EQ(ftruncate(fd.get(), static_cast<off_t>(bytes)), 0);
  return fd;
}

TEST(MappedSurface, MapsSealedMemoryAndSeesTheClientsPixels) {
  auto fd = memory(4 * 3 * 2);
  const uint32_t pixels[6] = {1, 2, 3, 4, 5, 0x00ABCDEF};
  ASSERT_EQ(pwrite(fd.get(), pixels, sizeof pixels, 0), static_cast<ssize_t>(sizeof pixels));
  auto surface = MappedSurface::map(fd.get(), 3, 2);
  ASSERT_TRUE(surface);
  SceneLayer layer = surface->layer(7, {10, 10, 13, 12});
  EXPECT_EQ(layer.stride, 12u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(layer.pixels)[5], 0x00ABCDEFu);
  // The client cannot take the memory away any more.
  EXPECT_NE(ftruncate(fd.get(), 4), 0);
  auto again = MappedSurface::map(fd.get(), 3, 2);
  ASSERT_TRUE(again);
  EXPECT_NE(again->id(), surface->id());
}

TEST(MappedSurface, RefusesMemoryThatCouldShrinkOrIsTooSmall) {
  auto unsealable = memory(4 * 10 * 10, MFD_CLOEXEC);
  EXPECT_FALSE(MappedSurface::map(unsealable.get(), 10, 10));
  auto small = memory(4 * 10 * 9);
  EXPECT_FALSE(MappedSurface::map(small.get(), 10, 10));
  auto fine = memory(4 * 10 * 10);
  EXPECT_FALSE(MappedSurface::map(fine.get(), 0, 10));
  EXPECT_FALSE(MappedSurface::map(fine.get(), 10, -1));
  EXPECT_FALSE(MappedSurface::map(fine.get(), 100000, 100000));
  EXPECT_FALSE(MappedSurface::map(-1, 10, 10));
}

}  // namespace
}  // namespace handheld::device
