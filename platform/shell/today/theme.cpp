#include "theme.h"

#include <aygshell.h>
#include <todaycmn.h>

#include <algorithm>

namespace handheld::shell {
namespace {

constexpr COLORREF kDefaultBackground = RGB(255, 255, 255);
constexpr COLORREF kDefaultText = RGB(0, 0, 0);
constexpr COLORREF kDefaultHighlight = RGB(0, 72, 144);
constexpr COLORREF kDefaultHighlightText = RGB(255, 255, 255);

COLORREF readColor(HKEY key, const char16_t* name, COLORREF fallback) {
  DWORD type = 0, value = 0, size = sizeof(value);
  if (!key ||
      RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return fallback;
  return value & 0x00FFFFFFu;
}

}  // namespace

TodayTheme::TodayTheme() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTodayThemeKey, 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
  background_ = readColor(key, u"BackgroundColor", kDefaultBackground);
  text_ = readColor(key, u"TextColor", kDefaultText);
  highlight_ = readColor(key, u"HighlightColor", kDefaultHighlight);
  highlightText_ = readColor(key, u"HighlightTextColor", kDefaultHighlightText);
  if (key) {
    WCHAR path[MAX_PATH] = {};
    DWORD type = 0, size = sizeof(path) - sizeof(WCHAR);
    if (RegQueryValueExW(key, u"Watermark", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ && path[0]) {
      watermark_ = SHLoadDIBitmap(path);
      BITMAP info{};
      if (watermark_ && GetObjectW(watermark_, sizeof(info), &info) && info.bmWidth > 0 && info.bmHeight > 0) {
        watermarkWidth_ = info.bmWidth;
        watermarkHeight_ = info.bmHeight;
      } else if (watermark_) {
        DeleteObject(watermark_);
        watermark_ = nullptr;
      }
    }
    RegCloseKey(key);
  }
}

TodayTheme::~TodayTheme() {
  if (watermark_) DeleteObject(watermark_);
}

bool TodayTheme::color(WPARAM which, COLORREF& color) const {
  switch (which) {
    case TODAYCOLOR_TEXT: color = text_; return true;
    case TODAYCOLOR_HIGHLIGHT: color = highlight_; return true;
    case TODAYCOLOR_HIGHLIGHTEDTEXT: color = highlightText_; return true;
    default: return false;
  }
}

void TodayTheme::drawBackground(HDC hdc, const RECT& rect, POINT origin) const {
  if (!watermark_) {
    HBRUSH brush = CreateSolidBrush(background_);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
    return;
  }
  HDC source = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(source, watermark_);
  // Tiles in the screen's coordinates, from the tile that holds the rectangle's top left.
  const int left = rect.left + origin.x, top = rect.top + origin.y;
  const int right = rect.right + origin.x, bottom = rect.bottom + origin.y;
  const int firstX = left - ((left % watermarkWidth_) + watermarkWidth_) % watermarkWidth_;
  const int firstY = top - ((top % watermarkHeight_) + watermarkHeight_) % watermarkHeight_;
  for (int y = firstY; y < bottom; y += watermarkHeight_) {
    for (int x = firstX; x < right; x += watermarkWidth_) {
      const int clipLeft = std::max(x, left), clipTop = std::max(y, top);
      const int clipRight = std::min(x + watermarkWidth_, right), clipBottom = std::min(y + watermarkHeight_, bottom);
      BitBlt(hdc, clipLeft - origin.x, clipTop - origin.y, clipRight - clipLeft, clipBottom - clipTop, source,
             clipLeft - x, clipTop - y, SRCCOPY);
    }
  }
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace handheld::shell
