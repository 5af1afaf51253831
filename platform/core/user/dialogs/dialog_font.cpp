#include "user/dialogs/dialog_font.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace handheld::user::dialogs {

namespace {

// value * numerator / denominator, rounded half away from zero.
int scaled(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int screenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

HFONT createPointFont(const std::u16string& face, int points, int weight, bool italic) {
  LOGFONTW font{};
  font.lfHeight = -scaled(points, screenDpi(), 72);
  font.lfWeight = weight > 0 ? weight : FW_NORMAL;
  font.lfItalic = italic ? 1 : 0;
  size_t count = std::min<size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.data(), count, font.lfFaceName);
  return CreateFontIndirectW(&font);
}

HFONT defaultDialogFont() {
  // One per dpi: the screen mode may change while the process runs.
  static std::mutex lock;
  static std::map<int, HFONT> fonts;
  const int dpi = screenDpi();
  std::lock_guard guard(lock);
  HFONT& font = fonts[dpi];
  if (!font) font = createPointFont(u"Tahoma", 8, FW_NORMAL, false);
  return font;
}

SIZE baseUnits(HFONT font) {
  static constexpr char16_t kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, font ? font : defaultDialogFont());
  SIZE extent{};
  GetTextExtentPoint32W(hdc, kLetters, 52, &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return {std::max<LONG>(1, (extent.cx / 26 + 1) / 2), std::max<LONG>(1, metrics.tmHeight)};
}

RECT unitsToPixels(const RECT& units, SIZE base) {
  return {scaled(units.left, base.cx, 4), scaled(units.top, base.cy, 8),
          scaled(units.right, base.cx, 4), scaled(units.bottom, base.cy, 8)};
}

}  // namespace handheld::user::dialogs
