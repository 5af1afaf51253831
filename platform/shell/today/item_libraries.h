// What the Today screen and its settings share about item libraries: which have faulted in
// this process (never called again, never unloaded), the log, and asking the screens to
// rebuild after the settings changed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace handheld::shell {

// A line on the device log (the shell's standard error goes there).
void logToday(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string utf8(const std::u16string& text);
// "signal 11", or "an exception" for 0 (see guardedCall).
std::string faultName(int signal);

bool isBrokenLibrary(const std::u16string& dll);
// Refuses the library from now on. Its caller keeps the module loaded for good: the library's
// code may still be behind a window or a thread of this process.
void markBrokenLibrary(const std::u16string& dll);

// Posted to a Today screen: read the registry again and start the items anew.
inline constexpr UINT kTodayRebuild = WM_APP + 0x7A0;
// The Today screens of this process (their window adds and removes itself).
std::vector<HWND>& todayScreens();
void rebuildTodayScreens();

}  // namespace handheld::shell
