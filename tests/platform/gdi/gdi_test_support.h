// Helpers for the drawing tests: a memory DC over a 32-bit bitmap, pictures as text, goldens.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gdi/surface.h"

namespace gdi_test {

// A memory DC with a 32-bit bitmap of its own, filled with one colour.
class MemoryDc {
 public:
  MemoryDc(int width, int height, COLORREF fill = RGB(255, 255, 255));
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  handheld::gdi::Surface& surface() const { return *surface_; }
  COLORREF pixel(int x, int y) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  std::shared_ptr<handheld::gdi::Surface> surface_;
};

// The surface as rows of characters: '.' for background, '#' for anything else.
std::vector<std::string> picture(const handheld::gdi::Surface& surface,
                                 COLORREF background = RGB(255, 255, 255));

// Compares with golden/<name>.png; differences per channel above tolerance fail. With
// HANDHELD_UPDATE_GOLDENS=1 the golden is rewritten instead.
void expectMatchesGolden(const handheld::gdi::Surface& surface, const std::string& name,
                         int tolerance = 0);

// The bounds of pixels differing from background; empty when none.
RECT inkBounds(const handheld::gdi::Surface& surface, COLORREF background = RGB(255, 255, 255));

}  // namespace gdi_test
