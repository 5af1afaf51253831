// Opens one topic of a help file in the device's help viewer, which runs on its own: the
// caller does not wait for it.
#pragma once

#include <windows.h>

// The help file of every window of the program.
inline constexpr WCHAR kHelpFile[] = u"Pinnotes.htm";

// `fileName` without a folder (the viewer looks in its own help folder); `anchor` may be
// null. Returns whether the viewer could be started.
bool OpenHelp(LPCWSTR fileName, LPCWSTR anchor);
