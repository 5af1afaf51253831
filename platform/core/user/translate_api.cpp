// TranslateMessage: WM_CHAR (WM_SYSCHAR) from a key press: the character a device key message
// carries, else the one the key gives on the US keyboard layout with the shift, caps-lock and
// control state of the device's key table.
#include "input/us_keyboard.h"
#include "user/input_focus.h"
#include "user/messages.h"
#include "user/window.h"

using namespace handheld::user;

namespace {

bool down(int key) { return GetKeyState(key) < 0; }
bool toggled(int key) { return (GetKeyState(key) & 1) != 0; }

// The character a key gives, or 0.
char16_t characterFor(UINT key) {
  return handheld::input::characterForKey(key, {down(VK_SHIFT), toggled(VK_CAPITAL), down(VK_CONTROL)});
}

}  // namespace

HANDHELD_API BOOL WINAPI TranslateMessage(const MSG* message) {
  if (!message) return FALSE;
  if (message->message == WM_KEYUP || message->message == WM_SYSKEYUP) return TRUE;
  if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return FALSE;
  // A key from the device says what it typed; a posted one is read with today's key state.
  const char16_t character =
      carriedCharacter(message->lParam).value_or(characterFor(static_cast<UINT>(message->wParam)));
  if (!character) return TRUE;
  auto queue = currentQueue();
  if (!queue) return TRUE;
  UserGuard guard(userLock());
  // The character comes next, before anything posted meanwhile.
  if (queue->posted.size() < kMaxPostedMessages) {
    const UINT kind = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    queue->posted.push_front(MSG{message->hwnd, kind, character, message->lParam, message->time, message->pt});
    queue->arrived |= QS_POSTMESSAGE;
  }
  return TRUE;
}
