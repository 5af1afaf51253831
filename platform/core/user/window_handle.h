// Window handle values: (the owning process's window slot << 20) | serial. They are unique on
// the device and fit in 32 bits, so any process can tell whose window a number names - and
// must still look it up before trusting it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace handheld::user {

inline constexpr uint32_t kSerialBits = 20;
inline constexpr uint32_t kSerialMask = (1u << kSerialBits) - 1;
// The desktop: slot 0 is never given to a process.
inline constexpr uint32_t kDesktopHandle = 1;

// The 32-bit value of a handle; 0 for NULL and for values that cannot be window handles.
inline uint32_t handleValue(HWND window) {
  auto raw = reinterpret_cast<uintptr_t>(window);
  return raw > UINT32_MAX ? 0 : static_cast<uint32_t>(raw);
}
inline HWND toHwnd(uint32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(value)); }
inline uint32_t slotOf(uint32_t value) { return value >> kSerialBits; }
inline uint32_t serialOf(uint32_t value) { return value & kSerialMask; }
inline uint32_t makeHandleValue(uint32_t slot, uint32_t serial) {
  return (slot << kSerialBits) | (serial & kSerialMask);
}

}  // namespace handheld::user
