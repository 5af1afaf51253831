// The toolbar in the handheld's look: a grey bar, flat buttons, the pressed or checked one in
// the selection colours, separators as a line, disabled text grey and images blended.
#include "controls/toolbar/toolbar.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

void paintToolbar(HWND toolbar, HDC hdc, const ToolbarState& state) {
  RECT client{};
  GetClientRect(toolbar, &client);
  FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int unit = lineWidth();
  RECT top{client.left, client.top, client.right, client.top + unit};
  FillRect(hdc, &top, GetSysColorBrush(COLOR_WINDOWFRAME));
  HGDIOBJ oldFont = SelectObject(hdc, fontOr(state.font));
  SetBkMode(hdc, TRANSPARENT);
  const auto rects = buttonRects(state);
  for (size_t i = 0; i < rects.size(); ++i) {
    const ToolbarButton& b = state.buttons[i];
    RECT r = rects[i];
    if (b.state & TBSTATE_HIDDEN) continue;
    if (b.style & TBSTYLE_SEP) {
      const int middle = (r.left + r.right) / 2;
      RECT line{middle, r.top + 2 * unit, middle + unit, r.bottom - 2 * unit};
      FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
      continue;
    }
    const bool enabled = b.state & TBSTATE_ENABLED;
    const bool down = (b.state & (TBSTATE_PRESSED | TBSTATE_CHECKED)) ||
                      (static_cast<int>(i) == state.pressed && state.inside);
    if (down) {
      FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
      FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    RECT content = r;
    InflateRect(&content, -3 * unit, 0);
    if (state.images && b.image >= 0) {
      const int y = r.top + (r.bottom - r.top - state.bitmapSize.cy) / 2;
      const int x = b.text.empty() ? r.left + (r.right - r.left - state.bitmapSize.cx) / 2 : content.left;
      ImageList_Draw(state.images, b.image, hdc, x, y, enabled ? ILD_NORMAL : ILD_BLEND50);
      content.left = x + state.bitmapSize.cx + 3 * unit;
    }
    if (!b.text.empty()) {
      SetTextColor(hdc, GetSysColor(!enabled ? COLOR_GRAYTEXT : down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
      DrawTextW(hdc, b.text.c_str(), static_cast<int>(b.text.size()), &content,
                DT_SINGLELINE | DT_VCENTER | (state.images && b.image >= 0 ? DT_LEFT : DT_CENTER));
    }
  }
  SelectObject(hdc, oldFont);
}

}  // namespace handheld::controls
