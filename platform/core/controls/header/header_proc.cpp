// The header's window procedure: its items, layout, hit testing, the stylus and HDN_ITEMCLICK.
#include <algorithm>

#include "controls/header/header.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

bool validIndex(const HeaderState& state, WPARAM index) { return index < state.items.size(); }

void redraw(HWND header) { InvalidateRect(header, nullptr, FALSE); }

// Copies at most capacity - 1 characters and a terminator; nothing without room.
void copyText(const std::u16string& text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return;
  const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::copy_n(text.data(), count, buffer);
  buffer[count] = u'\0';
}

void applyItem(HeaderItem& item, const HDITEMW& given) {
  if (given.mask & HDI_WIDTH) item.width = std::max(0, given.cxy);
  if (given.mask & HDI_TEXT) item.text = given.pszText ? std::u16string(given.pszText) : std::u16string();
  if (given.mask & HDI_FORMAT) item.format = given.fmt;
  if (given.mask & HDI_LPARAM) item.lParam = given.lParam;
}

LRESULT insertItem(HWND header, HeaderState& state, WPARAM at, const HDITEMW* given) {
  if (!given) return -1;
  HeaderItem item;
  applyItem(item, *given);
  const size_t index = std::min<size_t>(at, state.items.size());
  state.items.insert(state.items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  if (state.pressed >= static_cast<int>(index)) ++state.pressed;
  redraw(header);
  return static_cast<LRESULT>(index);
}

LRESULT getItem(const HeaderState& state, WPARAM index, HDITEMW* out) {
  if (!out || !validIndex(state, index)) return FALSE;
  const HeaderItem& item = state.items[index];
  if (out->mask & HDI_WIDTH) out->cxy = item.width;
  if (out->mask & HDI_TEXT) copyText(item.text, out->pszText, out->cchTextMax);
  if (out->mask & HDI_FORMAT) out->fmt = item.format;
  if (out->mask & HDI_LPARAM) out->lParam = item.lParam;
  return TRUE;
}

int itemAt(HWND header, const HeaderState& state, POINT p) {
  RECT client;
  GetClientRect(header, &client);
  if (p.y < 0 || p.y >= client.bottom) return -1;
  for (size_t i = 0; i < state.items.size(); ++i) {
    RECT r = headerItemRect(header, state, static_cast<int>(i));
    if (p.x >= r.left && p.x < r.right) return static_cast<int>(i);
  }
  return -1;
}

LRESULT hitTest(HWND header, const HeaderState& state, HDHITTESTINFO* info) {
  if (!info) return -1;
  RECT client;
  GetClientRect(header, &client);
  info->iItem = itemAt(header, state, info->pt);
  info->flags = info->iItem >= 0 ? HHT_ONHEADER : 0;
  if (info->pt.y < 0) info->flags |= HHT_ABOVE;
  if (info->pt.y >= client.bottom) info->flags |= HHT_BELOW;
  if (info->pt.x < 0) info->flags |= HHT_TOLEFT;
  if (info->pt.x >= client.right) info->flags |= HHT_TORIGHT;
  if (!info->flags) info->flags = HHT_NOWHERE;
  return info->iItem;
}

LRESULT layout(HWND header, const HeaderState& state, HDLAYOUT* place) {
  if (!place || !place->prc || !place->pwpos) return FALSE;
  RECT& area = *place->prc;
  const int height = std::min<int>(headerHeight(header, state), std::max<int>(0, area.bottom - area.top));
  *place->pwpos = WINDOWPOS{header, nullptr, area.left, area.top, area.right - area.left, height, SWP_NOZORDER};
  area.top += height;
  return TRUE;
}

void setPressed(HWND header, HeaderState& state, bool onIt) {
  if (state.stylusOnPressed == onIt) return;
  state.stylusOnPressed = onIt;
  redraw(header);
}

LRESULT stylusUp(HWND header, HeaderState& state, POINT p) {
  const int pressed = state.pressed;
  if (pressed < 0) return 0;
  const bool click = itemAt(header, state, p) == pressed;
  state.pressed = -1;
  state.stylusOnPressed = false;
  redraw(header);
  if (GetCapture() == header) ReleaseCapture();
  if (click) {
    NMHEADERW notice{};
    notice.iItem = pressed;
    notice.iButton = 0;
    notifyParent(header, notice.hdr, HDN_ITEMCLICKW);
  }
  return 0;
}

void describe(const HeaderState& state, nlohmann::json& out) {
  auto items = nlohmann::json::array();
  for (const HeaderItem& item : state.items) {
    nlohmann::json sort = nullptr;
    if (item.format & HDF_SORTUP) sort = "up";
    if (item.format & HDF_SORTDOWN) sort = "down";
    items.push_back({{"text", strings::toUtf8(item.text)}, {"width", item.width}, {"sort", sort}});
  }
  out["items"] = std::move(items);
}

LRESULT paint(HWND header, const HeaderState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(header, &ps);
  if (hdc) paintHeader(header, hdc, state);
  EndPaint(header, &ps);
  return 0;
}

LRESULT CALLBACK headerProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<HeaderState>(header);
  HeaderState* state = stateOf<HeaderState>(header);
  if (!state) return DefWindowProcW(header, message, wParam, lParam);
  const POINT stylus{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCDESTROY:
      detachState<HeaderState>(header);
      return DefWindowProcW(header, message, wParam, lParam);
    case WM_PAINT:
      return paint(header, *state);
    case WM_ERASEBKGND:
      return TRUE;  // painting covers it all
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(header);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
      redraw(header);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!(GetWindowLongW(header, GWL_STYLE) & HDS_BUTTONS)) return 0;
      const int index = itemAt(header, *state, stylus);
      if (index < 0) return 0;
      state->pressed = index;
      state->stylusOnPressed = false;
      setPressed(header, *state, true);
      SetCapture(header);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (state->pressed >= 0) setPressed(header, *state, itemAt(header, *state, stylus) == state->pressed);
      return 0;
    case WM_LBUTTONUP:
      return stylusUp(header, *state, stylus);
    case WM_CAPTURECHANGED:
      if (state->pressed >= 0 && reinterpret_cast<HWND>(lParam) != header) {
        state->pressed = -1;
        state->stylusOnPressed = false;
        redraw(header);
      }
      return 0;
    case HDM_GETITEMCOUNT:
      return static_cast<LRESULT>(state->items.size());
    case HDM_INSERTITEMW:
      return insertItem(header, *state, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
      if (!validIndex(*state, wParam)) return FALSE;
      state->items.erase(state->items.begin() + static_cast<std::ptrdiff_t>(wParam));
      state->pressed = -1;
      redraw(header);
      return TRUE;
    case HDM_GETITEMW:
      return getItem(*state, wParam, reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW: {
      const auto* given = reinterpret_cast<const HDITEMW*>(lParam);
      if (!given || !validIndex(*state, wParam)) return FALSE;
      applyItem(state->items[wParam], *given);
      redraw(header);
      return TRUE;
    }
    case HDM_LAYOUT:
      return layout(header, *state, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST:
      return hitTest(header, *state, reinterpret_cast<HDHITTESTINFO*>(lParam));
    case HDM_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || !validIndex(*state, wParam)) return FALSE;
      *out = headerItemRect(header, *state, static_cast<int>(wParam));
      return TRUE;
    }
    case WM_AUTOMATION_STATE:
      describe(*state, automationStateOf(lParam));
      return 0;
    default:
      return DefWindowProcW(header, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW headerClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = headerProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = WC_HEADERW;
  return c;
}

}  // namespace handheld::controls
