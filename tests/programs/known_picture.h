// Shapes and text drawn the same way by a device program (into its window) and by a test (into
// a memory bitmap), so the test can ask for the screen to show exactly what it drew itself.
#pragma once

#include <windows.h>

namespace handheld::testing {

inline constexpr int kKnownPictureWidth = 160;
inline constexpr int kKnownPictureHeight = 120;

// Draws into the rectangle (0, 0, kKnownPictureWidth, kKnownPictureHeight) of `dc`.
void drawKnownPicture(HDC dc);

}  // namespace handheld::testing
