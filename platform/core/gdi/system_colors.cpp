#include "gdi/system_colors.h"

#include <array>

#include "gdi/gdi_objects.h"

namespace handheld::gdi {

namespace {

// The device's scheme: white windows and dialogs, black text, light grey button faces,
// navy selection.
constexpr std::array<COLORREF, C_SYS_COLOR_TYPES> kColors = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 0, 128),      // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(224, 224, 224),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(255, 255, 255),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};

int plainIndex(int index) { return index & ~SYS_COLOR_INDEX_FLAG; }

}  // namespace

bool sysColorIndexValid(int index) {
  int plain = plainIndex(index);
  return plain >= 0 && plain < C_SYS_COLOR_TYPES;
}

COLORREF sysColor(int index) {
  return sysColorIndexValid(index) ? kColors[static_cast<size_t>(plainIndex(index))] : 0;
}

std::shared_ptr<BrushObject> sysColorBrush(int index) {
  static const auto brushes = [] {
    std::array<std::shared_ptr<BrushObject>, C_SYS_COLOR_TYPES> created;
    for (size_t i = 0; i < created.size(); ++i) {
      created[i] = std::make_shared<BrushObject>(LOGBRUSH{BS_SOLID, kColors[i], 0}, nullptr);
      GdiTable::instance().insertStock(created[i]);
    }
    return created;
  }();
  if (!sysColorIndexValid(index)) return nullptr;
  return brushes[static_cast<size_t>(plainIndex(index))];
}

std::shared_ptr<BrushObject> brushFromHandle(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= static_cast<uintptr_t>(SYS_COLOR_INDEX_FLAG | C_SYS_COLOR_TYPES)) {
    int index = static_cast<int>(value - 1);
    if (sysColorIndexValid(index)) return sysColorBrush(index);
  }
  return lookupGdi<BrushObject>(brush, GdiKind::Brush);
}

}  // namespace handheld::gdi

using namespace handheld::gdi;

HANDHELD_API DWORD WINAPI GetSysColor(int index) { return sysColor(index); }

HANDHELD_API HBRUSH WINAPI GetSysColorBrush(int index) {
  auto brush = sysColorBrush(index);
  if (!brush) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HBRUSH>(brush->handle());
}
