// Sizes the shell and the shell services agree on: the navigation bar across the top and the
// menu bar across the bottom are 26 pixels at 96 dpi, scaled with the screen.
#pragma once

#include <windows.h>

namespace handheld::shellsvc {

inline constexpr int kBarHeightAt96Dpi = 26;

int barHeight();
// The screen below the navigation bar; above the menu bar too when `leaveMenuBar`.
RECT visibleDesktop(bool leaveMenuBar);

}  // namespace handheld::shellsvc
