// The Today screen of the shell: the date band and the Today items registered in the device's
// registry, each a library loaded into this process that draws its own band; and the page of
// the Settings sheet that chooses which items show, in which order, and runs their options.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace handheld::shell {

// A child window of `parent` filling `area`. It starts its items at once; while it is visible
// it asks them every 2 seconds whether they changed. The shell hides it while the Today screen
// is not in front and shows it again when it is, which makes the items drop their caches.
HWND createTodayScreen(HINSTANCE instance, HWND parent, const RECT& area);

// One page of the Settings sheet ("Today"); its changes rebuild every Today screen.
PROPSHEETPAGEW todaySettingsPage(HINSTANCE instance);

}  // namespace handheld::shell
