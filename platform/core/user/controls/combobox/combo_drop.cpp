// Dropping the list below the field (above it when the screen ends first), closing it with
// the notifications in the platform's order, and the field following the list's selection.
#include <algorithm>
#include <string>

#include "user/controls/combobox/combo_box.h"
#include "user/controls/control_support.h"
#include "user/controls/listbox/list_box.h"

namespace handheld::user::controls {

namespace {

int listCount(const ComboBoxState& state) { return static_cast<int>(SendMessageW(state.list, LB_GETCOUNT, 0, 0)); }

// The dropped list on the screen: as many rows as it has items, up to the height asked for.
RECT listRect(HWND combo, const ComboBoxState& state) {
  RECT window{};
  GetWindowRect(combo, &window);
  const int width = std::max<int>(window.right - window.left, state.droppedWidth);
  const int border = lineWidth();
  const int row = std::max(1, static_cast<int>(SendMessageW(state.list, LB_GETITEMHEIGHT, 0, 0)));
  const int fit = std::max(1, (state.listHeight - 2 * border) / row);
  int height = std::clamp(listCount(state), 1, fit) * row + 2 * border;
  if ((GetWindowLongW(combo, GWL_STYLE) & CBS_NOINTEGRALHEIGHT) && listCount(state) >= fit)
    height = std::max(height, state.listHeight);
  int top = window.top + state.fieldHeight;
  if (top + height > GetSystemMetrics(SM_CYSCREEN) && window.top - height >= 0) top = window.top - height;
  return {window.left, top, window.left + width, top + height};
}

std::u16string selectedText(const ComboBoxState& state) {
  const LRESULT index = SendMessageW(state.list, LB_GETCURSEL, 0, 0);
  if (index < 0) return {};
  const LRESULT length = SendMessageW(state.list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  SendMessageW(state.list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

ComboKind comboKind(HWND combo) {
  switch (GetWindowLongW(combo, GWL_STYLE) & 3) {
    case CBS_SIMPLE: return ComboKind::Simple;
    case CBS_DROPDOWNLIST: return ComboKind::DropDownList;
    default: return ComboKind::DropDown;
  }
}

RECT droppedRect(HWND combo, const ComboBoxState& state) {
  RECT window{};
  GetWindowRect(combo, &window);
  if (comboKind(combo) == ComboKind::Simple) return window;
  return {window.left, window.top, window.left + std::max<int>(window.right - window.left, state.droppedWidth),
          window.top + state.fieldHeight + state.listHeight};
}

void showSelection(HWND combo, ComboBoxState& state) {
  const std::u16string text = selectedText(state);
  if (state.edit) {
    fillEdit(combo, state, text);
  } else {
    DefWindowProcW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  InvalidateRect(combo, nullptr, FALSE);
}

void layOut(HWND combo, ComboBoxState& state) {
  RECT client{};
  GetClientRect(combo, &client);
  const int unit = lineWidth();
  const bool simple = comboKind(combo) == ComboKind::Simple;
  if (state.edit) {
    const int right = client.right - (simple ? 0 : buttonWidth()) - unit;
    MoveWindow(state.edit, 2 * unit, 2 * unit, std::max(0, right - 3 * unit), std::max(0, state.fieldHeight - 4 * unit),
               TRUE);
  }
  if (simple && state.list)
    MoveWindow(state.list, 0, state.fieldHeight, client.right, std::max(0, static_cast<int>(client.bottom) - state.fieldHeight),
               TRUE);
}

void dropList(HWND combo) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state || state->dropped || !state->list || comboKind(combo) == ComboKind::Simple) return;
  notifyParent(combo, CBN_DROPDOWN);
  state = stateOf<ComboBoxState>(combo);  // the parent may have ended it
  if (!state || state->dropped) return;
  const RECT r = listRect(combo, *state);
  state->selectionAtDrop = static_cast<int>(SendMessageW(state->list, LB_GETCURSEL, 0, 0));
  state->dropped = true;
  SetWindowPos(state->list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (state->selectionAtDrop >= 0) SendMessageW(state->list, LB_SETCARETINDEX, static_cast<WPARAM>(state->selectionAtDrop), 0);
  SetCapture(state->list);
  InvalidateRect(combo, nullptr, FALSE);
}

void closeList(HWND combo, bool accepted, bool quietly) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state || !state->dropped) return;
  state->dropped = false;
  if (!accepted && !quietly &&
      SendMessageW(state->list, LB_GETCURSEL, 0, 0) != state->selectionAtDrop) {
    // Cancelled: the selection the list had when it dropped comes back.
    SendMessageW(state->list, LB_SETCURSEL, static_cast<WPARAM>(state->selectionAtDrop), 0);
    showSelection(combo, *state);
  }
  ShowWindow(state->list, SW_HIDE);
  if (GetCapture() == state->list) ReleaseCapture();
  InvalidateRect(combo, nullptr, FALSE);
  if (!quietly) {
    notifyParent(combo, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(combo)) return;
  }
  notifyParent(combo, CBN_CLOSEUP);
}

bool comboKey(HWND combo, WPARAM key, bool fromEdit, bool alt) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state) return false;
  const bool dropDown = comboKind(combo) != ComboKind::Simple;
  alt = alt || keyHeld(VK_MENU);
  const bool toggle = (key == VK_F4 && !state->extendedUI) || (alt && (key == VK_DOWN || key == VK_UP)) ||
                      (key == VK_DOWN && state->extendedUI && !state->dropped);
  if (dropDown && toggle) {
    if (state->dropped) closeList(combo, true);
    else dropList(combo);
    return true;
  }
  if (state->dropped && (key == VK_RETURN || key == VK_ESCAPE)) {
    closeList(combo, key == VK_RETURN);
    return true;
  }
  const bool paging = key == VK_PRIOR || key == VK_NEXT;
  const bool moving = key == VK_HOME || key == VK_END || key == VK_LEFT || key == VK_RIGHT;
  if (key == VK_UP || key == VK_DOWN || (paging && (!fromEdit || state->dropped)) || (moving && !fromEdit)) {
    SendMessageW(state->list, WM_KEYDOWN, key, 0);
    return true;
  }
  return false;
}

void comboFocusGained(HWND combo) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state || state->focused) return;
  state->focused = true;
  InvalidateRect(combo, nullptr, FALSE);
  notifyParent(combo, CBN_SETFOCUS);
}

void comboFocusLost(HWND combo) {
  closeList(combo, false);
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state || !state->focused) return;
  state->focused = false;
  InvalidateRect(combo, nullptr, FALSE);
  notifyParent(combo, CBN_KILLFOCUS);
}

void listNotified(HWND combo, WORD code) {
  auto* state = stateOf<ComboBoxState>(combo);
  if (!state) return;
  switch (code) {
    case LBN_SELCHANGE:
      showSelection(combo, *state);
      if (comboKind(combo) == ComboKind::Simple) {
        notifyParent(combo, CBN_SELENDOK);
        if (!IsWindow(combo)) return;
      }
      notifyParent(combo, CBN_SELCHANGE);
      break;
    case kListChosen: closeList(combo, true); break;
    case kListCancelled: closeList(combo, false); break;
    default: break;
  }
}

}  // namespace handheld::user::controls
