// Puts the notes folder right after the program ended during a save or with an alarm open:
// a half-written side file is removed and an alarmed note that was set aside is restored.
// The store runs it before it scans the folder.
#pragma once

#include <windows.h>

void RecoverNoteFolder(LPCWSTR folder, LPCWSTR extension);
