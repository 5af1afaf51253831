// COLORREF (0x00BBGGRR) is the API's colour; surfaces hold 0x00RRGGBB.
#pragma once

#include <windef.h>

#include <cstdint>

namespace handheld::gdi {

constexpr uint32_t toRgb(COLORREF color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

constexpr COLORREF toColorref(uint32_t rgb) { return toRgb(rgb); }

// a + (b - a) * weight / 255 per channel, rounded.
constexpr uint32_t blendRgb(uint32_t a, uint32_t b, uint32_t weight) {
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t ca = (a >> shift) & 0xFF;
    uint32_t cb = (b >> shift) & 0xFF;
    result |= ((ca * (255 - weight) + cb * weight + 127) / 255) << shift;
  }
  return result;
}

}  // namespace handheld::gdi
