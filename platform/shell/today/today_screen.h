// The Today screen the shell hosts, and its page of the Settings sheet.
#pragma once

#include <windows.h>

#include <prsht.h>

namespace handheld::shell {

HWND createTodayScreen(HINSTANCE instance, HWND parent, const RECT& area);
// One page of the Settings sheet.
PROPSHEETPAGEW todaySettingsPage(HINSTANCE instance);

}  // namespace handheld::shell
