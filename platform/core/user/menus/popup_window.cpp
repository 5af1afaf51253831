#include "user/menus/popup_window.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "user/window_class.h"

namespace handheld::user {

namespace {

HFONT menuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int textWidth(HDC dc, const std::u16string& text) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return r.right - r.left;
}

void fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// A tick, or with MFT_RADIOCHECK a dot, centred in `box`.
void drawCheck(HDC dc, const RECT& box, bool radio, COLORREF color, int unit) {
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  if (radio) {
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - 3 * unit, cy - 3 * unit, cx + 3 * unit + 1, cy + 3 * unit + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 2 * unit, color);
  HGDIOBJ old = SelectObject(dc, pen);
  const POINT tick[3] = {{cx - 4 * unit, cy}, {cx - unit, cy + 3 * unit}, {cx + 4 * unit, cy - 4 * unit}};
  Polyline(dc, tick, 3);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A small triangle pointing right, centred in `box`.
void drawArrow(HDC dc, const RECT& box, COLORREF color, int unit) {
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const POINT points[3] = {{cx - 2 * unit, cy - 4 * unit}, {cx + 2 * unit, cy}, {cx - 2 * unit, cy + 4 * unit}};
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  Polygon(dc, points, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void drawEntry(HDC dc, const PopupLevel& level, const MenuEntry& entry, const RECT& r, bool hot) {
  const int unit = level.metrics.unit;
  if (entry.state & MF_SEPARATOR) {
    const int y = (r.top + r.bottom) / 2;
    fill(dc, {r.left + unit, y, r.right - unit, y + unit}, RGB(0, 0, 0));
    return;
  }
  const bool grayed = (entry.state & (MF_GRAYED | MF_DISABLED)) != 0;
  const COLORREF text = grayed ? GetSysColor(COLOR_GRAYTEXT) : hot ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                                   : GetSysColor(COLOR_MENUTEXT);
  if (hot) fill(dc, r, GetSysColor(COLOR_HIGHLIGHT));
  if (entry.state & MF_CHECKED)
    drawCheck(dc, {r.left, r.top, r.left + level.metrics.markGutter(), r.bottom}, (entry.state & MFT_RADIOCHECK) != 0, text, unit);
  if (entry.popup) drawArrow(dc, {r.right - level.metrics.arrowGutter(), r.top, r.right, r.bottom}, text, unit);
  RECT textBox{r.left + level.metrics.markGutter(), r.top, r.right - level.metrics.arrowGutter(), r.bottom};
  SetTextColor(dc, text);
  DrawTextW(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &textBox, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void paint(HWND window, const PopupLevel& level) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT all{0, 0, level.layout.size.cx, level.layout.size.cy};
  fill(dc, all, GetSysColor(COLOR_MENU));
  for (int i = 0; i < level.metrics.frame(); ++i) {
    RECT edge{all.left + i, all.top + i, all.right - i, all.bottom - i};
    FrameRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  HGDIOBJ oldFont = SelectObject(dc, menuFont());
  SetBkMode(dc, TRANSPARENT);
  {
    std::lock_guard guard(menuLock());
    const auto& entries = level.menu->entries();
    const size_t count = std::min(entries.size(), level.layout.items.size());
    for (size_t i = 0; i < count; ++i)
      drawEntry(dc, level, entries[i], level.layout.items[i], static_cast<int>(i) == level.hot);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

LRESULT CALLBACK popupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;  // painting covers everything
    case WM_PAINT:
      if (auto* level = reinterpret_cast<PopupLevel*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        paint(window, *level);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void registerPopupClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSW description{};
    description.lpfnWndProc = popupProc;
    description.lpszClassName = kPopupMenuClass;
    registerSystemClass(description);
  });
}

}  // namespace

void measurePopup(PopupLevel& level) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, menuFont());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  level.metrics.unit = std::max(1, GetSystemMetrics(SM_CXBORDER));
  level.metrics.textHeight = std::max<int>(tm.tmHeight, 1);
  std::vector<int> widths;
  {
    std::lock_guard guard(menuLock());
    for (const auto& entry : level.menu->entries()) widths.push_back(textWidth(dc, entry.text));
    level.layout = layOutPopup(level.menu->entries(), widths, level.metrics);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

HWND createPopupWindow(PopupLevel& level, HWND owner) {
  registerPopupClass();
  HWND window = CreateWindowExW(WS_EX_TOPMOST, kPopupMenuClass, u"", WS_POPUP, level.screen.left, level.screen.top,
                                level.screen.right - level.screen.left, level.screen.bottom - level.screen.top,
                                owner, nullptr, nullptr, &level);
  if (window) ShowWindow(window, SW_SHOWNA);
  return window;
}

}  // namespace handheld::user
