// The toolbar's window procedure: buttons and their states, stylus, tooltips, notifications.
#include "controls/toolbar/toolbar.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

constexpr UINT_PTR kHoldTimer = 1;

void redraw(HWND toolbar) { InvalidateRect(toolbar, nullptr, TRUE); }

bool valid(const ToolbarState& state, WPARAM index) {
  return static_cast<INT_PTR>(index) >= 0 && static_cast<INT_PTR>(index) < static_cast<INT_PTR>(state.buttons.size());
}

// TB_ENABLEBUTTON, TB_PRESSBUTTON, TB_HIDEBUTTON, TB_INDETERMINATE: one state bit by command.
LRESULT setBit(HWND toolbar, ToolbarState& state, WPARAM command, BYTE bit, bool on) {
  const int i = indexOfCommand(state, command);
  if (i < 0) return FALSE;
  BYTE& s = state.buttons[i].state;
  s = on ? static_cast<BYTE>(s | bit) : static_cast<BYTE>(s & ~bit);
  redraw(toolbar);
  return TRUE;
}

LRESULT hasBit(const ToolbarState& state, WPARAM command, BYTE bit) {
  const int i = indexOfCommand(state, command);
  return i >= 0 && (state.buttons[i].state & bit) ? TRUE : FALSE;
}

LRESULT getInfo(const ToolbarState& state, WPARAM id, TBBUTTONINFOW* info) {
  if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return -1;
  const int i = (info->dwMask & TBIF_BYINDEX) ? (valid(state, id) ? static_cast<int>(id) : -1) : indexOfCommand(state, id);
  if (i < 0) return -1;
  const ToolbarButton& b = state.buttons[i];
  if (info->dwMask & TBIF_COMMAND) info->idCommand = b.command;
  if (info->dwMask & TBIF_IMAGE) info->iImage = b.image;
  if (info->dwMask & TBIF_STATE) info->fsState = b.state;
  if (info->dwMask & TBIF_STYLE) info->fsStyle = b.style;
  if (info->dwMask & TBIF_LPARAM) info->lParam = b.data;
  if (info->dwMask & TBIF_SIZE) {
    const auto rects = buttonRects(state);
    info->cx = static_cast<WORD>(rects[i].right - rects[i].left);
  }
  if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
    const size_t n = std::min<size_t>(b.text.size(), static_cast<size_t>(info->cchText) - 1);
    std::copy_n(b.text.data(), n, info->pszText);
    info->pszText[n] = 0;
  }
  return i;
}

LRESULT setInfo(HWND toolbar, ToolbarState& state, WPARAM id, const TBBUTTONINFOW* info) {
  if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return FALSE;
  const int i = (info->dwMask & TBIF_BYINDEX) ? (valid(state, id) ? static_cast<int>(id) : -1) : indexOfCommand(state, id);
  if (i < 0) return FALSE;
  ToolbarButton& b = state.buttons[i];
  if (info->dwMask & TBIF_COMMAND) b.command = info->idCommand;
  if (info->dwMask & TBIF_IMAGE) b.image = info->iImage;
  if (info->dwMask & TBIF_STATE) b.state = info->fsState;
  if (info->dwMask & TBIF_STYLE) b.style = info->fsStyle;
  if (info->dwMask & TBIF_LPARAM) b.data = info->lParam;
  if (info->dwMask & TBIF_SIZE) b.width = info->cx;
  if (info->dwMask & TBIF_TEXT) b.text = info->pszText ? std::u16string(info->pszText) : std::u16string();
  redraw(toolbar);
  return TRUE;
}

// A drop-down asks its owner as the stylus goes down; TBDDRET_TREATPRESSED makes it a button.
bool dropDownHandled(HWND toolbar, const ToolbarState& state, int index) {
  NMTOOLBARW info{};
  info.iItem = state.buttons[index].command;
  info.tbButton = toTbButton(state.buttons[index]);
  info.rcButton = buttonRects(state)[index];
  return notifyParent(toolbar, info.hdr, TBN_DROPDOWN) != TBDDRET_TREATPRESSED;
}

void stylusDown(HWND toolbar, ToolbarState& state, POINT at) {
  const int index = buttonAt(state, at);
  if (index < 0 || !(state.buttons[index].state & TBSTATE_ENABLED)) return;
  if ((state.buttons[index].style & TBSTYLE_DROPDOWN) && dropDownHandled(toolbar, state, index)) return;
  ToolbarState* current = stateOf<ToolbarState>(toolbar);
  if (!current || !valid(*current, index)) return;
  current->pressed = index;
  current->inside = true;
  SetCapture(toolbar);
  SetTimer(toolbar, kHoldTimer, kHoldTimeMs, nullptr);
  redraw(toolbar);
}

