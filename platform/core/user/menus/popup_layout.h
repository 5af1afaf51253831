// Where a pop-up menu's items go inside its window, and where its window goes on the screen.
#pragma once

#include <windows.h>

#include <vector>

#include "user/menus/menu.h"

namespace handheld::user {

struct PopupMetrics {
  int unit = 1;         // the border width: 1 on QVGA, 2 on VGA
  int textHeight = 13;  // of the menu font
  int frame() const { return unit; }
  int itemHeight() const { return textHeight + 6 * unit; }
  int separatorHeight() const { return 7 * unit; }
  int markGutter() const { return 14 * unit; }   // check marks, left of the text
  int arrowGutter() const { return 14 * unit; }  // sub-menu arrows, right of the text
};

struct PopupLayout {
  SIZE size{};               // of the window, frame included
  std::vector<RECT> items;   // window coordinates, one per entry
};

// `textWidths` holds the drawn width of each entry's text ('&' removed).
PopupLayout layOutPopup(const std::vector<MenuEntry>& entries, const std::vector<int>& textWidths,
                        const PopupMetrics& metrics);

// The window rectangle of a menu opened at `at` with the TPM_ alignment flags: a menu that
// would leave the screen opens on the other side of the point, then is moved into the screen;
// with `exclude`, it is moved beside that rectangle (below or above with TPM_VERTICAL, else
// right or left) when it would cover it.
RECT placePopup(SIZE size, POINT at, UINT flags, const RECT* exclude, SIZE screen);

// A sub-menu beside its item (`item` and `parent` in screen coordinates): right of the parent
// menu, or left of it when there is no room, its first item level with the item.
RECT placeSubmenu(SIZE size, const RECT& parent, const RECT& item, int frame, SIZE screen);

}  // namespace handheld::user
