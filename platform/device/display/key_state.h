// The device key-state table in the info page, written by the server only: bit 7 while a
// key is down, bit 0 toggling with each press. Every process reads it (GetKeyState,
// GetAsyncKeyState), so a held hardware button is seen everywhere. The left and right
// shift, control and alt keys also hold their common key down while either is down.
#pragma once

#include <cstdint>

#include "ipc/device_info_page.h"

namespace handheld::device {

// VK_APP1..VK_APP6: the device's hardware buttons.
inline constexpr uint32_t kFirstHardwareButton = 0xC1;
inline constexpr uint32_t kLastHardwareButton = 0xC6;
inline bool isHardwareButton(uint32_t key) { return key >= kFirstHardwareButton && key <= kLastHardwareButton; }

// The key that programs see for a sided one (VK_SHIFT for VK_LSHIFT); others are themselves.
uint8_t commonKey(uint8_t key);

class KeyStateTable {
 public:
  explicit KeyStateTable(ipc::DeviceInfoPage& page) : page_(page) {}

  // Returns whether the key was down already (a repeat, which does not toggle).
  bool press(uint8_t key);
  void release(uint8_t key);
  bool down(uint8_t key) const { return (page_.keyState[key].load() & 0x80) != 0; }
  bool toggled(uint8_t key) const { return (page_.keyState[key].load() & 0x01) != 0; }

 private:
  bool set(uint8_t key, bool down);

  ipc::DeviceInfoPage& page_;
};

}  // namespace handheld::device
