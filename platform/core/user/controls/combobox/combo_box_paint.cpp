// The field in the handheld's look: a one-line black frame, the chosen text (in the selection
// colours while a drop-down list combo has the focus), and for the drop-down kinds a button
// with a downward arrow at the right, inverted while the list is dropped.
#include "user/controls/combobox/combo_box.h"
#include "user/controls/control_support.h"

namespace handheld::user::controls {

namespace {

void frame(HDC hdc, RECT r, int width) {
  HBRUSH brush = GetSysColorBrush(COLOR_WINDOWFRAME);
  for (int i = 0; i < width; ++i) {
    FrameRect(hdc, &r, brush);
    InflateRect(&r, -1, -1);
  }
}

void arrow(HDC hdc, const RECT& box, COLORREF color, int unit) {
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const POINT points[3] = {{cx - 3 * unit, cy - unit}, {cx + 3 * unit, cy - unit}, {cx, cy + 2 * unit}};
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(hdc, brush), oldPen = SelectObject(hdc, pen);
  Polygon(hdc, points, 3);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

int buttonWidth() { return 13 * lineWidth(); }

void paintComboBox(HWND combo, HDC hdc, const ComboBoxState& state) {
  const ComboKind kind = comboKind(combo);
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  HBRUSH background = controlColors(combo, hdc, kind == ComboKind::DropDownList ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT);
  const bool enabled = IsWindowEnabled(combo);
  const COLORREF text = enabled ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
  RECT client{};
  GetClientRect(combo, &client);
  const int unit = lineWidth();
  RECT field{0, 0, client.right, state.fieldHeight};
  FillRect(hdc, &field, background);
  frame(hdc, field, unit);
  if (kind != ComboKind::Simple) {
    RECT button{field.right - buttonWidth(), field.top, field.right, field.bottom};
    FillRect(hdc, &button, GetSysColorBrush(state.dropped ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    frame(hdc, button, unit);
    arrow(hdc, button, state.dropped ? GetSysColor(COLOR_HIGHLIGHTTEXT) : (enabled ? GetSysColor(COLOR_BTNTEXT) : text), unit);
    field.right = button.left;
  }
  if (kind == ComboKind::DropDownList) {
    RECT inner = field;
    InflateRect(&inner, -2 * unit, -2 * unit);
    const bool highlighted = state.focused && !state.dropped;
    if (highlighted) FillRect(hdc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
    const std::u16string label = controlText(combo);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    RECT textBox{inner.left + unit, inner.top, inner.right - unit, inner.bottom};
    DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &textBox, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (highlighted) DrawFocusRect(hdc, &inner);
  }
  if (kind == ComboKind::Simple && client.bottom > state.fieldHeight) {
    RECT below{0, state.fieldHeight, client.right, client.bottom};
    FillRect(hdc, &below, background);
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::user::controls
