// The edit's window procedure: creation, text, focus and caret, stylus, keys, the clipboard
// messages, the window's scroll bars, and what automation reads.
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"
#include "user/controls/edit/edit.h"

namespace handheld::user::controls {

namespace {

LRESULT dialogCode(HWND edit, LPARAM lParam) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if ((editStyle(edit) & (ES_MULTILINE | ES_WANTRETURN)) != (ES_MULTILINE | ES_WANTRETURN)) return code;
  // Enter stays in the text; tab and escape still move through the dialog.
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  const bool enter = !message || (message->message == WM_KEYDOWN && message->wParam == VK_RETURN) ||
                     (message->message == WM_CHAR && message->wParam == u'\r');
  return enter ? code | DLGC_WANTALLKEYS : code;
}

LRESULT copyText(const EditState& state, WPARAM capacity, LPARAM buffer) {
  auto* out = reinterpret_cast<char16_t*>(buffer);
  if (!out || capacity == 0) return 0;
  const size_t count = std::min<size_t>(state.text.size(), capacity - 1);
  std::copy_n(state.text.data(), count, out);
  out[count] = 0;
  return static_cast<LRESULT>(count);
}

void scrollFromBar(HWND edit, EditState& state, bool vertical, WPARAM wParam) {
  notifyParent(edit, vertical ? EN_VSCROLL : EN_HSCROLL);
  EditState* alive = stateOf<EditState>(edit);
  if (alive != &state) return;
  const long long line = vertical ? 1 : state.averageWidth;
  const long long page = vertical ? visibleLineCount(state) : std::max<long long>(1, state.format.right - state.format.left);
  const long long now = vertical ? static_cast<long long>(state.firstLine) : state.scrollX;
  long long delta = 0;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: delta = -line; break;
    case SB_LINEDOWN: delta = line; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_TOP: delta = -now; break;
    case SB_BOTTOM: delta = 1LL << 40; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(edit, vertical ? SB_VERT : SB_HORZ, &info);
      delta = info.nTrackPos - now;
      break;
    }
    default: return;
  }
  if (vertical) scrollBy(edit, state, delta, 0);
  else scrollBy(edit, state, 0, delta);
}

void describe(HWND edit, const EditState& state, LPARAM lParam) {
  nlohmann::json& out = automationStateOf(lParam);
  out["text"] = strings::toUtf8(shownText(edit, state));
  out["selection"] = {state.selectionStart(), state.selectionEnd()};
  out["modified"] = state.modified;
  out["readOnly"] = (editStyle(edit) & ES_READONLY) != 0;
  out["lineCount"] = isMultiLine(edit) ? state.lines.count() : 1;
  out["firstVisibleLine"] = isMultiLine(edit) ? state.firstLine : 0;
}

LRESULT paint(HWND edit, const EditState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(edit, &ps);
  if (hdc) paintEdit(edit, hdc, state);
  EndPaint(edit, &ps);
  return 0;
}

LRESULT create(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = attachState<EditState>(edit);
  state->leftMargin = state->rightMargin = 2 * lineWidth();
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  if (!create) return DefWindowProcW(edit, message, wParam, lParam);
  if (create->lpszName && !IS_INTRESOURCE(create->lpszName)) {
    state->text = create->lpszName;
    convertCase(edit, state->text);
  }
  // The edit keeps its text itself: a password stays out of the window's own record.
  CREATESTRUCTW withoutText = *create;
  withoutText.lpszName = nullptr;
  return DefWindowProcW(edit, message, wParam, reinterpret_cast<LPARAM>(&withoutText));
}

// A caret one line wide and as high as the font's lines.
void makeCaret(HWND edit, const EditState& state) {
  CreateCaret(edit, nullptr, lineWidth(), state.lineHeight);
  placeCaret(edit, state);
  ShowCaret(edit);
}

void takeFocus(HWND edit, EditState& state) {
  state.focused = true;
  makeCaret(edit, state);
  redraw(edit);
  notifyParent(edit, EN_SETFOCUS);
}

void loseFocus(HWND edit, EditState& state) {
  state.focused = false;
  state.pendingHigh = 0;
  if (state.tracking) {
    editStopTracking(edit, state);
    ReleaseCapture();
  }
  DestroyCaret();
  redraw(edit);
  notifyParent(edit, EN_KILLFOCUS);
}

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return create(edit, message, wParam, lParam);
  EditState* state = stateOf<EditState>(edit);
  if (!state) return DefWindowProcW(edit, message, wParam, lParam);
  bool handled = false;
  const LRESULT answer = editMessage(edit, *state, message, wParam, lParam, handled);
  if (handled) return answer;
  const bool readOnly = (editStyle(edit) & ES_READONLY) != 0;
  switch (message) {
    case WM_NCDESTROY:
      detachState<EditState>(edit);
      return DefWindowProcW(edit, message, wParam, lParam);
    case WM_CREATE:
      refreshMetrics(edit, *state);
      return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
      relayout(edit, *state);
      return 0;
    case WM_GETDLGCODE:
      return dialogCode(edit, lParam);
    case WM_PAINT:
      return paint(edit, *state);
    case WM_ERASEBKGND:
      return TRUE;  // painting covers it all
    case WM_SETTEXT:
      setEditText(edit, *state, reinterpret_cast<const char16_t*>(lParam));
      return TRUE;
    case WM_GETTEXT:
      return copyText(*state, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(state->text.size());
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      refreshMetrics(edit, *state);
      if (state->focused) makeCaret(edit, *state);  // of the new height
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ENABLE:
      redraw(edit);
      return 0;
    case WM_SETFOCUS:
      takeFocus(edit, *state);
      return 0;
    case WM_KILLFOCUS:
      loseFocus(edit, *state);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != edit) {
        SetFocus(edit);
        state = stateOf<EditState>(edit);  // the focus notification may have ended it
        if (!state || GetFocus() != edit) return 0;
      }
      editStylusDown(edit, *state, pointOf(lParam), message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      editStylusMove(edit, *state, pointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      editStylusUp(edit, *state);
      return 0;
    case WM_CAPTURECHANGED:
      if (state->tracking && reinterpret_cast<HWND>(lParam) != edit) editStopTracking(edit, *state);
      return 0;
    case WM_TIMER:
      if (wParam == kEditAutoScrollTimer) editAutoScroll(edit, *state);
      return 0;
    case WM_KEYDOWN:
      editKeyDown(edit, *state, wParam);
      return 0;
    case WM_CHAR:
      editChar(edit, *state, static_cast<char16_t>(wParam));
      return 0;
    case WM_CUT:
      cutSelection(edit, *state);
      return 0;
    case WM_COPY:
      copySelection(edit, *state);
      return 0;
    case WM_PASTE:
      pasteClipboard(edit, *state);
      return 0;
    case WM_CLEAR:
      clearSelection(edit, *state);
      return 0;
    case WM_UNDO:
      return !readOnly && undoLast(edit, *state);
    case WM_VSCROLL:
    case WM_HSCROLL:
      scrollFromBar(edit, *state, message == WM_VSCROLL, wParam);
      return 0;
    case WM_AUTOMATION_STATE:
      describe(edit, *state, lParam);
      return 0;
    default:
      return DefWindowProcW(edit, message, wParam, lParam);
  }
}

}  // namespace

WNDCLASSW editClass() {
  WNDCLASSW c{};
  c.style = CS_DBLCLKS | CS_PARENTDC;
  c.lpfnWndProc = editProc;
  c.cbWndExtra = kStateExtraBytes;
  c.lpszClassName = u"EDIT";
  return c;
}

}  // namespace handheld::user::controls
