// The tab control's window procedure: items, selection, stylus and keys, notifications.
#include <algorithm>

#include "controls/tab/tab.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"

namespace handheld::controls {

using namespace user::controls;

namespace {

int count(const TabState& state) { return static_cast<int>(state.items.size()); }
bool valid(const TabState& state, WPARAM index) { return static_cast<INT_PTR>(index) >= 0 && static_cast<INT_PTR>(index) < count(state); }

void redraw(HWND tab) { InvalidateRect(tab, nullptr, TRUE); }

void setFields(TabItem& item, const TCITEMW& given) {
  if (given.mask & TCIF_TEXT) item.text = given.pszText ? std::u16string(given.pszText) : std::u16string();
  if (given.mask & TCIF_IMAGE) item.image = given.iImage;
  if (given.mask & TCIF_PARAM) item.param = given.lParam;
  if (given.mask & TCIF_STATE) item.state = (item.state & ~given.dwStateMask) | (given.dwState & given.dwStateMask);
}

LRESULT insertItem(HWND tab, TabState& state, WPARAM where, const TCITEMW* given) {
  if (!given || static_cast<INT_PTR>(where) < 0) return -1;
  const int index = std::min<int>(static_cast<int>(std::min<WPARAM>(where, INT32_MAX)), count(state));
  TabItem item;
  setFields(item, *given);
  state.items.insert(state.items.begin() + index, std::move(item));
  // The first tab is selected; later ones keep the selected tab selected.
  if (state.selected < 0 && count(state) == 1) state.selected = 0;
  else if (state.selected >= index) ++state.selected;
  if (state.focusItem >= index) ++state.focusItem;
  if (state.focusItem < 0) state.focusItem = state.selected;
  redraw(tab);
  return index;
}

LRESULT deleteItem(HWND tab, TabState& state, WPARAM index) {
  if (!valid(state, index)) return FALSE;
  const int i = static_cast<int>(index);
  state.items.erase(state.items.begin() + i);
  auto shift = [i](int& at) {
    if (at == i) at = -1;
    else if (at > i) --at;
  };
  shift(state.selected);
  shift(state.focusItem);
  redraw(tab);
  return TRUE;
}

LRESULT getItem(const TabState& state, WPARAM index, TCITEMW* out) {
  if (!out || !valid(state, index)) return FALSE;
  const TabItem& item = state.items[index];
  if (out->mask & TCIF_TEXT) {
    if (!out->pszText || out->cchTextMax <= 0) return FALSE;
    const size_t n = std::min<size_t>(item.text.size(), static_cast<size_t>(out->cchTextMax) - 1);
    std::copy_n(item.text.data(), n, out->pszText);
    out->pszText[n] = 0;
  }
  if (out->mask & TCIF_IMAGE) out->iImage = item.image;
  if (out->mask & TCIF_PARAM) out->lParam = item.param;
  if (out->mask & TCIF_STATE) out->dwState = item.state & out->dwStateMask;
  return TRUE;
}

// TCM_SETCURSEL: no notification. Returns the previous selection, -1 for a bad index.
LRESULT setSelection(HWND tab, TabState& state, WPARAM index) {
  if (!valid(state, index)) return -1;
  const int previous = state.selected;
  state.selected = state.focusItem = static_cast<int>(index);
  if (previous != state.selected) redraw(tab);
  return previous;
}

// A person's choice: the parent may refuse it, and may destroy the control meanwhile.
void choose(HWND tab, int index) {
  TabState* state = stateOf<TabState>(tab);
  if (!state || index < 0 || index >= count(*state)) return;
  if (index == state->selected) {
    state->focusItem = index;
    return;
  }
  NMHDR header{};
  if (notifyParent(tab, header, TCN_SELCHANGING) != 0) return;
  state = stateOf<TabState>(tab);
  if (!state || index >= count(*state)) return;
  state->selected = state->focusItem = index;
  redraw(tab);
  NMHDR changed{};
  notifyParent(tab, changed, TCN_SELCHANGE);
}

void keyDown(HWND tab, TabState& state, WPARAM key, LPARAM lParam) {
  NMTCKEYDOWN down{};
  down.wVKey = static_cast<WORD>(key);
  down.flags = static_cast<UINT>(HIWORD(lParam));
  notifyParent(tab, down.hdr, TCN_KEYDOWN);
  TabState* current = stateOf<TabState>(tab);
  if (!current || current != &state || state.items.empty()) return;
  const int from = state.selected < 0 ? 0 : state.selected;
  int to = from;
  switch (key) {
    case VK_LEFT: to = std::max(0, from - 1); break;
    case VK_RIGHT: to = std::min(count(state) - 1, from + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count(state) - 1; break;
    default: return;
  }
  if (to != state.selected) choose(tab, to);
}

void describe(const TabState& state, nlohmann::json& out) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : state.items) items.push_back(strings::toUtf8(item.text));
  out["items"] = items;
  out["selection"] = state.selected;
}

LRESULT paint(HWND tab, const TabState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(tab, &ps);
  if (hdc) paintTabs(tab, hdc, state);
  EndPaint(tab, &ps);
  return 0;
}

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LRESULT CALLBACK tabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) attachState<TabState>(tab);
  TabState* state = stateOf<TabState>(tab);
  if (!state) return DefWindowProcW(tab, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      detachState<TabState>(tab);
      return DefWindowProcW(tab, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_PAINT:
      return paint(tab, *state);
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) redraw(tab);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
    case WM_SIZE:
    case WM_STYLECHANGED:  // TCS_BOTTOM given after creation moves the row
      redraw(tab);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      state->focused = message == WM_SETFOCUS;
      redraw(tab);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int hit = tabHitTest(tab, *state, pointOf(lParam));
      if (!(GetWindowLongW(tab, GWL_STYLE) & TCS_FOCUSNEVER)) SetFocus(tab);
      if (!stateOf<TabState>(tab)) return 0;
      SetCapture(tab);
      if (auto* s = stateOf<TabState>(tab)) s->tracking = true;
      choose(tab, hit);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!state->tracking) return 0;
      state->tracking = false;
      ReleaseCapture();
      RECT client{};
      GetClientRect(tab, &client);
      const POINT at = pointOf(lParam);
      if (IsWindow(tab) && PtInRect(&client, at)) {
        NMHDR header{};
        notifyParent(tab, header, NM_CLICK);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != tab) state->tracking = false;
      return 0;
    case WM_KEYDOWN:
      keyDown(tab, *state, wParam, lParam);
      return 0;
    case TCM_GETITEMCOUNT:
      return count(*state);
    case TCM_INSERTITEMW:
      return insertItem(tab, *state, wParam, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_SETITEMW: {
      const auto* given = reinterpret_cast<const TCITEMW*>(lParam);
      if (!given || !valid(*state, wParam)) return FALSE;
      setFields(state->items[wParam], *given);
      redraw(tab);
      return TRUE;
    }
    case TCM_GETITEMW:
      return getItem(*state, wParam, reinterpret_cast<TCITEMW*>(lParam));
    case TCM_DELETEITEM:
      return deleteItem(tab, *state, wParam);
    case TCM_DELETEALLITEMS:
      state->items.clear();
      state->selected = state->focusItem = -1;
      redraw(tab);
      return TRUE;
    case TCM_GETCURSEL:
      return state->selected;
    case TCM_SETCURSEL:
      return setSelection(tab, *state, wParam);
    case TCM_GETCURFOCUS:
      return state->focusItem;
    case TCM_SETCURFOCUS:
      // Without TCS_BUTTONS the focused tab is the selected one, chosen as by a key.
      if (!valid(*state, wParam)) return 0;
      if (GetWindowLongW(tab, GWL_STYLE) & TCS_BUTTONS) {
        state->focusItem = static_cast<int>(wParam);
        redraw(tab);
      } else {
        choose(tab, static_cast<int>(wParam));
      }
      return 0;
    case TCM_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || !valid(*state, wParam)) return FALSE;
      *out = tabRects(tab, *state)[wParam];
      return TRUE;
    }
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!info) return -1;
      return tabHitTest(tab, *state, info->pt, &info->flags);
    }
    case TCM_ADJUSTRECT:
      if (lParam) adjustTabRect(tab, *state, wParam != 0, *reinterpret_cast<RECT*>(lParam));
      return 0;
    case TCM_SETIMAGELIST: {
      HIMAGELIST previous = state->images;
      state->images = reinterpret_cast<HIMAGELIST>(lParam);
      redraw(tab);
      return reinterpret_cast<LRESULT>(previous);
    }
    case TCM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(state->images);
    case WM_AUTOMATION_STATE:
      describe(*state, automationStateOf(lParam));
      return 0;
    default:
      return DefWindowProcW(tab, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW tabClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_PARENTDC;
  c.lpfnWndProc = tabProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = WC_TABCONTROLW;
  return c;
}

}  // namespace handheld::controls
