// MessageBoxW: a modal "#32770" dialog without a template. Its procedure lays the box out,
// makes one push button per answer, paints the title, icon and text, and ends the loop with
// the answer of the button chosen.
#include "strings/utf.h"
#include "user/controls/automation_state.h"
#include "user/controls/control_support.h"
#include "user/dialogs/dialog_font.h"
#include "user/dialogs/dialog_info.h"
#include "user/dialogs/dialogs.h"
#include "user/dialogs/message_box.h"
#include "user/dialogs/title_band.h"

using namespace handheld;
using namespace handheld::user::dialogs;

namespace {

// Posted to itself once the loop runs (and the box shows) for MB_SETFOREGROUND.
constexpr UINT kBringForward = WM_USER + 0x100;

// Lives on MessageBoxW's stack for as long as the box does.
struct MessageBoxState {
  std::u16string text;
  std::u16string caption;
  UINT type = 0;
  MessageBoxKind kind;
  MessageBoxLayout layout;
  TitleFont titleFont;
  bool answered = false;
};

MessageBoxState* stateOf(HWND box) { return reinterpret_cast<MessageBoxState*>(GetWindowLongPtrW(box, DWLP_USER)); }

void layOut(MessageBoxState& state) {
  HFONT font = defaultDialogFont();
  const int titleHeight = state.titleFont.height();
  HDC hdc = GetDC(nullptr);  // measures only
  HGDIOBJ old = SelectObject(hdc, font);
  state.layout = layoutMessageBox(hdc, state.text, state.kind.icon != 0, state.kind.buttons.size(),
                                  baseUnits(font), titleHeight);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
}

// The mnemonic's '&' is markup, not part of what the button says.
std::u16string withoutMnemonic(const char16_t* text) {
  std::u16string plain;
  for (const char16_t* c = text; *c; ++c) {
    if (*c == u'&' && !*++c) break;  // "&&" is one '&'
    plain += *c;
  }
  return plain;
}

BOOL initialize(HWND box, MessageBoxState& state) {
  SetWindowLongPtrW(box, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  const RECT& w = state.layout.window;
  SetWindowPos(box, (state.type & MB_TOPMOST) ? HWND_TOPMOST : nullptr, w.left, w.top, w.right - w.left,
               w.bottom - w.top, SWP_NOACTIVATE | ((state.type & MB_TOPMOST) ? 0 : SWP_NOZORDER));
  auto font = static_cast<WPARAM>(SendMessageW(box, WM_GETFONT, 0, 0));
  HWND focus = nullptr;
  for (size_t i = 0; i < state.kind.buttons.size(); ++i) {
    const auto& button = state.kind.buttons[i];
    const RECT& r = state.layout.buttons[i];
    const bool isDefault = i == state.kind.defaultIndex;
    // One group, so that the arrows move along the row.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                        (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND control = CreateWindowExW(0, u"BUTTON", button.text, style, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                   nullptr, nullptr);
    if (!control) return FALSE;
    SendMessageW(control, WM_SETFONT, font, FALSE);
    if (isDefault) focus = control;
  }
  SendMessageW(box, DM_SETDEFID, static_cast<WPARAM>(state.kind.buttons[state.kind.defaultIndex].id), 0);
  // The default button takes the focus when the box shows and is activated.
  changeDialog(box, [&](DialogInfo& info) { info.lastFocus = focus; });
  if (state.type & MB_SETFOREGROUND) PostMessageW(box, kBringForward, 0, 0);
  return TRUE;
}

bool hasButton(const MessageBoxState& state, int id) {
  for (const auto& button : state.kind.buttons)
    if (button.id == id) return true;
  return false;
}

void command(HWND box, MessageBoxState& state, int id) {
  // IDCANCEL also comes from escape and WM_CLOSE; without a Cancel button it means the
  // type's escape answer, or nothing.
  int answer = hasButton(state, id) ? id : (id == IDCANCEL ? state.kind.escapeAnswer : 0);
  if (!answer || state.answered) return;
  state.answered = true;
  EndDialog(box, answer);
}

void describe(HWND box, const MessageBoxState& state, LPARAM lParam) {
  nlohmann::json& out = user::controls::automationStateOf(lParam);
  out["text"] = strings::toUtf8(state.text);
  out["caption"] = strings::toUtf8(state.caption);
  nlohmann::json buttons = nlohmann::json::array();
  for (const auto& button : state.kind.buttons) buttons.push_back(strings::toUtf8(withoutMnemonic(button.text)));
  out["buttons"] = buttons;
  out["defaultButton"] = static_cast<int>(state.kind.defaultIndex);
  SetWindowLongPtrW(box, DWLP_MSGRESULT, 0);
}

void paint(HWND box, const MessageBoxState& state) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(box, &ps);
  if (hdc) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    paintMessageBox(hdc, state.layout, state.caption, state.text, state.kind.icon, user::controls::fontOr(font),
                    state.titleFont.get());
  }
  EndPaint(box, &ps);
}

INT_PTR CALLBACK messageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // FALSE: the focus goes to the default button when the box is activated.
    if (!initialize(box, *reinterpret_cast<MessageBoxState*>(lParam))) DestroyWindow(box);
    return FALSE;
  }
  MessageBoxState* state = stateOf(box);
  if (!state) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) command(box, *state, LOWORD(wParam));
      return TRUE;
    case WM_PAINT:
      paint(box, *state);
      return TRUE;
    case kBringForward:
      SetForegroundWindow(box);
      return TRUE;
    case user::controls::WM_AUTOMATION_STATE:
      describe(box, *state, lParam);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(box, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HANDHELD_API int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  auto kind = messageBoxKind(type);
  if (!kind) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  MessageBoxState state;
  state.text = text ? text : u"";
  state.caption = caption ? caption : u"Error";
  state.type = type;
  state.kind = std::move(*kind);
  layOut(state);

  resources::DialogTemplate box;
  // The box draws its own title: the device draws no non-client areas.
  box.style = WS_POPUP;
  box.exStyle = (type & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
  box.caption = state.caption;
  HWND dialog = createDialog(nullptr, box, owner, messageBoxProc, reinterpret_cast<LPARAM>(&state), true);
  if (!dialog) {
    if (GetLastError() == 0) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  const INT_PTR result = runModal(dialog);
  if (!state.answered) {
    // The box went away without an answer: its owner was destroyed, or WM_QUIT came.
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(result);
}