void stylusUp(HWND toolbar, ToolbarState& state, POINT at) {
  const int index = state.pressed;
  state.pressed = -1;
  KillTimer(toolbar, kHoldTimer);
  hideTip(toolbar);
  ReleaseCapture();
  redraw(toolbar);
  if (!valid(state, index) || buttonAt(state, at) != index || !(state.buttons[index].state & TBSTATE_ENABLED)) return;
  ToolbarButton& b = state.buttons[index];
  if (b.style & TBSTYLE_CHECK) setChecked(state, index, (b.style & TBSTYLE_GROUP) || !(b.state & TBSTATE_CHECKED));
  HWND parent = GetParent(toolbar);
  if (parent)
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.command), 0), reinterpret_cast<LPARAM>(toolbar));
}

void cancelPress(HWND toolbar, ToolbarState& state) {
  if (state.pressed < 0) return;
  state.pressed = -1;
  KillTimer(toolbar, kHoldTimer);
  hideTip(toolbar);
  redraw(toolbar);
}

void describe(const ToolbarState& state, nlohmann::json& out) {
  nlohmann::json buttons = nlohmann::json::array();
  for (const auto& b : state.buttons) {
    if (b.style & TBSTYLE_SEP) continue;
    buttons.push_back({{"command", b.command}, {"state", b.state}, {"text", strings::toUtf8(b.text)}});
  }
  out["buttons"] = buttons;
}

