// Keys a program makes on the device's own keyboard (the shell's on-screen keyboard): they
// go through the server's key path, so the foreground window's focus receives WM_KEYDOWN,
// WM_CHAR and WM_KEYUP exactly as from the hardware keyboard, and the key state follows.
#pragma once

#include <cstdint>
#include <string_view>

namespace handheld::user {

// A virtual key pressed and released; false when the server refused it.
bool pressDeviceKey(uint8_t virtualKey);
// Characters typed as their US-layout keys, with shift where a character needs it.
bool typeDeviceText(std::u16string_view text);

}  // namespace handheld::user
