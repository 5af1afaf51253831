// Input the device routed to one of this process's top-level windows (InputDeliver): the
// stylus goes to the capture window of the window's thread, else to the deepest visible,
// enabled child under the point, in its client coordinates; keys go to the thread's focus
// window (the top-level window when nothing has the focus). Queued as input messages.
//
// A key message from the device carries the character its key typed (on the device's US
// keyboard, under the key state at the press) in lParam's scan-code byte, marked by bit 25;
// TranslateMessage takes it from there. Keys a program posts itself carry no mark and are
// translated with the key state of the moment.
#pragma once

#include <windows.h>

#include <optional>

#include "ipc/protocol.h"

namespace handheld::user {

inline constexpr LPARAM kCarriesCharacter = LPARAM{1} << 25;

// The character a device key message carries (0: the key types none); nullopt when the
// message did not come from the device.
inline std::optional<char16_t> carriedCharacter(LPARAM lParam) {
  if (!(lParam & kCarriesCharacter)) return std::nullopt;
  return static_cast<char16_t>((lParam >> 16) & 0xFF);
}

// What the reader thread does with InputDeliver.
void inputFromServer(const ipc::InputDeliver& input);

}  // namespace handheld::user
