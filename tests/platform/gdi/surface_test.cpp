// Surfaces over memory owned elsewhere (window surfaces) and PNG files of surfaces.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "gdi/png_io.h"
#include "gdi/surface_dc.h"

using handheld::gdi::PixelFormat;
using handheld::gdi::Surface;

TEST(Surfaces, WrappedMemoryIsDrawnInPlaceWithItsStride) {
  auto memory = std::make_shared<std::vector<uint32_t>>(6 * 3, 0xABCDEF);  // 4 wide, stride 6
  auto surface = Surface::wrap(4, 3, PixelFormat::xrgb32(),
                               reinterpret_cast<uint8_t*>(memory->data()), 6 * 4, false, memory);
  ASSERT_TRUE(surface);
  HDC dc = handheld::gdi::createSurfaceDC(surface, {0, 0}, {surface->bounds()});
  RECT all{-10, -10, 10, 10};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  handheld::gdi::releaseSurfaceDC(dc);
  EXPECT_EQ((*memory)[0], 0u);
  EXPECT_EQ((*memory)[3], 0u);
  EXPECT_EQ((*memory)[4], 0xABCDEFu);  // padding beyond the width is untouched
  EXPECT_EQ((*memory)[2 * 6 + 3], 0u);
  EXPECT_FALSE(Surface::wrap(4, 3, PixelFormat::xrgb32(), reinterpret_cast<uint8_t*>(memory->data()),
                             8, false, memory));  // stride shorter than a row
  EXPECT_FALSE(Surface::create(0, 5, PixelFormat::xrgb32()));
  EXPECT_FALSE(Surface::create(20000, 5, PixelFormat::xrgb32()));
}

TEST(Surfaces, PngFilesRoundTrip) {
  auto surface = Surface::create(3, 2, PixelFormat::xrgb32());
  surface->setPixel(0, 0, 0xFF0000);
  surface->setPixel(2, 1, 0x123456);
  auto path = std::filesystem::temp_directory_path() / ("gdi-png-" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(handheld::gdi::writePng(*surface, path));
  auto back = handheld::gdi::readPng(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width(), 3);
  EXPECT_EQ(back->pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(back->pixel(2, 1), 0x123456u);
  EXPECT_EQ(back->pixel(1, 1), 0u);
  EXPECT_FALSE(handheld::gdi::readPng(path));
  EXPECT_FALSE(handheld::gdi::writePng(*surface, "/nonexistent-folder/x.png"));
}
