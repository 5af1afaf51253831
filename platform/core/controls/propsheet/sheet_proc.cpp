// The sheet's dialog procedure: pages, the tab control, the caption's "ok", the PSN_
// notifications to the pages and the PSM_ messages from them. Any notification may end the
// sheet (a page's owner may destroy it): each one is followed by a check that it lives.
#include "controls/propsheet/property_sheet.h"
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/dialogs/dialog_info.h"

namespace handheld::controls {

namespace {

Sheet* sheetOf(HWND sheet) { return reinterpret_cast<Sheet*>(GetWindowLongPtrW(sheet, DWLP_USER)); }

// Whether the sheet's window is still there; `state` is not touched.
bool alive(HWND sheet, const Sheet* state) { return IsWindow(sheet) && sheetOf(sheet) == state; }

INT_PTR answer(HWND sheet, LRESULT value) {
  SetWindowLongPtrW(sheet, DWLP_MSGRESULT, value);
  return TRUE;
}

LRESULT notifyPage(HWND sheet, HWND page, UINT code, LPARAM lParam = 0) {
  if (!page) return 0;
  PSHNOTIFY n{};
  n.hdr.hwndFrom = sheet;
  n.hdr.idFrom = 0;
  n.hdr.code = code;
  n.lParam = lParam;
  return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

HWND currentPage(const Sheet& state) {
  if (state.ended || state.current < 0) return nullptr;
  return state.pages[state.current].window;
}

void focusPage(HWND sheet, HWND page) {
  HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
  if (!first) return;
  if (IsWindowVisible(sheet))
    SetFocus(first);
  else  // taken when the sheet shows and is activated
    user::dialogs::changeDialog(sheet, [&](user::dialogs::DialogInfo& info) { info.lastFocus = first; });
}

// Makes `index` the current page: PSN_SETACTIVE, then shown. The old one is hidden.
void showPage(HWND sheet, Sheet& state, int index) {
  HWND page = pageWindow(state, index);
  if (!alive(sheet, &state)) return;
  HWND old = currentPage(state);
  state.current = index;
  SendMessageW(state.tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (old && old != page) ShowWindow(old, SW_HIDE);
  if (!page) return;
  notifyPage(sheet, page, PSN_SETACTIVE);
  if (!alive(sheet, &state) || !IsWindow(page)) return;
  ShowWindow(page, SW_SHOW);
  focusPage(sheet, page);
}

// PSN_KILLACTIVE to the current page: true when it lets go.
bool leaveCurrent(HWND sheet, Sheet& state, bool closing) {
  HWND page = currentPage(state);
  if (!page) return true;
  const LRESULT refused = notifyPage(sheet, page, PSN_KILLACTIVE, closing);
  return alive(sheet, &state) && refused == PSNRET_NOERROR;
}

bool selectPage(HWND sheet, Sheet& state, int index) {
  if (index < 0 || index >= static_cast<int>(state.pages.size())) return false;
  if (index == state.current) return true;
  if (!leaveCurrent(sheet, state, false)) return false;
  showPage(sheet, state, index);
  return true;
}

void close(HWND sheet, Sheet& state) {
  state.ended = true;
  if (state.modal)
    EndDialog(sheet, state.applied ? 1 : 0);
  else  // the owner destroys it once PSM_GETCURRENTPAGEHWND answers NULL
    ShowWindow(sheet, SW_HIDE);
}

// PSN_APPLY to every page made so far, in order. A page that answers PSNRET_INVALID is shown;
// PSNRET_INVALID_NOCHANGEPAGE keeps the current page. True when every page took it.
bool apply(HWND sheet, Sheet& state, bool closing) {
  const bool modal = state.modal;
  if (!leaveCurrent(sheet, state, closing)) return false;
  for (size_t i = 0; i < state.pages.size(); ++i) {
    HWND page = state.pages[i].window;
    if (!page) continue;
    const LRESULT result = notifyPage(sheet, page, PSN_APPLY, closing);
    if (!alive(sheet, &state)) {
      // The page's owner ended the sheet from its PSN_APPLY: the page applied.
      if (modal) state.applied = true;
      return false;
    }
    if (result == PSNRET_INVALID) {
      showPage(sheet, state, static_cast<int>(i));
      return false;
    }
    if (result == PSNRET_INVALID_NOCHANGEPAGE) return false;
    state.applied = true;
  }
  return true;
}

void pressOk(HWND sheet, Sheet& state) {
  if (state.ended) return;
  if (apply(sheet, state, true) && alive(sheet, &state)) close(sheet, state);
}

void cancel(HWND sheet, Sheet& state) {
  if (state.ended) return;
  const LRESULT refused = notifyPage(sheet, currentPage(state), PSN_QUERYCANCEL);
  if (!alive(sheet, &state) || refused) return;
  for (const auto& page : state.pages) {
    if (!page.window) continue;
    notifyPage(sheet, page.window, PSN_RESET);
    if (!alive(sheet, &state)) return;
  }
  close(sheet, state);
}

void help(HWND sheet, Sheet& state) {
  HWND page = currentPage(state);
  if (!page) return;
  const DWORD pageFlags = state.pages[state.current].handle->description()->dwFlags;
  if ((state.flags & PSH_HASHELP) || (pageFlags & PSP_HASHELP)) notifyPage(sheet, page, PSN_HELP);
}

void pressButton(HWND sheet, Sheet& state, WPARAM button) {
  switch (button) {
    case PSBTN_OK: pressOk(sheet, state); break;
    case PSBTN_APPLYNOW: apply(sheet, state, false); break;
    case PSBTN_CANCEL: cancel(sheet, state); break;
    case PSBTN_HELP: help(sheet, state); break;
    default: break;
  }
}

int indexOfHandle(const Sheet& state, HPROPSHEETPAGE handle) {
  for (size_t i = 0; i < state.pages.size(); ++i)
    if (handle && state.pages[i].handle == handle) return static_cast<int>(i);
  return -1;
}

void setTitle(HWND sheet, Sheet& state, WPARAM style, LPCWSTR text) {
  const std::u16string given = stringOrResource(state.instance, text);
  state.caption = (style & PSH_PROPTITLE) ? u"Properties for " + given : given;
  SetWindowTextW(sheet, state.caption.c_str());
  RECT strip{0, 0, 0, captionHeight()};
  GetClientRect(sheet, &strip);
  strip.bottom = captionHeight();
  InvalidateRect(sheet, &strip, TRUE);
}

void describe(const Sheet& state, nlohmann::json& out) {
  nlohmann::json titles = nlohmann::json::array();
  for (const auto& page : state.pages) titles.push_back(strings::toUtf8(page.handle ? page.handle->title : u""));
  out["pages"] = titles;
  out["selection"] = state.ended ? -1 : state.current;
}

void initialize(HWND sheet, Sheet& state) {
  state.window = sheet;
  if (state.made) *state.made = true;
  SetWindowLongPtrW(sheet, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  SetWindowPos(sheet, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(sheet, &client);
  state.tab = CreateWindowExW(0, WC_TABCONTROLW, u"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM | TCS_FOCUSNEVER, 0,
                              client.bottom, client.right, 0, sheet,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSheetTabId)), nullptr, nullptr);
  SendMessageW(state.tab, WM_SETFONT, static_cast<WPARAM>(SendMessageW(sheet, WM_GETFONT, 0, 0)), FALSE);
  RECT row{0, 0, 0, 0};
  SendMessageW(state.tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&row));
  const int height = row.bottom - row.top;
  MoveWindow(state.tab, 0, client.bottom - height, client.right, height, FALSE);
  for (size_t i = 0; i < state.pages.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::u16string title = state.pages[i].handle->title;
    item.pszText = title.data();
    SendMessageW(state.tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  for (size_t i = 0; i < state.pages.size(); ++i) {
    if (!(state.pages[i].handle->description()->dwFlags & PSP_PREMATURE)) continue;
    pageWindow(state, static_cast<int>(i));
    if (!alive(sheet, &state)) return;
  }
  showPage(sheet, state, state.startPage);
  if (!alive(sheet, &state)) return;
  if (state.callback) state.callback(sheet, PSCB_INITIALIZED, 0);
}

bool inOk(HWND sheet, LPARAM lParam) {
  const RECT ok = okRect(sheet);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&ok, at);
}

void redrawOk(HWND sheet) {
  const RECT ok = okRect(sheet);
  InvalidateRect(sheet, &ok, TRUE);
}

INT_PTR notified(HWND sheet, Sheet& state, const NMHDR* header) {
  if (!header || header->hwndFrom != state.tab) return FALSE;
  if (header->code == TCN_SELCHANGING) return answer(sheet, leaveCurrent(sheet, state, false) ? FALSE : TRUE);
  if (header->code == TCN_SELCHANGE) {
    const int index = static_cast<int>(SendMessageW(state.tab, TCM_GETCURSEL, 0, 0));
    showPage(sheet, state, index);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK sheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    initialize(sheet, *reinterpret_cast<Sheet*>(lParam));
    return FALSE;
  }
  Sheet* state = sheetOf(sheet);
  if (!state) return FALSE;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(sheet, &ps);
      if (hdc) paintSheetCaption(sheet, hdc, *state);
      EndPaint(sheet, &ps);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      if (inOk(sheet, lParam)) {
        state->okPressed = true;
        SetCapture(sheet);
        redrawOk(sheet);
      }
      return TRUE;
    case WM_LBUTTONUP:
      if (state->okPressed) {
        state->okPressed = false;
        ReleaseCapture();
        redrawOk(sheet);
        if (inOk(sheet, lParam)) pressOk(sheet, *state);
      }
      return TRUE;
    case WM_CAPTURECHANGED:
      if (state->okPressed && reinterpret_cast<HWND>(lParam) != sheet) {
        state->okPressed = false;
        redrawOk(sheet);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) pressOk(sheet, *state);
      else if (LOWORD(wParam) == IDCANCEL) cancel(sheet, *state);
      return TRUE;
    case WM_NOTIFY:
      return notified(sheet, *state, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY:
      releasePages(*state);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(sheet, DWLP_USER, 0);
      if (!state->modal) delete state;
      return FALSE;
    case PSM_SETCURSEL: {
      int index = indexOfHandle(*state, reinterpret_cast<HPROPSHEETPAGE>(lParam));
      if (!lParam) index = static_cast<int>(wParam);
      return answer(sheet, !state->ended && selectPage(sheet, *state, index));
    }
    case PSM_GETCURRENTPAGEHWND:
      return answer(sheet, reinterpret_cast<LRESULT>(currentPage(*state)));
    case PSM_GETTABCONTROL:
      return answer(sheet, reinterpret_cast<LRESULT>(state->tab));
    case PSM_CHANGED:
    case PSM_UNCHANGED:
      // They would enable an apply button; the handheld's sheets show none.
      return answer(sheet, 0);
    case PSM_PRESSBUTTON:
      pressButton(sheet, *state, wParam);
      if (alive(sheet, state)) answer(sheet, 0);
      return TRUE;
    case PSM_APPLY: {
      const bool accepted = !state->ended && apply(sheet, *state, false);
      if (alive(sheet, state)) answer(sheet, accepted);
      return TRUE;
    }
    case PSM_QUERYSIBLINGS:
      for (size_t i = 0; i < state->pages.size(); ++i) {
        HWND page = state->pages[i].window;
        if (!page) continue;
        const LRESULT result = SendMessageW(page, PSM_QUERYSIBLINGS, wParam, lParam);
        if (!alive(sheet, state)) return TRUE;
        if (result) return answer(sheet, result);
      }
      return answer(sheet, 0);
    case PSM_ISDIALOGMESSAGE: {
      auto* msg = reinterpret_cast<MSG*>(lParam);
      if (!msg) return answer(sheet, FALSE);
      HWND page = currentPage(*state);
      if (page && (msg->hwnd == page || IsChild(page, msg->hwnd)) && IsDialogMessageW(page, msg))
        return alive(sheet, state) ? answer(sheet, TRUE) : TRUE;
      const BOOL handled = IsDialogMessageW(sheet, msg);
      return alive(sheet, state) ? answer(sheet, handled) : TRUE;
    }
    case PSM_SETTITLEW:
      setTitle(sheet, *state, wParam, reinterpret_cast<LPCWSTR>(lParam));
      return answer(sheet, 0);
    case PSM_REBOOTSYSTEM:
    case PSM_RESTARTWINDOWS:
      state->restart |= message == PSM_REBOOTSYSTEM ? ID_PSREBOOTSYSTEM : ID_PSRESTARTWINDOWS;
      return answer(sheet, 0);
    case user::controls::WM_AUTOMATION_STATE:
      describe(*state, user::controls::automationStateOf(lParam));
      return answer(sheet, 0);
    default:
      return FALSE;
  }
}

}  // namespace handheld::controls
