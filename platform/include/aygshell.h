// Shell services of the handheld.
#pragma once

#include "windef.h"

// ---- bitmaps ----
// Loads a .bmp file from a device path as a DIB section; NULL when it cannot be read or
// decoded.
HANDHELD_API HBITMAP WINAPI SHLoadDIBitmap(LPCWSTR fileName);
