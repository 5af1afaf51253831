// The tooltip of a held toolbar button: a small popup above the button (below it when there
// is no room), with the text from the array given to TB_SETTOOLTIPS, else from the owner
// (TBN_GETINFOTIP, then TTN_GETDISPINFO). It never takes the activation.
#include <algorithm>

#include "controls/toolbar/toolbar.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

constexpr size_t kMaxTipText = 1024;

std::u16string bounded(LPCWSTR text) {
  std::u16string out;
  for (size_t i = 0; text && text[i] && i < kMaxTipText; ++i) out += text[i];
  return out;
}

// The owner's answer may destroy the toolbar: the caller reads its state again.
std::u16string askOwner(HWND toolbar, const ToolbarButton& button) {
  WCHAR buffer[80] = {};
  NMTBGETINFOTIPW info{};
  info.pszText = buffer;
  info.cchTextMax = 80;
  info.iItem = button.command;
  info.lParam = static_cast<LPARAM>(button.data);
  notifyParent(toolbar, info.hdr, TBN_GETINFOTIP);
  buffer[79] = 0;
  if (buffer[0]) return buffer;
  HWND parent = GetParent(toolbar);
  if (!parent || !IsWindow(toolbar)) return {};
  NMTTDISPINFOW display{};
  display.hdr.hwndFrom = toolbar;
  display.hdr.idFrom = static_cast<UINT_PTR>(button.command);
  display.hdr.code = TTN_GETDISPINFOW;
  display.lParam = static_cast<LPARAM>(button.data);
  SendMessageW(parent, WM_NOTIFY, display.hdr.idFrom, reinterpret_cast<LPARAM>(&display));
  display.szText[79] = 0;
  const auto address = reinterpret_cast<ULONG_PTR>(display.lpszText);
  if (display.lpszText && (address >> 16) == 0) {
    WCHAR loaded[kMaxTipText] = {};
    if (display.hinst && LoadStringW(display.hinst, static_cast<UINT>(address), loaded, kMaxTipText) > 0) return loaded;
    return {};
  }
  if (display.lpszText) return bounded(display.lpszText);
  return display.szText;
}

std::u16string tipText(HWND toolbar, const ToolbarState& state, int index) {
  int position = 0;
  for (int i = 0; i < index; ++i)
    if (!(state.buttons[i].style & TBSTYLE_SEP)) ++position;
  if (state.tipTexts) return position < state.tipCount ? bounded(state.tipTexts[position]) : std::u16string();
  return askOwner(toolbar, state.buttons[index]);
}

HWND topLevelOf(HWND window) {
  while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}

LRESULT CALLBACK tipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(tip, &ps);
      if (hdc) {
        RECT r{};
        GetClientRect(tip, &r);
        FillRect(hdc, &r, GetSysColorBrush(COLOR_INFOBK));
        FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        HGDIOBJ old = SelectObject(hdc, fontOr(nullptr));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
        const std::u16string text = controlText(tip);
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        SelectObject(hdc, old);
      }
      EndPaint(tip, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    default:
      return DefWindowProcW(tip, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW toolbarTipClass() {
  WNDCLASSW c{};
  c.lpfnWndProc = tipProc;
  c.lpszClassName = u"ToolbarTip";
  return c;
}

void showTip(HWND toolbar, int index) {
  ToolbarState* state = stateOf<ToolbarState>(toolbar);
  if (!state || index < 0 || index >= static_cast<int>(state->buttons.size())) return;
  const std::u16string text = tipText(toolbar, *state, index);
  state = stateOf<ToolbarState>(toolbar);  // the owner may have ended it
  if (!state || text.empty() || state->pressed != index) return;
  if (state->tipWindow && !IsWindow(state->tipWindow)) state->tipWindow = nullptr;
  if (!state->tipWindow || !state->ownTip) {
    HWND made = CreateWindowExW(WS_EX_TOPMOST, u"ToolbarTip", u"", WS_POPUP, 0, 0, 0, 0, topLevelOf(toolbar),
                                nullptr, nullptr, nullptr);
    state = stateOf<ToolbarState>(toolbar);
    if (!made || !state) return;
    state->tipWindow = made;
    state->ownTip = true;
  }
  // Measured with the font the tip paints with.
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, fontOr(nullptr));
  SIZE extent{};
  GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  const int unit = lineWidth();
  const int width = extent.cx + 8 * unit, height = extent.cy + 4 * unit;
  RECT button = buttonRects(*state)[index];
  MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int x = std::max(0, std::min<int>(button.left, screenWidth - width));
  const int y = button.top - height - unit >= 0 ? button.top - height - unit : button.bottom + unit;
  SetWindowTextW(state->tipWindow, text.c_str());
  SetWindowPos(state->tipWindow, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(state->tipWindow, nullptr, TRUE);
}

void hideTip(HWND toolbar) {
  ToolbarState* state = stateOf<ToolbarState>(toolbar);
  if (state && state->ownTip && state->tipWindow && IsWindow(state->tipWindow))
    ShowWindow(state->tipWindow, SW_HIDE);
}

}  // namespace handheld::controls
