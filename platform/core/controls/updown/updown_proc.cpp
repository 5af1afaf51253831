// The up-down's window procedure: range and position, the buddy, steps by stylus (repeating
// on a timer while held), keys and the accelerators, and the notifications.
#include <algorithm>
#include <string>

#include "controls/updown/up_down.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

namespace {

using user::controls::attachState;
using user::controls::detachState;
using user::controls::stateOf;

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kRepeatMs = 100;

LONG styleOf(HWND upDown) { return GetWindowLongW(upDown, GWL_STYLE); }
void redraw(HWND upDown) { InvalidateRect(upDown, nullptr, FALSE); }

int low(const UpDownState& s) { return std::min(s.lower, s.upper); }
int high(const UpDownState& s) { return std::max(s.lower, s.upper); }

std::u16string positionText(int position, bool thousands) {
  const bool negative = position < 0;
  long long value = negative ? -static_cast<long long>(position) : position;
  std::u16string digits;
  int count = 0;
  do {
    if (thousands && count > 0 && count % 3 == 0) digits.insert(digits.begin(), u',');
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
    ++count;
  } while (value > 0);
  return negative ? u"-" + digits : digits;
}

// The buddy's text as a number (group separators allowed); nothing when it is none.
std::optional<int> parsePosition(const std::u16string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  long long value = 0;
  bool any = false;
  for (; i < text.size(); ++i) {
    if (text[i] == u',') continue;
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > 0x7FFFFFFFLL) return std::nullopt;
    any = true;
  }
  if (!any) return std::nullopt;
  return static_cast<int>(negative ? -value : value);
}

bool buddyShowsNumber(HWND upDown, const UpDownState& state) {
  return state.buddy && (styleOf(upDown) & UDS_SETBUDDYINT);
}

void showInBuddy(HWND upDown, const UpDownState& state) {
  if (!buddyShowsNumber(upDown, state)) return;
  const std::u16string text = positionText(state.position, !(styleOf(upDown) & UDS_NOTHOUSANDS));
  SetWindowTextW(state.buddy, text.c_str());
}

// Takes the position from the buddy's text; false when that is no number of the range.
bool readBuddy(HWND upDown, UpDownState& state) {
  if (!buddyShowsNumber(upDown, state)) return true;
  auto value = parsePosition(user::controls::controlText(state.buddy));
  if (!value || *value < low(state) || *value > high(state)) return false;
  state.position = *value;
  return true;
}

LRESULT setPosition(HWND upDown, UpDownState& state, int position) {
  const int previous = state.position;
  state.position = std::clamp(position, low(state), high(state));
  showInBuddy(upDown, state);
  return previous;
}

