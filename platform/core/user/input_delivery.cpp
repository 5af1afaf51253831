#include "user/input_focus.h"

#include "user/controls/scrollbar/scroll_bar.h"
#include "user/messages.h"
#include "user/window.h"

namespace handheld::user {

namespace {

// lParam of a key message: a repeat count of 1, the previous key state (bit 30) and the
// transition (bit 31), and the character the device says the key typed.
LPARAM keyLParam(const ipc::InputDeliver& input) {
  const bool up = input.kind == ipc::InputKind::KeyUp;
  LPARAM lParam = 1;
  if (up || input.repeat) lParam |= LPARAM{1} << 30;
  if (up) lParam |= LPARAM{1} << 31;
  // The device keyboard types only characters below 0x80; anything else is not carried.
  if (!up && input.character < 0x80) lParam |= kCarriesCharacter | (LPARAM{input.character} << 16);
  return lParam;
}

// The message for the input, or nullopt when it has nowhere to go. Under the lock.
std::optional<MSG> messageFor(const ipc::InputDeliver& input) {
  auto top = findOwnWindow(toHwnd(input.handle));
  if (!top || top->isChild()) return std::nullopt;
  auto queue = QueueTable::get().find(top->threadId);
  if (!queue) return std::nullopt;
  const POINT screen{input.x, input.y};
  switch (input.kind) {
    case ipc::InputKind::StylusDown:
    case ipc::InputKind::StylusMove:
    case ipc::InputKind::StylusUp: {
      auto target = queue->capture ? WindowTable::get().find(queue->capture) : nullptr;
      if (!target) target = WindowTable::get().find(deepestChildAt(top, screen));
      if (!target) return std::nullopt;
      // On a window's scroll bar: the non-client message, which the window's default
      // procedure turns into scrolling.
      if (!queue->capture) {
        if (const int hit = scrollBarHitTest(*target, screen); hit != HTNOWHERE) {
          const UINT nonClient = input.kind == ipc::InputKind::StylusDown ? WM_NCLBUTTONDOWN
                                 : input.kind == ipc::InputKind::StylusMove ? WM_NCMOUSEMOVE
                                                                            : WM_NCLBUTTONUP;
          return MSG{target->handle, nonClient, static_cast<WPARAM>(hit),
                     MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)), input.time, screen};
        }
      }
      const POINT origin = clientOriginOnScreen(*target);
      const UINT message = input.kind == ipc::InputKind::StylusDown ? WM_LBUTTONDOWN
                           : input.kind == ipc::InputKind::StylusMove ? WM_MOUSEMOVE
                                                                      : WM_LBUTTONUP;
      const WPARAM buttons = input.kind == ipc::InputKind::StylusUp ? 0 : MK_LBUTTON;
      const LPARAM at = MAKELPARAM(static_cast<WORD>(screen.x - origin.x), static_cast<WORD>(screen.y - origin.y));
      return MSG{target->handle, message, buttons, at, input.time, screen};
    }
    case ipc::InputKind::KeyDown:
    case ipc::InputKind::KeyUp:
    case ipc::InputKind::Character: {
      HWND target = queue->focus ? queue->focus : top->handle;
      if (input.kind == ipc::InputKind::Character)
        return MSG{target, WM_CHAR, input.character, 1, input.time, queue->lastMessagePoint};
      if (input.key == 0 || input.key > 0xFE) return std::nullopt;
      const UINT message = input.kind == ipc::InputKind::KeyDown ? WM_KEYDOWN : WM_KEYUP;
      return MSG{target, message, input.key, keyLParam(input), input.time, queue->lastMessagePoint};
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

void inputFromServer(const ipc::InputDeliver& input) {
  std::optional<MSG> message;
  {
    UserGuard guard(userLock());
    message = messageFor(input);
  }
  if (message) queueInputMessage(*message);
}

}  // namespace handheld::user
