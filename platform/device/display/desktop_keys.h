// Desktop keyboard keys to the device's virtual keys, by their place on a US keyboard (so the
// key left of Enter is VK_OEM_7 whatever the desktop's layout prints on it). F1-F4 are the
// application buttons, F5 the record button. The README lists the whole table.
#pragma once

#include <SDL_scancode.h>

#include <cstdint>

namespace handheld::device {

// The virtual key, or 0 for keys the device does not have. Shift, control and alt keep
// their side (VK_LSHIFT, VK_RCONTROL, ...).
uint8_t virtualKeyForScancode(SDL_Scancode scancode);

}  // namespace handheld::device
