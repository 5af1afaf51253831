// The bar's window procedure: the toolbar's messages passed on, commands handed to the owner,
// text buttons dropping their menus above the bar, the input-panel button, the SHCMBM_
// messages, tooltips for the image buttons, and automation.
#include <aygshell.h>

#include "shellsvc/menubar/input_panel_link.h"
#include "shellsvc/menubar/menu_bar.h"
#include "shellsvc/menubar/owner_link.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::shellsvc {

using namespace user::controls;

namespace {

// The toolbar's messages a program may send to the bar; SHCMBM_ follow at WM_USER + 400.
bool isToolbarMessage(UINT message) { return message >= WM_USER && message < WM_USER + 400; }

bool changesButtons(UINT message) {
  return message == TB_ADDBUTTONSW || message == TB_INSERTBUTTONW || message == TB_DELETEBUTTON ||
         message == TB_SETBUTTONINFOW;
}

void layout(HWND bar, const MenuBarState& state) {
  const RECT r = menuBarRect();
  SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(bar, &client);
  if (state.toolbar)
    SetWindowPos(state.toolbar, nullptr, 0, 0, inputPanelButtonRect(bar).left, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(bar, nullptr, TRUE);
}

// A drop-down's menu opens above the bar with the button held down; the choice goes to the
// owner. The owner's answer may destroy the bar, so its state is read again afterwards.
LRESULT dropDown(HWND bar, const NMTOOLBARW& info) {
  MenuBarState* state = stateOf<MenuBarState>(bar);
  HMENU popup = popupOf(*state, info.iItem);
  if (!popup) return TBDDRET_TREATPRESSED;  // no menu: a plain button
  HWND toolbar = state->toolbar;
  const bool wasPressed = SendMessageW(toolbar, TB_ISBUTTONPRESSED, info.iItem, 0) != 0;
  state->openCommand = info.iItem;
  SendMessageW(toolbar, TB_PRESSBUTTON, info.iItem, TRUE);
  RECT button = info.rcButton;
  MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, button.left, barRect.top, state->owner, nullptr);
  if ((state = stateOf<MenuBarState>(bar))) {
    state->openCommand = -1;
    if (!wasPressed) SendMessageW(state->toolbar, TB_PRESSBUTTON, info.iItem, FALSE);
  }
  return TBDDRET_DEFAULT;
}

LRESULT setSubMenu(MenuBarState& state, int command, HMENU menu) {
  for (auto& [buttonCommand, popup] : state.popups)
    if (buttonCommand == command) return reinterpret_cast<LRESULT>(std::exchange(popup, menu));
  if (!menu || SendMessageW(state.toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) < 0) return 0;
  state.popups.emplace_back(command, menu);
  return 0;
}

void setTooltips(MenuBarState& state, WPARAM count, LPARAM texts) {
  state.programTips = reinterpret_cast<const LPCWSTR*>(texts);
  state.programTipCount = static_cast<int>(std::min<WPARAM>(count, 0x10000));
  mapTooltips(state);
}

void describe(const MenuBarState& state, nlohmann::json& out) {
  nlohmann::json buttons = nlohmann::json::array();
  const auto count = SendMessageW(state.toolbar, TB_BUTTONCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TBBUTTON b{};
    if (!SendMessageW(state.toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)) ||
        (b.fsStyle & TBSTYLE_SEP))
      continue;
    WCHAR text[128] = {};
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = text;
    info.cchText = 128;
    SendMessageW(state.toolbar, TB_GETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    // On the screen, so that automation can tap it.
    RECT r{};
    SendMessageW(state.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(state.toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    buttons.push_back({{"command", b.idCommand},
                       {"rect", {r.left, r.top, r.right - r.left, r.bottom - r.top}},
                       {"state", b.fsState},
                       {"text", strings::toUtf8(text)},
                       {"image", b.iBitmap},
                       {"menu", popupOf(state, b.idCommand) != nullptr}});
  }
  out["buttons"] = buttons;
  out["inputPanelButton"] = state.inputPanelButton;
  out["inputPanel"] = inputPanelShown();
  out["openMenu"] = state.openCommand;
}

void stylusDown(HWND bar, MenuBarState& state, POINT at) {
  const RECT panel = inputPanelButtonRect(bar);
  if (!state.inputPanelButton || !PtInRect(&panel, at)) return;
  state.inputPanelPressed = true;
  SetCapture(bar);
  InvalidateRect(bar, &panel, TRUE);
}

void stylusUp(HWND bar, MenuBarState& state, POINT at) {
  const RECT panel = inputPanelButtonRect(bar);
  state.inputPanelPressed = false;
  ReleaseCapture();
  if (PtInRect(&panel, at)) showInputPanel(!inputPanelShown());
  InvalidateRect(bar, nullptr, TRUE);
}

LRESULT CALLBACK menuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<MenuBarState>(bar);
  MenuBarState* state = stateOf<MenuBarState>(bar);
  if (!state) return DefWindowProcW(bar, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      if (state->linked) unlinkFromOwner(bar, state->owner);
      state->linked = false;
      if (state->menu) DestroyMenu(state->menu);
      state->menu = nullptr;
      state->popups.clear();
      return 0;
    case WM_NCDESTROY:
      detachState<MenuBarState>(bar);
      return DefWindowProcW(bar, message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(bar, &ps);
      if (hdc) paintMenuBar(bar, hdc, *state);
      EndPaint(bar, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_COMMAND:
      // The toolbar's taps are the owner's commands.
      if (reinterpret_cast<HWND>(lParam) == state->toolbar && state->owner)
        SendMessageW(state->owner, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), reinterpret_cast<LPARAM>(bar));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && header->hwndFrom == state->toolbar && header->code == TBN_DROPDOWN)
        return dropDown(bar, *reinterpret_cast<const NMTOOLBARW*>(lParam));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      stylusDown(bar, *state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      if (state->inputPanelPressed) stylusUp(bar, *state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (state->inputPanelPressed && reinterpret_cast<HWND>(lParam) != bar) {
        state->inputPanelPressed = false;
        InvalidateRect(bar, nullptr, TRUE);
      }
      return 0;
    case WM_SETTINGCHANGE:
      // The screen turned, or the input panel went up or down.
      layout(bar, *state);
      return 0;
    case SHCMBM_GETMENU:
      return reinterpret_cast<LRESULT>(state->menu);
    case SHCMBM_GETSUBMENU:
      return reinterpret_cast<LRESULT>(popupOf(*state, static_cast<int>(lParam)));
    case SHCMBM_SETSUBMENU:
      return setSubMenu(*state, static_cast<int>(wParam), reinterpret_cast<HMENU>(lParam));
    case TB_SETTOOLTIPS:
      if (!lParam) return SendMessageW(state->toolbar, message, wParam, lParam);
      setTooltips(*state, wParam, lParam);
      return 0;
    case WM_AUTOMATION_STATE:
      describe(*state, automationStateOf(lParam));
      return 0;
    default:
      if (isToolbarMessage(message) && state->toolbar) {
        const LRESULT result = SendMessageW(state->toolbar, message, wParam, lParam);
        if (changesButtons(message) && (state = stateOf<MenuBarState>(bar))) mapTooltips(*state);
        return result;
      }
      return DefWindowProcW(bar, message, wParam, lParam);
  }
}

}  // namespace

HMENU popupOf(const MenuBarState& state, int command) {
  for (const auto& [buttonCommand, popup] : state.popups)
    if (buttonCommand == command) return popup;
  return nullptr;
}

void mapTooltips(MenuBarState& state) {
  if (!state.programTips || !state.toolbar) return;
  state.toolbarTips.clear();
  int next = 0;
  const auto count = SendMessageW(state.toolbar, TB_BUTTONCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TBBUTTON b{};
    SendMessageW(state.toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    if (b.fsStyle & TBSTYLE_SEP) continue;
    // Text buttons carry menus and never a tooltip; the program's texts go to the images.
    const bool image = b.iBitmap >= 0;
    state.toolbarTips.push_back(image && next < state.programTipCount ? state.programTips[next] : nullptr);
    if (image) ++next;
  }
  const size_t entries = state.toolbarTips.size();
  state.toolbarTips.push_back(nullptr);  // never an empty list: NULL would name a tooltip window
  SendMessageW(state.toolbar, TB_SETTOOLTIPS, entries, reinterpret_cast<LPARAM>(state.toolbarTips.data()));
}

int menuBarHeight() { return 26 * lineWidth(); }

RECT menuBarRect() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  return {0, height - menuBarHeight(), width, height};
}

RECT inputPanelButtonRect(HWND bar) {
  RECT client{};
  GetClientRect(bar, &client);
  const MenuBarState* state = stateOf<MenuBarState>(bar);
  const int width = state && state->inputPanelButton ? menuBarHeight() : 0;
  return {client.right - width, 0, client.right, client.bottom};
}

WNDCLASSW menuBarClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = menuBarProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = kMenuBarClass;
  return c;
}

}  // namespace handheld::shellsvc
