// Activation, the focus and the caret, and input delivered to windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "ipc/protocol.h"

namespace handheld::user {

// ---- activation ----
// Activation and focus as the device server decides them: one active (foreground) window on
// the device; WM_ACTIVATE to the windows that lose and gain it, on their own threads, and the
// focus following.
// Applies the parts of a change this process's request caused that concern its windows.
void applyActivationChange(const ipc::ActivationChange& change);
// The server's notice for one of this process's windows (the reader thread).
void activationNoticed(const ipc::ActivationNotice& notice);
// Asks the server to raise and/or activate a top-level window of any process.
bool arrangeTopLevel(HWND window, uint32_t insertAfter, bool raise, bool activate);
// Runs work on the thread that owns a window: now when that is the caller, else queued there.
void runOnWindowThread(HWND window, std::function<void()> work);

// SetFocus on the calling thread, without activating: WM_KILLFOCUS then WM_SETFOCUS.
HWND moveFocus(HWND target);

// ---- input delivery ----
// Input the device routed to one of this process's top-level windows (InputDeliver): the
// stylus goes to the capture window of the window's thread, else to the deepest visible,
// enabled child under the point, in its client coordinates; keys go to the thread's focus
// window (the top-level window when nothing has the focus). Queued as input messages.
//
// A key message from the device carries the character its key typed (on the device's US
// keyboard, under the key state at the press) in lParam's scan-code byte, marked by bit 25;
// TranslateMessage takes it from there. Keys a program posts itself carry no mark and are
// translated with the key state of the moment.
inline constexpr LPARAM kCarriesCharacter = LPARAM{1} << 25;

// The character a device key message carries (0: the key types none); nullopt when the
// message did not come from the device.
inline std::optional<char16_t> carriedCharacter(LPARAM lParam) {
  if (!(lParam & kCarriesCharacter)) return std::nullopt;
  return static_cast<char16_t>((lParam >> 16) & 0xFF);
}

// What the reader thread does with InputDeliver.
void inputFromServer(const ipc::InputDeliver& input);

// ---- caret ----
// The calling thread's caret and the moments it must step aside: painting and activation.
// Each runs on the thread whose caret it concerns, without the lock held.
// BeginPaint of a window: the caret in it leaves the pixels until EndPaint puts it back.
void caretBeforePaint(HWND window);
void caretAfterPaint(HWND window);
// The thread's active window changed: the caret blinks only in the foreground.
void caretActivationChanged();

// ---- synthetic keys ----
// Keys a program makes on the device's own keyboard (the shell's on-screen keyboard): they
// go through the server's key path, so the foreground window's focus receives WM_KEYDOWN,
// WM_CHAR and WM_KEYUP exactly as from the hardware keyboard, and the key state follows.

// A virtual key pressed and released; false when the server refused it.
bool pressDeviceKey(uint8_t virtualKey);
// Characters typed as their US-layout keys, with shift where a character needs it.
bool typeDeviceText(std::u16string_view text);

}  // namespace handheld::user
