// The desktop window: the device screen at an integer scale inside a drawn device frame,
// with the mouse as the stylus, the keyboard and the frame's hardware buttons as input.
// SDL runs on a thread of its own that sleeps in SDL_WaitEvent; frames reach it through a
// mutex and a wake event, input leaves it through the DesktopInputQueue.
#pragma once

#include <memory>
#include <string>

#include "display/desktop_input.h"
#include "display/display_backend.h"

namespace handheld::device {

// scale 0 picks DeviceFrame::defaultScale for each screen size. Null with the reason when
// there is no desktop display or SDL cannot open a window there.
std::unique_ptr<DisplayBackend> openSdlBackend(int screenWidth, int screenHeight, int scale,
                                               DesktopInputQueue& input, std::string& error);

}  // namespace handheld::device
