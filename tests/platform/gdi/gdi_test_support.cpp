#include "gdi_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gdi/color.h"
#include "gdi/png_io.h"
#include "gdi/surface_dc.h"

namespace gdi_test {

using handheld::gdi::Surface;
using handheld::gdi::toColorref;
using handheld::gdi::toRgb;

MemoryDc::MemoryDc(int width, int height, COLORREF fill)
    : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(width, height, 1, 32, nullptr)) {
  previous_ = SelectObject(dc_, bitmap_);
  surface_ = handheld::gdi::bitmapSurface(bitmap_);
  HBRUSH brush = CreateSolidBrush(fill);
  RECT all{0, 0, width, height};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

MemoryDc::~MemoryDc() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF MemoryDc::pixel(int x, int y) const { return toColorref(surface_->pixel(x, y)); }

std::vector<std::string> picture(const Surface& surface, COLORREF background) {
  std::vector<std::string> rows;
  for (int y = 0; y < surface.height(); ++y) {
    std::string row;
    for (int x = 0; x < surface.width(); ++x) {
      row.push_back(surface.pixel(x, y) == toRgb(background) ? '.' : '#');
    }
    rows.push_back(row);
  }
  return rows;
}

void expectMatchesGolden(const Surface& surface, const std::string& name, int tolerance) {
  const std::filesystem::path path = std::filesystem::path(GDI_GOLDEN_DIR) / (name + ".png");
  const char* update = std::getenv("HANDHELD_UPDATE_GOLDENS");
  if (update && std::string(update) == "1") {
    ASSERT_TRUE(handheld::gdi::writePng(surface, path)) << path;
    return;
  }
  auto golden = handheld::gdi::readPng(path);
  ASSERT_TRUE(golden) << "missing golden " << path << " (HANDHELD_UPDATE_GOLDENS=1 makes it)";
  ASSERT_EQ(golden->width(), surface.width());
  ASSERT_EQ(golden->height(), surface.height());
  int worst = 0;
  int differing = 0;
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      uint32_t a = surface.pixel(x, y);
      uint32_t b = golden->pixel(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        worst = std::max(worst, d);
        if (d > tolerance) ++differing;
      }
    }
  }
  if (differing > 0) {
    auto actual = std::filesystem::temp_directory_path() / (name + ".actual.png");
    handheld::gdi::writePng(surface, actual);
    ADD_FAILURE() << name << ": " << differing << " channel values differ by more than "
                  << tolerance << " (worst " << worst << "); actual image in " << actual;
  }
}

RECT inkBounds(const Surface& surface, COLORREF background) {
  RECT bounds{surface.width(), surface.height(), 0, 0};
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      if (surface.pixel(x, y) == toRgb(background)) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  if (bounds.right == 0) return {};
  return bounds;
}

}  // namespace gdi_test
