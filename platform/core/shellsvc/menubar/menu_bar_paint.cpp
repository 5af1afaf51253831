// The bar around its toolbar: the face and top line the toolbar has too, and the input-panel
// button, a small keyboard drawn in lines, in the selection colours while held or while the
// panel is up.
#include "shellsvc/menubar/input_panel_link.h"
#include "shellsvc/menubar/menu_bar.h"
#include "user/controls/control_support.h"

namespace handheld::shellsvc {

using user::controls::lineWidth;

namespace {

void fill(HDC hdc, RECT r, HBRUSH brush) { FillRect(hdc, &r, brush); }

void paintKeyboard(HDC hdc, RECT button, bool down) {
  const int unit = lineWidth();
  if (down) fill(hdc, button, GetSysColorBrush(COLOR_HIGHLIGHT));
  HBRUSH ink = GetSysColorBrush(down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
  const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
  const RECT body{cx - 8 * unit, cy - 5 * unit, cx + 8 * unit, cy + 5 * unit};
  FrameRect(hdc, &body, ink);
  // Two rows of keys and a space bar.
  for (int row = 0; row < 2; ++row)
    for (int key = 0; key < 6; ++key) {
      const int x = body.left + 2 * unit + key * 2 * unit + key * unit / 2;
      const int y = body.top + 2 * unit + row * 2 * unit;
      fill(hdc, {x, y, x + unit, y + unit}, ink);
    }
  fill(hdc, {cx - 4 * unit, body.bottom - 3 * unit, cx + 4 * unit, body.bottom - 2 * unit}, ink);
}

}  // namespace

void paintMenuBar(HWND bar, HDC hdc, const MenuBarState& state) {
  RECT client{};
  GetClientRect(bar, &client);
  HBRUSH own = state.background != CLR_INVALID ? CreateSolidBrush(state.background) : nullptr;
  fill(hdc, client, own ? own : GetSysColorBrush(COLOR_BTNFACE));
  if (own) DeleteObject(own);
  if (state.inputPanelButton) paintKeyboard(hdc, inputPanelButtonRect(bar), state.inputPanelPressed || inputPanelShown());
  fill(hdc, {client.left, client.top, client.right, client.top + lineWidth()}, GetSysColorBrush(COLOR_WINDOWFRAME));
}

}  // namespace handheld::shellsvc
