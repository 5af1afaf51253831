#include "user/icon_load.h"

#include "gdi/icon.h"
#include "gdi/image_source.h"

namespace handheld::user {

namespace {

// A cursor is never drawn on the screen, so its own glyph stays small.
constexpr int kPlainCursorSize = 16;
constexpr int kFallbackIconSize = 32;

}  // namespace

HANDLE loadIcon(HINSTANCE instance, LPCWSTR name, bool cursor, int width, int height, bool fromFile) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width <= 0) width = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
  if (height <= 0) height = GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON);
  std::shared_ptr<gdi::IconObject> icon;
  if (fromFile) {
    auto data = gdi::readDeviceFile(name);
    if (!data) return nullptr;
    icon = gdi::decodeIconFile(*data, cursor, width, height);
  } else if (!instance && IS_INTRESOURCE(name)) {
    int size = cursor ? kPlainCursorSize : GetSystemMetrics(SM_CXICON);
    icon = gdi::plainIcon(cursor, size > 0 ? size : kFallbackIconSize);
  } else {
    auto bytes = gdi::resourceBytes(instance, name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON);
    if (!bytes) return nullptr;
    icon = gdi::decodeIconFile(*bytes, cursor, width, height);
  }
  if (!icon) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return gdi::GdiTable::instance().insert(std::move(icon));
}

}  // namespace handheld::user