// Places the up-down at the buddy's edge and narrows the buddy by its width.
void align(HWND upDown, const UpDownState& state) {
  const LONG style = styleOf(upDown);
  if (!state.buddy || !(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) return;
  HWND parent = GetParent(state.buddy);
  RECT buddy, own;
  GetWindowRect(state.buddy, &buddy);
  GetWindowRect(upDown, &own);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
  const int width = own.right - own.left, height = buddy.bottom - buddy.top;
  const int buddyWidth = std::max<int>(0, buddy.right - buddy.left - width);
  if (style & UDS_ALIGNRIGHT) {
    SetWindowPos(upDown, nullptr, buddy.right - width, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(state.buddy, nullptr, buddy.left, buddy.top, buddyWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(upDown, nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(state.buddy, nullptr, buddy.left + width, buddy.top, buddyWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT setBuddy(HWND upDown, UpDownState& state, HWND buddy) {
  HWND previous = state.buddy;
  if (previous) releaseBuddy(previous, upDown);
  state.buddy = IsWindow(buddy) ? buddy : nullptr;
  if (state.buddy && (styleOf(upDown) & UDS_ARROWKEYS)) subclassBuddy(state.buddy, upDown);
  align(upDown, state);
  return reinterpret_cast<LRESULT>(previous);
}

// The increment for a step taken `heldMs` after the press began.
int increment(const UpDownState& state, DWORD heldMs) {
  int inc = 1;
  for (const auto& accel : state.accels)
    if (heldMs >= accel.nSec * 1000u) inc = static_cast<int>(accel.nInc);
  return inc;
}

void tellParent(HWND upDown, int code, int position) {
  HWND parent = GetParent(upDown);
  if (!parent) return;
  const UINT message = (styleOf(upDown) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  SendMessageW(parent, message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(upDown));
}

// One step towards the upper end (direction +1) or the lower (-1), after the parent agreed.
void step(HWND upDown, UpDownState& state, int direction, int inc) {
  readBuddy(upDown, state);
  const int delta = direction * inc * (state.upper >= state.lower ? 1 : -1);
  NMUPDOWN change{};
  change.iPos = state.position;
  change.iDelta = delta;
  if (user::controls::notifyParent(upDown, change.hdr, UDN_DELTAPOS) != 0) return;
  UpDownState* again = stateOf<UpDownState>(upDown);
  if (!again) return;
  long long target = static_cast<long long>(again->position) + delta;
  if (target > high(*again) || target < low(*again)) {
    if (styleOf(upDown) & UDS_WRAP) {
      target = target > high(*again) ? low(*again) : high(*again);
    } else {
      target = std::clamp<long long>(target, low(*again), high(*again));
    }
  }
  if (target == again->position) return;
  setPosition(upDown, *again, static_cast<int>(target));
  tellParent(upDown, SB_THUMBPOSITION, again->position);
}

// +1 for the up (or right) arrow under the point, -1 for the other.
int arrowAt(HWND upDown, POINT point) {
  RECT client;
  GetClientRect(upDown, &client);
  if (styleOf(upDown) & UDS_HORZ) return point.x >= (client.right / 2) ? 1 : -1;
  return point.y < (client.bottom / 2) ? 1 : -1;
}

bool inside(HWND upDown, POINT point) {
  RECT client;
  GetClientRect(upDown, &client);
  return PtInRect(&client, point);
}

void endPress(HWND upDown, UpDownState& state) {
  if (!state.pressed) return;
  state.pressed = 0;
  KillTimer(upDown, kRepeatTimer);
  redraw(upDown);
}

void buttonDown(HWND upDown, POINT point) {
  UpDownState* state = stateOf<UpDownState>(upDown);
  if (!state || !IsWindowEnabled(upDown)) return;
  SetCapture(upDown);
  state->pressed = arrowAt(upDown, point);
  state->pressedInside = true;
  state->pressedSince = GetTickCount();
  redraw(upDown);
  SetTimer(upDown, kRepeatTimer, kFirstRepeatMs, nullptr);
  step(upDown, *state, state->pressed, increment(*state, 0));
}

void buttonUp(HWND upDown, UpDownState& state) {
  if (!state.pressed) return;
  endPress(upDown, state);
  ReleaseCapture();
  if (UpDownState* again = stateOf<UpDownState>(upDown)) tellParent(upDown, SB_ENDSCROLL, again->position);
}

// While held inside its arrow, the step repeats, growing with the accelerators.
void repeat(HWND upDown, UpDownState& state) {
  if (!state.pressed) {
    KillTimer(upDown, kRepeatTimer);
    return;
  }
  SetTimer(upDown, kRepeatTimer, kRepeatMs, nullptr);
  if (state.pressedInside) step(upDown, state, state.pressed, increment(state, GetTickCount() - state.pressedSince));
}

void describe(const UpDownState& state, nlohmann::json& out) {
  out["position"] = state.position;
  out["range"] = {state.lower, state.upper};
  out["buddy"] = state.buddy ? nlohmann::json(reinterpret_cast<uintptr_t>(state.buddy)) : nlohmann::json(nullptr);
}

LRESULT paint(HWND upDown, const UpDownState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(upDown, &ps);
  if (hdc) paintUpDown(upDown, hdc, state);
  EndPaint(upDown, &ps);
  return 0;
}

LRESULT CALLBACK upDownProc(HWND upDown, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<UpDownState>(upDown);
  UpDownState* state = stateOf<UpDownState>(upDown);
  if (!state) return DefWindowProcW(upDown, message, wParam, lParam);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_CREATE:
      if (styleOf(upDown) & UDS_AUTOBUDDY) setBuddy(upDown, *state, GetWindow(upDown, GW_HWNDPREV));
      return 0;
    case WM_DESTROY:
      KillTimer(upDown, kRepeatTimer);
      if (state->buddy) releaseBuddy(state->buddy, upDown);
      return 0;
    case WM_NCDESTROY:
      detachState<UpDownState>(upDown);
      return DefWindowProcW(upDown, message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_PAINT: return paint(upDown, *state);
    case WM_ERASEBKGND: return TRUE;  // painting covers it all
    case WM_ENABLE:
      if (!wParam) buttonUp(upDown, *state);
      redraw(upDown);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      state->focused = message == WM_SETFOCUS;
      redraw(upDown);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: buttonDown(upDown, point); return 0;
    case WM_MOUSEMOVE:
      if (state->pressed) {
        const bool now = inside(upDown, point) && arrowAt(upDown, point) == state->pressed;
        if (now != state->pressedInside) {
          state->pressedInside = now;
          redraw(upDown);
        }
      }
      return 0;
    case WM_LBUTTONUP: buttonUp(upDown, *state); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != upDown) endPress(upDown, *state);
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) repeat(upDown, *state);
      return 0;
    case WM_KEYDOWN:
      if ((styleOf(upDown) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN))
        step(upDown, *state, wParam == VK_UP ? 1 : -1, state->accels.empty() ? 1 : static_cast<int>(state->accels.front().nInc));
      return 0;
    case WM_KEYUP:
      if ((styleOf(upDown) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN))
        tellParent(upDown, SB_ENDSCROLL, state->position);
      return 0;
    case UDM_SETRANGE:
      state->upper = static_cast<short>(LOWORD(lParam));
      state->lower = static_cast<short>(HIWORD(lParam));
      setPosition(upDown, *state, state->position);
      return 0;
    case UDM_GETRANGE: return MAKELONG(static_cast<WORD>(state->upper), static_cast<WORD>(state->lower));
    case UDM_SETRANGE32:
      state->lower = static_cast<int>(wParam);
      state->upper = static_cast<int>(lParam);
      setPosition(upDown, *state, state->position);
      return 0;
    case UDM_GETRANGE32:
      if (auto* lower = reinterpret_cast<int*>(wParam)) *lower = state->lower;
      if (auto* upper = reinterpret_cast<int*>(lParam)) *upper = state->upper;
      return 0;
    case UDM_SETPOS: return static_cast<short>(setPosition(upDown, *state, static_cast<short>(LOWORD(lParam))));
    case UDM_SETPOS32: return setPosition(upDown, *state, static_cast<int>(lParam));
    case UDM_GETPOS: {
      const bool valid = readBuddy(upDown, *state);
      return MAKELONG(static_cast<WORD>(state->position), valid ? 0 : 1);
    }
    case UDM_GETPOS32: {
      const bool valid = readBuddy(upDown, *state);
      if (auto* error = reinterpret_cast<BOOL*>(lParam)) *error = valid ? FALSE : TRUE;
      return state->position;
    }
    case UDM_SETBUDDY: return setBuddy(upDown, *state, reinterpret_cast<HWND>(wParam));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(state->buddy);
    case UDM_SETACCEL: {
      const auto* accels = reinterpret_cast<const UDACCEL*>(lParam);
      if (!accels || wParam == 0 || wParam > 64) return FALSE;
      state->accels.assign(accels, accels + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      auto* out = reinterpret_cast<UDACCEL*>(lParam);
      if (out) std::copy_n(state->accels.begin(), std::min<size_t>(wParam, state->accels.size()), out);
      return static_cast<LRESULT>(state->accels.size());
    }
    case user::controls::WM_AUTOMATION_STATE:
      describe(*state, user::controls::automationStateOf(lParam));
      return 0;
    default: return DefWindowProcW(upDown, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW upDownClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = upDownProc;
  c.cbWndExtra = user::controls::kStateExtraBytes;
  c.lpszClassName = UPDOWN_CLASSW;
  return c;
}

}  // namespace handheld::controls
