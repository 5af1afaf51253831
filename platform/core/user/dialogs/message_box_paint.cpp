// The message box's face: a black frame, the caption in a band of the selection colours,
// the icon and the text. The icons are drawn with shapes at the icon size the screen asks
// for, so they are as sharp in VGA as in QVGA.
#include <algorithm>

#include "user/controls/control_support.h"
#include "user/dialogs/message_box.h"
#include "user/dialogs/title_band.h"

namespace handheld::user::dialogs {

namespace {

// The icons' own colours: pictures, not parts of the colour scheme.
constexpr COLORREF kStopRed = RGB(204, 0, 0);
constexpr COLORREF kWarningYellow = RGB(255, 204, 0);
constexpr COLORREF kInfoBlue = RGB(0, 72, 200);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Selects a pen and brush for one shape and puts the old ones back after it.
class Tools {
 public:
  Tools(HDC hdc, COLORREF fill, COLORREF outline, int width)
      : hdc_(hdc),
        brush_(CreateSolidBrush(fill)),
        pen_(CreatePen(PS_SOLID, width, outline)),
        oldBrush_(SelectObject(hdc, brush_)),
        oldPen_(SelectObject(hdc, pen_)) {}
  ~Tools() {
    SelectObject(hdc_, oldBrush_);
    SelectObject(hdc_, oldPen_);
    DeleteObject(brush_);
    DeleteObject(pen_);
  }
  Tools(const Tools&) = delete;
  Tools& operator=(const Tools&) = delete;

 private:
  HDC hdc_;
  HBRUSH brush_;
  HPEN pen_;
  HGDIOBJ oldBrush_, oldPen_;
};

void fill(HDC hdc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
}

// A disc with a mark on it: the stop cross, the question mark or the "i".
void drawDisc(HDC hdc, const RECT& r, COLORREF color) {
  Tools tools(hdc, color, color, 1);
  Ellipse(hdc, r.left, r.top, r.right, r.bottom);
}

void drawStop(HDC hdc, const RECT& r, int side) {
  drawDisc(hdc, r, kStopRed);
  const int inset = side * 3 / 10;
  Tools tools(hdc, kWhite, kWhite, std::max(side / 8, 2));
  MoveToEx(hdc, r.left + inset, r.top + inset, nullptr);
  LineTo(hdc, r.right - inset - 1, r.bottom - inset - 1);
  MoveToEx(hdc, r.right - inset - 1, r.top + inset, nullptr);
  LineTo(hdc, r.left + inset, r.bottom - inset - 1);
}

void drawQuestion(HDC hdc, const RECT& r, int side) {
  drawDisc(hdc, r, kInfoBlue);
  LOGFONTW lf{};
  lf.lfHeight = -side * 3 / 4;
  lf.lfWeight = FW_BOLD;
  std::char_traits<char16_t>::copy(lf.lfFaceName, u"Tahoma", 7);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(hdc, font);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, kWhite);
  RECT box = r;
  DrawTextW(hdc, u"?", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(hdc, old);
  DeleteObject(font);
}

void drawInformation(HDC hdc, const RECT& r, int side) {
  drawDisc(hdc, r, kInfoBlue);
  const int stroke = std::max(side / 8, 2), middle = r.left + side / 2;
  const int left = middle - stroke / 2;
  fill(hdc, left, r.top + side / 5, left + stroke, r.top + side / 5 + stroke, kWhite);
  fill(hdc, left, r.top + side * 2 / 5, left + stroke, r.bottom - side / 5, kWhite);
}

void drawWarning(HDC hdc, const RECT& r, int side) {
  {
    Tools tools(hdc, kWarningYellow, kBlack, 1);
    const POINT corners[] = {{r.left + side / 2, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    Polygon(hdc, corners, 3);
  }
  const int stroke = std::max(side / 8, 2), middle = r.left + side / 2;
  const int left = middle - stroke / 2;
  fill(hdc, left, r.top + side * 3 / 10, left + stroke, r.top + side * 7 / 10, kBlack);
  fill(hdc, left, r.top + side * 4 / 5 - stroke / 2, left + stroke, r.top + side * 4 / 5 + stroke / 2 + 1, kBlack);
}

}  // namespace

void drawMessageBoxIcon(HDC hdc, const RECT& r, UINT icon) {
  const int side = std::min(r.right - r.left, r.bottom - r.top);
  switch (icon) {
    case MB_ICONHAND: drawStop(hdc, r, side); break;
    case MB_ICONQUESTION: drawQuestion(hdc, r, side); break;
    case MB_ICONEXCLAMATION: drawWarning(hdc, r, side); break;
    case MB_ICONASTERISK: drawInformation(hdc, r, side); break;
    default: break;
  }
}

void paintMessageBox(HDC hdc, const MessageBoxLayout& layout, const std::u16string& caption,
                     const std::u16string& text, UINT icon, HFONT textFont, HFONT titleFont) {
  const int unit = controls::lineWidth();
  const RECT client{0, 0, layout.window.right - layout.window.left, layout.window.bottom - layout.window.top};
  RECT frame = client;
  for (int i = 0; i < unit; ++i, InflateRect(&frame, -1, -1)) FrameRect(hdc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));

  paintTitleBand(hdc, layout.title, caption, titleFont);
  if (icon) drawMessageBoxIcon(hdc, layout.icon, icon);

  SetBkMode(hdc, TRANSPARENT);
  HGDIOBJ old = SelectObject(hdc, textFont);
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  RECT body = layout.text;
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &body, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(hdc, old);
}

}  // namespace handheld::user::dialogs
