// GetKeyState and GetAsyncKeyState from the device's key-state table, which the server keeps
// for every process (a hardware button held down is seen everywhere).
#include <windows.h>

#include "ipc/client.h"

namespace {

uint8_t keyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return handheld::ipc::DeviceClient::get().info().keyState[virtualKey].load(std::memory_order_relaxed);
}

}  // namespace

HANDHELD_API SHORT WINAPI GetKeyState(int virtualKey) {
  const uint8_t state = keyState(virtualKey);
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

HANDHELD_API SHORT WINAPI GetAsyncKeyState(int virtualKey) {
  return static_cast<SHORT>((keyState(virtualKey) & 0x80) ? 0x8000 : 0);
}
