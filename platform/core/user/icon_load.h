// Icons and cursors as objects, for LoadIconW, LoadCursorW and LoadImageW: the sizes a
// caller leaves open are the system's (its metrics), the images come from gdi.
#pragma once

#include <windows.h>

namespace handheld::user {

// A module's icon or cursor resource by name or number, the system's own (instance NULL,
// IDI_* / IDC_*), or a device file; width and height 0 take the system size.
HANDLE loadIcon(HINSTANCE instance, LPCWSTR name, bool cursor, int width, int height, bool fromFile);

}  // namespace handheld::user
