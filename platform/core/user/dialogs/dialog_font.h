// The dialog font and the base units dialog units are measured in.
#pragma once

#include <windows.h>

#include <string>

namespace handheld::user::dialogs {

// "Tahoma" 8 pt at the screen's current dpi: the font of dialogs without DS_SETFONT and of
// controls no one gave a font. Shared, never deleted.
HFONT defaultDialogFont();
// A font of `points` at the screen's dpi (the caller owns it).
HFONT createPointFont(const std::u16string& face, int points, int weight, bool italic);
// x: the average width of A-Z a-z rounded; y: the font's height.
SIZE baseUnits(HFONT font);
// Dialog units to pixels.
RECT unitsToPixels(const RECT& units, SIZE base);

}  // namespace handheld::user::dialogs
