#include "known_picture.h"

namespace handheld::testing {

void drawKnownPicture(HDC dc) {
  const RECT whole{0, 0, kKnownPictureWidth, kKnownPictureHeight};
  FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

  HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 160));
  HBRUSH brush = CreateSolidBrush(RGB(255, 220, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Rectangle(dc, 8, 8, 70, 50);
  Ellipse(dc, 84, 6, 152, 52);
  MoveToEx(dc, 8, 60, nullptr);
  LineTo(dc, 152, 70);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);

  LOGFONTW font{};
  font.lfHeight = -14;
  font.lfWeight = FW_BOLD;
  lstrcpyW(font.lfFaceName, u"Tahoma");
  HFONT bold = CreateFontIndirectW(&font);
  HGDIOBJ oldFont = SelectObject(dc, bold);
  SetTextColor(dc, RGB(200, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT line{4, 76, kKnownPictureWidth - 4, 96};
  DrawTextW(dc, u"Pinned note", -1, &line, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, oldFont);
  DeleteObject(bold);

  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(200, 255, 200));
  ExtTextOutW(dc, 6, 100, 0, nullptr, u"12:45 \u00e9\u00df", 8, nullptr);
}

}  // namespace handheld::testing
