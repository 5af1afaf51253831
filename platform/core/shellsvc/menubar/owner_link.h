// A bar follows its owner: it hides when the owner is hidden and shows again with it (unless
// the program hid the bar itself). The owner's procedure is wrapped while it has bars.
#pragma once

#include <windows.h>

namespace handheld::shellsvc {

bool linkToOwner(HWND bar, HWND owner);
void unlinkFromOwner(HWND bar, HWND owner);

}  // namespace handheld::shellsvc
