// Raster operations: how a pattern (brush or pen colour), a source and the destination
// combine into a pixel. Ternary operations (BitBlt's rop) are a truth table of eight
// minterms; binary pen modes (SetROP2) are the same table with the source ignored.
#pragma once

#include <windef.h>

#include <cstdint>

namespace handheld::gdi {

class RasterOp {
 public:
  static constexpr RasterOp fromRop3(DWORD rop) {
    return RasterOp(static_cast<uint8_t>((rop >> 16) & 0xFF));
  }
  // R2_BLACK .. R2_WHITE; anything else behaves as R2_COPYPEN.
  static constexpr RasterOp fromRop2(int mode) {
    if (mode < 1 || mode > 16) mode = 13;
    unsigned table = static_cast<unsigned>(mode - 1);  // bit (pen << 1 | dest)
    uint8_t index = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
      unsigned pen = (minterm >> 2) & 1;
      unsigned dest = minterm & 1;
      if ((table >> ((pen << 1) | dest)) & 1) index = static_cast<uint8_t>(index | (1u << minterm));
    }
    return RasterOp(index);
  }
  static constexpr RasterOp patternCopy() { return RasterOp(0xF0); }
  static constexpr RasterOp sourceCopy() { return RasterOp(0xCC); }

  uint8_t index() const { return index_; }
  bool usesSource() const { return ((index_ >> 2) & 0x33) != (index_ & 0x33); }
  bool usesPattern() const { return ((index_ >> 4) & 0x0F) != (index_ & 0x0F); }
  bool usesDestination() const { return ((index_ >> 1) & 0x55) != (index_ & 0x55); }
  bool isPatternCopy() const { return index_ == 0xF0; }
  bool isSourceCopy() const { return index_ == 0xCC; }

  // Bitwise on 0x00RRGGBB colours.
  uint32_t apply(uint32_t pattern, uint32_t source, uint32_t dest) const {
    switch (index_) {
      case 0x00: return 0;
      case 0xFF: return 0xFFFFFF;
      case 0xF0: return pattern;
      case 0xCC: return source;
      case 0xAA: return dest;
      case 0x55: return ~dest & 0xFFFFFF;
      case 0x5A: return pattern ^ dest;
      case 0x66: return source ^ dest;
      case 0x88: return source & dest;
      case 0xEE: return source | dest;
      case 0x33: return ~source & 0xFFFFFF;
      default: break;
    }
    uint32_t result = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
      if (!((index_ >> minterm) & 1)) continue;
      uint32_t p = (minterm & 4) ? pattern : ~pattern;
      uint32_t s = (minterm & 2) ? source : ~source;
      uint32_t d = (minterm & 1) ? dest : ~dest;
      result |= p & s & d;
    }
    return result & 0xFFFFFF;
  }

 private:
  explicit constexpr RasterOp(uint8_t index) : index_(index) {}
  uint8_t index_;
};

}  // namespace handheld::gdi
