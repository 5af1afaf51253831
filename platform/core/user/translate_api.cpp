// TranslateMessage: WM_CHAR (WM_SYSCHAR) from a key press, with the shift, caps-lock and
// control state of the device's key table, on a US keyboard layout.
#include <array>

#include "user/thread_queue.h"
#include "user/user_lock.h"

using namespace handheld::user;

namespace {

bool down(int key) { return GetKeyState(key) < 0; }
bool toggled(int key) { return (GetKeyState(key) & 1) != 0; }

struct Pair {
  UINT key;
  char16_t plain;
  char16_t shifted;
};

constexpr std::array<Pair, 11> kPunctuation{{
    {VK_OEM_1, u';', u':'}, {VK_OEM_PLUS, u'=', u'+'}, {VK_OEM_COMMA, u',', u'<'},
    {VK_OEM_MINUS, u'-', u'_'}, {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},
    {VK_OEM_3, u'`', u'~'}, {VK_OEM_4, u'[', u'{'}, {VK_OEM_5, u'\\', u'|'},
    {VK_OEM_6, u']', u'}'}, {VK_OEM_7, u'\'', u'"'},
}};

// The character a key gives, or 0.
char16_t characterFor(UINT key) {
  const bool shift = down(VK_SHIFT);
  if (key >= 'A' && key <= 'Z') {
    if (down(VK_CONTROL)) return static_cast<char16_t>(key - 'A' + 1);
    const bool upper = shift != toggled(VK_CAPITAL);
    return static_cast<char16_t>(upper ? key : key - 'A' + 'a');
  }
  if (key >= '0' && key <= '9') {
    static constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";
    return shift ? kShiftedDigits[key - '0'] : static_cast<char16_t>(key);
  }
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
  switch (key) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_BACK: return 8;
    case VK_TAB: return u'\t';
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DECIMAL: return u'.';
    case VK_DIVIDE: return u'/';
    default: break;
  }
  for (const Pair& p : kPunctuation)
    if (p.key == key) return shift ? p.shifted : p.plain;
  return 0;
}

}  // namespace

HANDHELD_API BOOL WINAPI TranslateMessage(const MSG* message) {
  if (!message) return FALSE;
  if (message->message == WM_KEYUP || message->message == WM_SYSKEYUP) return TRUE;
  if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return FALSE;
  const char16_t character = characterFor(static_cast<UINT>(message->wParam));
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