LRESULT paint(HWND toolbar, const ToolbarState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(toolbar, &ps);
  if (hdc) paintToolbar(toolbar, hdc, state);
  EndPaint(toolbar, &ps);
  return 0;
}

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LRESULT CALLBACK toolbarProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<ToolbarState>(toolbar);
  ToolbarState* state = stateOf<ToolbarState>(toolbar);
  if (!state) return DefWindowProcW(toolbar, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      KillTimer(toolbar, kHoldTimer);
      if (state->ownTip && state->tipWindow && IsWindow(state->tipWindow)) DestroyWindow(state->tipWindow);
      if (auto* s = stateOf<ToolbarState>(toolbar)) s->tipWindow = nullptr;
      return 0;
    case WM_NCDESTROY:
      if (state->images) ImageList_Destroy(state->images);
      detachState<ToolbarState>(toolbar);
      return DefWindowProcW(toolbar, message, wParam, lParam);
    case WM_PAINT:
      return paint(toolbar, *state);
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(toolbar);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
    case WM_SIZE:
      redraw(toolbar);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      stylusDown(toolbar, *state, pointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (state->pressed >= 0) {
        const bool inside = buttonAt(*state, pointOf(lParam)) == state->pressed;
        if (inside != state->inside) {
          state->inside = inside;
          // Moving off the button before the hold time passes is no hold.
          if (!inside) {
            KillTimer(toolbar, kHoldTimer);
            hideTip(toolbar);
          }
          redraw(toolbar);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (state->pressed >= 0) stylusUp(toolbar, *state, pointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != toolbar) cancelPress(toolbar, *state);
      return 0;
    case WM_TIMER:
      if (wParam != kHoldTimer) return 0;
      KillTimer(toolbar, kHoldTimer);
      if (state->pressed >= 0 && state->inside) {
        const LONG style = GetWindowLongW(toolbar, GWL_STYLE);
        if ((style & TBSTYLE_TOOLTIPS) || state->tipTexts) showTip(toolbar, state->pressed);
      }
      return 0;
    case TB_BUTTONSTRUCTSIZE:
      state->structSize = static_cast<UINT>(wParam);
      return 0;
    case TB_ADDBITMAP: {
      const LRESULT first = addBitmap(*state, wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
      redraw(toolbar);
      return first;
    }
    case TB_SETBITMAPSIZE:
      if (LOWORD(lParam) == 0 || HIWORD(lParam) == 0 || state->images) return FALSE;
      state->bitmapSize = {LOWORD(lParam), HIWORD(lParam)};
      return TRUE;
    case TB_SETBUTTONSIZE:
      state->buttonSize = {LOWORD(lParam), HIWORD(lParam)};
      redraw(toolbar);
      return TRUE;
    case TB_GETBUTTONSIZE: {
      const auto rects = buttonRects(*state);
      for (size_t i = 0; i < rects.size(); ++i)
        if (!(state->buttons[i].style & TBSTYLE_SEP) && !(state->buttons[i].state & TBSTATE_HIDDEN))
          return MAKELONG(rects[i].right - rects[i].left, rects[i].bottom - rects[i].top);
      return MAKELONG(state->buttonSize.cx, state->buttonSize.cy);
    }
    case TB_ADDBUTTONSW:
    case TB_INSERTBUTTONW: {
      const bool adding = message == TB_ADDBUTTONSW;
      const auto* given = reinterpret_cast<const TBBUTTON*>(lParam);
      const int where = adding ? static_cast<int>(state->buttons.size()) : static_cast<int>(wParam);
      const size_t count = adding ? std::min<WPARAM>(wParam, 0x10000) : 1;
      if (adding ? !addButtons(*state, where, given, count)
                 : (static_cast<INT_PTR>(wParam) < 0 || !addButtons(*state, where, given, count)))
        return FALSE;
      redraw(toolbar);
      return TRUE;
    }
    case TB_DELETEBUTTON:
      if (!valid(*state, wParam)) return FALSE;
      cancelPress(toolbar, *state);
      state->buttons.erase(state->buttons.begin() + static_cast<INT_PTR>(wParam));
      redraw(toolbar);
      return TRUE;
    case TB_BUTTONCOUNT:
      return static_cast<LRESULT>(state->buttons.size());
    case TB_GETBUTTON: {
      auto* out = reinterpret_cast<TBBUTTON*>(lParam);
      if (!out || !valid(*state, wParam)) return FALSE;
      *out = toTbButton(state->buttons[wParam]);
      return TRUE;
    }
    case TB_COMMANDTOINDEX:
      return indexOfCommand(*state, wParam);
    case TB_ADDSTRINGW:
      return addStrings(*state, reinterpret_cast<HINSTANCE>(wParam), lParam);
    case TB_ENABLEBUTTON:
      return setBit(toolbar, *state, wParam, TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_PRESSBUTTON:
      return setBit(toolbar, *state, wParam, TBSTATE_PRESSED, LOWORD(lParam) != 0);
    case TB_HIDEBUTTON:
      return setBit(toolbar, *state, wParam, TBSTATE_HIDDEN, LOWORD(lParam) != 0);
    case TB_INDETERMINATE:
      return setBit(toolbar, *state, wParam, TBSTATE_INDETERMINATE, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON: {
      const int i = indexOfCommand(*state, wParam);
      if (i < 0) return FALSE;
      setChecked(*state, i, LOWORD(lParam) != 0);
      redraw(toolbar);
      return TRUE;
    }
    case TB_ISBUTTONENABLED:
      return hasBit(*state, wParam, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED:
      return hasBit(*state, wParam, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED:
      return hasBit(*state, wParam, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN:
      return hasBit(*state, wParam, TBSTATE_HIDDEN);
    case TB_ISBUTTONINDETERMINATE:
      return hasBit(*state, wParam, TBSTATE_INDETERMINATE);
    case TB_SETSTATE: {
      const int i = indexOfCommand(*state, wParam);
      if (i < 0) return FALSE;
      state->buttons[i].state = static_cast<BYTE>(LOWORD(lParam));
      redraw(toolbar);
      return TRUE;
    }
    case TB_GETSTATE: {
      const int i = indexOfCommand(*state, wParam);
      return i < 0 ? -1 : state->buttons[i].state;
    }
    case TB_GETBUTTONINFOW:
      return getInfo(*state, wParam, reinterpret_cast<TBBUTTONINFOW*>(lParam));
    case TB_SETBUTTONINFOW:
      return setInfo(toolbar, *state, wParam, reinterpret_cast<const TBBUTTONINFOW*>(lParam));
    case TB_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || !valid(*state, wParam)) return FALSE;
      *out = buttonRects(*state)[wParam];
      return TRUE;
    }
    case TB_AUTOSIZE:
      autoSize(toolbar, *state);
      return 0;
    case TB_SETTOOLTIPS:
      // An array of texts (the caller keeps it), or a tooltip window.
      if (lParam) {
        state->tipTexts = reinterpret_cast<const LPCWSTR*>(lParam);
        state->tipCount = static_cast<int>(std::min<WPARAM>(wParam, 0x10000));
      } else {
        if (state->ownTip && state->tipWindow && IsWindow(state->tipWindow)) DestroyWindow(state->tipWindow);
        if (!(state = stateOf<ToolbarState>(toolbar))) return 0;
        state->tipWindow = reinterpret_cast<HWND>(wParam);
        state->ownTip = false;
      }
      return 0;
    case TB_GETTOOLTIPS:
      return reinterpret_cast<LRESULT>(state->tipWindow);
    case WM_AUTOMATION_STATE:
      describe(*state, automationStateOf(lParam));
      return 0;
    default:
      return DefWindowProcW(toolbar, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW toolbarClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = toolbarProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = TOOLBARCLASSNAMEW;
  return c;
}

}  // namespace handheld::controls
