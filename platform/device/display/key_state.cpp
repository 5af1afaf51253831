#include "display/key_state.h"

#include <windows.h>

namespace handheld::device {

namespace {

struct SidedKey {
  uint8_t left, right, common;
};
constexpr SidedKey kSidedKeys[] = {
    {VK_LSHIFT, VK_RSHIFT, VK_SHIFT},
    {VK_LCONTROL, VK_RCONTROL, VK_CONTROL},
    {VK_LMENU, VK_RMENU, VK_MENU},
};

}  // namespace

uint8_t commonKey(uint8_t key) {
  for (const SidedKey& sided : kSidedKeys)
    if (key == sided.left || key == sided.right) return sided.common;
  return key;
}

bool KeyStateTable::set(uint8_t key, bool down) {
  auto& state = page_.keyState[key];
  const uint8_t old = state.load();
  const bool wasDown = (old & 0x80) != 0;
  uint8_t next = old & 0x01;
  if (down) next = static_cast<uint8_t>(0x80 | (wasDown ? next : next ^ 0x01));
  state.store(next);
  return wasDown;
}

bool KeyStateTable::press(uint8_t key) {
  for (const SidedKey& sided : kSidedKeys)
    if (key == sided.left || key == sided.right) set(sided.common, true);
  return set(key, true);
}

void KeyStateTable::release(uint8_t key) {
  set(key, false);
  for (const SidedKey& sided : kSidedKeys)
    if ((key == sided.left || key == sided.right) && !down(sided.left) && !down(sided.right))
      set(sided.common, false);
}

}  // namespace handheld::device
