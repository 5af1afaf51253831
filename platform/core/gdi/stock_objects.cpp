#include <array>

#include "gdi/gdi_objects.h"
#include "kernel/display_settings.h"

namespace handheld::gdi {

namespace {

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

std::shared_ptr<GdiObject> solidBrush(COLORREF color) {
  return std::make_shared<BrushObject>(LOGBRUSH{BS_SOLID, color, 0}, nullptr);
}

std::shared_ptr<GdiObject> pen(UINT style, COLORREF color) {
  return std::make_shared<PenObject>(LOGPEN{style, {1, 0}, color});
}

// Sizes are character heights at the display density when the stock objects are made.
std::shared_ptr<GdiObject> font(int pixelsAt96Dpi) {
  LOGFONTW log{};
  log.lfHeight = -pixelsAt96Dpi * kernel::displaySettings().dpi / 96;
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = DEFAULT_CHARSET;
  const char16_t face[] = u"Tahoma";
  std::copy(std::begin(face), std::end(face), log.lfFaceName);
  return std::make_shared<FontObject>(log);
}

const std::array<std::shared_ptr<GdiObject>, kStockCount>& stockTable() {
  static const auto table = [] {
    std::array<std::shared_ptr<GdiObject>, kStockCount> created{};
    created[WHITE_BRUSH] = solidBrush(RGB(255, 255, 255));
    created[LTGRAY_BRUSH] = solidBrush(RGB(192, 192, 192));
    created[GRAY_BRUSH] = solidBrush(RGB(128, 128, 128));
    created[DKGRAY_BRUSH] = solidBrush(RGB(64, 64, 64));
    created[BLACK_BRUSH] = solidBrush(RGB(0, 0, 0));
    created[NULL_BRUSH] = std::make_shared<BrushObject>(LOGBRUSH{BS_NULL, 0, 0}, nullptr);
    created[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    created[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    created[NULL_PEN] = pen(PS_NULL, 0);
    created[SYSTEM_FONT] = font(12);
    created[DEFAULT_GUI_FONT] = font(11);
    for (auto& object : created) {
      if (object) GdiTable::instance().insertStock(object);
    }
    return created;
  }();
  return table;
}

}  // namespace

std::shared_ptr<GdiObject> stockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return stockTable()[static_cast<size_t>(index)];
}

std::shared_ptr<BitmapObject> defaultBitmap() {
  static const auto bitmap = [] {
    auto surface = Surface::create(1, 1, PixelFormat::indexed(1, {0x000000, 0xFFFFFF}), 2);
    surface->setMonochrome(true);
    auto created = std::make_shared<BitmapObject>(std::move(surface));
    GdiTable::instance().insertStock(created);
    return created;
  }();
  return bitmap;
}

}  // namespace handheld::gdi
