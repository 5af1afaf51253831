// .bmp data made into a bitmap object: for LoadBitmapW and LoadImageW.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace handheld::gdi {

// The decoded .bmp at width x height (0: as it is), as a device bitmap or a DIB section; null
// with the last error set (ERROR_INVALID_DATA for data that does not decode).
HBITMAP bitmapFromBmp(std::span<const uint8_t> bytes, int width, int height, bool dibSection);

}  // namespace handheld::gdi
