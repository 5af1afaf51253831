// The program's two colours: the yellow of every note and list page, and the magenta that is
// transparent in image strips.
#pragma once

#include <windows.h>

inline constexpr COLORREF kNoteYellow = RGB(255, 255, 0);
inline constexpr COLORREF kStripTransparent = RGB(255, 0, 255);
