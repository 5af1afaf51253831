// The title band of the system's own dialogs.
#include "user/dialogs/title_band.h"

#include "user/controls/control_support.h"
#include "user/dialogs/dialog_font.h"

namespace handheld::user::dialogs {

int titleBandHeight(int fontHeight) { return fontHeight + 4 * controls::lineWidth(); }

TitleFont::TitleFont() : font_(createPointFont(u"Tahoma", 8, FW_BOLD, false)) {}

TitleFont::~TitleFont() {
  if (font_) DeleteObject(font_);
}

HFONT TitleFont::get() const { return font_ ? font_ : defaultDialogFont(); }

int TitleFont::height() const {
  HDC hdc = GetDC(nullptr);  // measures only
  HGDIOBJ old = SelectObject(hdc, get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return metrics.tmHeight;
}

void paintTitleBand(HDC hdc, const RECT& band, const std::u16string& caption, HFONT font) {
  FillRect(hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  HGDIOBJ oldFont = SelectObject(hdc, font ? font : defaultDialogFont());
  RECT text = band;
  InflateRect(&text, -6 * controls::lineWidth(), 0);
  DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(hdc, oldFont);
  SetTextColor(hdc, oldColor);
  SetBkMode(hdc, oldMode);
}

}  // namespace handheld::user::dialogs
