// Drawing a scroll bar in the handheld's flat look: outlined arrow boxes with solid
// triangles, a light track and an outlined thumb on it; gray triangles and no thumb when disabled.
#pragma once

#include <windows.h>

#include "user/controls/scrollbar/scroll_layout.h"

namespace handheld::user {

// The pressed part is drawn held down (the arrow inverted, the paged side of the track
// darkened).
void paintScrollBar(HDC hdc, const ScrollLayout& layout, const ScrollBarState& state);

}  // namespace handheld::user
