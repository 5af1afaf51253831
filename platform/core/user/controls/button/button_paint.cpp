// The button in the handheld's look: flat, one-line black frames, white faces, the pressed
// push button in the selection colours; owner-drawn buttons are the parent's to draw.
#include <algorithm>

#include "user/controls/button/button.h"
#include "user/controls/control_support.h"

namespace handheld::user::controls {

namespace {

// A box of `size` lines of `unit` pixels.
struct Box {
  RECT rect;
  int unit;
};

void frame(HDC hdc, RECT r, int width, int colorIndex) {
  HBRUSH brush = GetSysColorBrush(colorIndex);
  for (int i = 0; i < width; ++i) {
    FrameRect(hdc, &r, brush);
    InflateRect(&r, -1, -1);
  }
}

UINT textFormat(LONG style, UINT horizontalDefault) {
  UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= horizontalDefault; break;
  }
  if (!(style & BS_MULTILINE)) {
    switch (style & BS_VCENTER) {
      case BS_TOP: break;
      case BS_BOTTOM: format |= DT_BOTTOM; break;
      default: format |= DT_VCENTER; break;
    }
  }
  return format;
}

void drawText(HDC hdc, HWND button, RECT r, UINT format, COLORREF color, bool focused) {
  std::u16string text = controlText(button);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, IsWindowEnabled(button) ? color : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
  if (focused && !text.empty()) {
    RECT measured = r;
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured, (format & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
    const int width = measured.right - measured.left, height = measured.bottom - measured.top;
    int left = r.left;
    if (format & DT_CENTER) left = r.left + (r.right - r.left - width) / 2;
    if (format & DT_RIGHT) left = r.right - width;
    int top = (format & DT_VCENTER) ? r.top + (r.bottom - r.top - height) / 2 : r.top;
    RECT focus{left - 1, top, left + width + 1, top + height};
    DrawFocusRect(hdc, &focus);
  }
}

void paintPush(HWND button, HDC hdc, const ButtonState& state, LONG style, HBRUSH face, COLORREF text) {
  RECT r;
  GetClientRect(button, &r);
  const int unit = lineWidth();
  const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  FillRect(hdc, &r, state.pushed ? GetSysColorBrush(COLOR_HIGHLIGHT) : face);
  frame(hdc, r, isDefault ? 2 * unit : unit, COLOR_WINDOWFRAME);
  RECT inner = r;
  InflateRect(&inner, -3 * unit, -unit);
  drawText(hdc, button, inner, textFormat(style, DT_CENTER),
           state.pushed ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text, false);
  if (state.focused && !state.pushed) {
    RECT focus = r;
    InflateRect(&focus, -3 * unit, -3 * unit);
    DrawFocusRect(hdc, &focus);
  }
}

// The check box or radio circle and its text beside it.
void paintCheck(HWND button, HDC hdc, const ButtonState& state, LONG style, HBRUSH background, COLORREF text) {
  RECT r;
  GetClientRect(button, &r);
  FillRect(hdc, &r, background);
  const int unit = lineWidth();
  const int size = std::min<int>(11 * unit, r.bottom - r.top);
  const bool leftText = style & BS_LEFTTEXT;
  const int top = r.top + (r.bottom - r.top - size) / 2;
  RECT box{leftText ? r.right - size : r.left, top, 0, top + size};
  box.right = box.left + size;
  const UINT type = style & BS_TYPEMASK;
  HBRUSH boxFace = GetSysColorBrush(state.pushed ? COLOR_BTNFACE : COLOR_WINDOW);
  COLORREF mark = GetSysColor(IsWindowEnabled(button) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
    HPEN pen = CreatePen(PS_SOLID, unit, GetSysColor(COLOR_WINDOWFRAME));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    HGDIOBJ oldBrush = SelectObject(hdc, boxFace);
    Ellipse(hdc, box.left, box.top, box.right, box.bottom);
    if (state.check) {
      HBRUSH dot = CreateSolidBrush(mark);
      SelectObject(hdc, dot);
      SelectObject(hdc, GetStockObject(NULL_PEN));
      Ellipse(hdc, box.left + 3 * unit, box.top + 3 * unit, box.right - 3 * unit + 1, box.bottom - 3 * unit + 1);
      SelectObject(hdc, oldBrush);
      DeleteObject(dot);
    }
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
  } else {
    FillRect(hdc, &box, boxFace);
    frame(hdc, box, unit, COLOR_WINDOWFRAME);
    if (state.check == BST_CHECKED) {
      HPEN pen = CreatePen(PS_SOLID, 2 * unit, mark);
      HGDIOBJ oldPen = SelectObject(hdc, pen);
      const POINT tick[3] = {{box.left + 2 * unit, box.top + 5 * unit},
                             {box.left + 4 * unit, box.top + 7 * unit},
                             {box.left + 8 * unit, box.top + 3 * unit}};
      Polyline(hdc, tick, 3);
      SelectObject(hdc, oldPen);
      DeleteObject(pen);
    } else if (state.check == BST_INDETERMINATE) {
      RECT inner = box;
      InflateRect(&inner, -3 * unit, -3 * unit);
      FillRect(hdc, &inner, GetSysColorBrush(COLOR_GRAYTEXT));
    }
  }
  RECT label = r;
  if (leftText) {
    label.right = box.left - 4 * unit;
  } else {
    label.left = box.right + 4 * unit;
  }
  drawText(hdc, button, label, textFormat(style, leftText ? DT_RIGHT : DT_LEFT), text, state.focused);
}

void paintGroup(HWND button, HDC hdc, LONG style, HBRUSH background, COLORREF text) {
  RECT r;
  GetClientRect(button, &r);
  FillRect(hdc, &r, background);
  TEXTMETRICW metrics{};
  GetTextMetricsW(hdc, &metrics);
  const int unit = lineWidth();
  RECT border = r;
  border.top += metrics.tmHeight / 2;
  frame(hdc, border, unit, COLOR_WINDOWFRAME);
  std::u16string caption = controlText(button);
  if (caption.empty()) return;
  RECT label{r.left + 6 * unit, r.top, r.right - 6 * unit, r.top + metrics.tmHeight};
  RECT measured = label;
  DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
  label.right = std::min(label.right, measured.right + 2 * unit);
  FillRect(hdc, &label, background);
  label.left += unit;
  drawText(hdc, button, label, textFormat(style & ~BS_VCENTER, DT_LEFT) & ~DT_VCENTER, text, false);
}

void paintOwnerDrawn(HWND button, HDC hdc, const ButtonState& state) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = (state.pushed ? ODS_SELECTED : 0) | (state.focused ? ODS_FOCUS : 0) |
                   (IsWindowEnabled(button) ? 0 : ODS_DISABLED);
  item.hwndItem = button;
  item.hDC = hdc;
  GetClientRect(button, &item.rcItem);
  SendMessageW(GetParent(button), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void paintButton(HWND button, HDC hdc, const ButtonState& state) {
  const LONG style = GetWindowLongW(button, GWL_STYLE);
  const UINT type = style & BS_TYPEMASK;
  if (type == BS_OWNERDRAW) {
    paintOwnerDrawn(button, hdc, state);
    return;
  }
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  HBRUSH background = controlColors(button, hdc, WM_CTLCOLORBTN);
  const COLORREF text = GetTextColor(hdc);
  switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: paintPush(button, hdc, state, style, background, text); break;
    case BS_GROUPBOX: paintGroup(button, hdc, style, background, text); break;
    default: paintCheck(button, hdc, state, style, background, text); break;
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::user::controls
