#include "input_panel/input_panel.h"

#include <aygshell.h>

#include <memory>
#include <optional>

#include "input_panel/keyboard_layout.h"
#include "user/input_focus.h"

namespace handheld::shell {

namespace {

constexpr WCHAR kClassName[] = u"InputPanel";
constexpr WCHAR kTitle[] = u"Input Panel";

constexpr COLORREF kPanelColor = RGB(198, 198, 198);
constexpr COLORREF kKeyColor = RGB(255, 255, 255);
constexpr COLORREF kKeyEdge = RGB(96, 96, 96);
constexpr COLORREF kLabelColor = RGB(0, 0, 0);
constexpr COLORREF kHeldColor = RGB(0, 0, 128);
constexpr COLORREF kHeldLabelColor = RGB(255, 255, 255);

struct PanelState {
  bool shift = false;
  std::optional<KeyCap> held;  // the key under the stylus, drawn pressed
  HFONT font = nullptr;
  ~PanelState() {
    if (font) DeleteObject(font);
  }
};

PanelState* stateOf(HWND window) {
  return reinterpret_cast<PanelState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Labels a little smaller than the rows, at any density.
HFONT makeFont() {
  LOGFONTW font{};
  font.lfHeight = -11 * GetSystemMetrics(SM_CXBORDER);
  font.lfWeight = FW_NORMAL;
  const char16_t face[] = u"Tahoma";
  std::copy(std::begin(face), std::end(face), font.lfFaceName);
  return CreateFontIndirectW(&font);
}

// Sits where the device puts the panel, shown exactly while it is up.
void followDevice(HWND window) {
  SIPINFO info{};
  info.cbSize = sizeof info;
  if (!SipGetInfo(&info)) return;
  const RECT& r = info.rcSipRect;
  const UINT show = (info.fdwFlags & SIPF_ON) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | show);
}

bool keyDrawnDown(const PanelState& state, const KeyCap& key) {
  if (key.kind == KeyKind::Shift && state.shift) return true;
  return state.held && state.held->row == key.row && state.held->column == key.column;
}

void paint(HWND window, const PanelState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH panelBrush = CreateSolidBrush(kPanelColor);
  HBRUSH keyBrush = CreateSolidBrush(kKeyColor);
  HBRUSH heldBrush = CreateSolidBrush(kHeldColor);
  HBRUSH edgeBrush = CreateSolidBrush(kKeyEdge);
  FillRect(dc, &client, panelBrush);
  HGDIOBJ oldFont = SelectObject(dc, state.font);
  SetBkMode(dc, TRANSPARENT);
  const int gap = GetSystemMetrics(SM_CXBORDER);
  for (const KeyCap& key : keyboardKeys()) {
    RECT r = keyRect(key, client.right, client.bottom);
    InflateRect(&r, -gap, -gap);
    const bool down = keyDrawnDown(state, key);
    FillRect(dc, &r, down ? heldBrush : keyBrush);
    FrameRect(dc, &r, edgeBrush);
    const WCHAR label = key.kind == KeyKind::Character && state.shift ? key.shifted : key.plain;
    SetTextColor(dc, down ? kHeldLabelColor : kLabelColor);
    DrawTextW(dc, &label, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  DeleteObject(panelBrush);
  DeleteObject(keyBrush);
  DeleteObject(heldBrush);
  DeleteObject(edgeBrush);
  EndPaint(window, &ps);
}

// The key goes to whichever window has the focus: the panel itself never has it.
void strike(HWND window, PanelState& state, const KeyCap& key) {
  switch (key.kind) {
    case KeyKind::Shift:
      state.shift = !state.shift;
      break;
    case KeyKind::Character: {
      const char16_t typed = state.shift ? key.shifted : key.plain;
      state.shift = false;
      user::typeDeviceText(std::u16string_view(&typed, 1));
      break;
    }
    case KeyKind::Virtual:
      user::pressDeviceKey(key.virtualKey);
      break;
  }
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PanelState* state = stateOf(window);
  switch (message) {
    case WM_CREATE: {
      auto fresh = std::make_unique<PanelState>();
      fresh->font = makeFont();
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh.release()));
      return 0;
    }
    case WM_DESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete state;
      return 0;
    case WM_SETTINGCHANGE:
      if (!state) break;
      if (wParam == SETTINGCHANGE_RESET) {
        DeleteObject(state->font);
        state->font = makeFont();
      }
      if (wParam == SPI_SETSIPINFO || wParam == SETTINGCHANGE_RESET) followDevice(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (!state) break;
      paint(window, *state);
      return 0;
    case WM_LBUTTONDOWN: {
      if (!state) break;
      RECT client;
      GetClientRect(window, &client);
      const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      state->held = keyAt(client.right, client.bottom, at);
      if (state->held) strike(window, *state, *state->held);
      return 0;
    }
    case WM_LBUTTONUP:
      if (!state) break;
      state->held.reset();
      InvalidateRect(window, nullptr, FALSE);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND createInputPanel(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = panelProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  SIPINFO info{};
  info.cbSize = sizeof info;
  if (!SipGetInfo(&info)) return nullptr;
  const RECT& r = info.rcSipRect;
  HWND window = CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  if (window) followDevice(window);
  return window;
}

}  // namespace handheld::shell
