// Icons and cursors: .ico / .cur data (from a module's icon or cursor resource, which holds
// the whole file, or from a device file) decoded to a colour image and a transparency mask.
// The device has a stylus, not a mouse pointer: cursors are kept as objects but never drawn
// on the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gdi/gdi_objects.h"

namespace handheld::gdi {

struct IconObject : GdiObject {
  IconObject(std::shared_ptr<Surface> image, std::vector<uint8_t> mask, bool isCursor)
      : GdiObject(GdiKind::Icon), color(std::move(image)), transparent(std::move(mask)), cursor(isCursor) {}
  std::shared_ptr<Surface> color;     // 32-bit, top-down
  std::vector<uint8_t> transparent;   // one byte per pixel, row by row: 1 shows what is behind
  bool cursor;
  POINT hotspot{0, 0};
  int width() const { return color->width(); }
  int height() const { return color->height(); }
};

// The image of the file that best fits the size asked for (both above 0); null for data that
// does not add up. PNG-compressed entries are not read.
std::shared_ptr<IconObject> decodeIconFile(std::span<const uint8_t> bytes, bool cursor, int width, int height);

// A plain glyph of size x size pixels, a framed square, for the system's own icons and cursors.
std::shared_ptr<IconObject> plainIcon(bool cursor, int size);

}  // namespace handheld::gdi
