#include "user/window.h"


namespace handheld::user {

namespace {
constexpr size_t kMaxWindows = 65536;
}

std::mutex& userLock() {
  static auto* lock = new std::mutex;  // never destroyed: other threads may outlive main
  return *lock;
}

WindowTable& WindowTable::get() {
  static auto* table = new WindowTable;
  return *table;
}

std::shared_ptr<Window> WindowTable::find(HWND handle) const {
  auto it = windows_.find(handleValue(handle));
  return it == windows_.end() ? nullptr : it->second;
}

bool WindowTable::insert(const std::shared_ptr<Window>& window, uint32_t slot) {
  if (windows_.size() >= kMaxWindows) return false;
  for (;;) {
    uint32_t serial = nextSerial_;
    nextSerial_ = nextSerial_ == kSerialMask ? 1 : nextSerial_ + 1;
    uint32_t value = makeHandleValue(slot, serial);
    if (windows_.count(value)) continue;
    window->handle = toHwnd(value);
    windows_.emplace(value, window);
    return true;
  }
}

void WindowTable::erase(HWND handle) { windows_.erase(handleValue(handle)); }

}  // namespace handheld::user
