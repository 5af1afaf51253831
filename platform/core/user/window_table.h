// The windows of this process by handle. All access happens under userLock().
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "user/window.h"

namespace handheld::user {

class WindowTable {
 public:
  static WindowTable& get();

  // A window of this process that has not finished its destruction, or null.
  std::shared_ptr<Window> find(HWND handle) const;
  // Gives the window its handle (serials wrap and skip live ones); false when full.
  bool insert(const std::shared_ptr<Window>& window, uint32_t slot);
  void erase(HWND handle);
  const std::unordered_map<uint32_t, std::shared_ptr<Window>>& all() const { return windows_; }

 private:
  WindowTable() = default;
  std::unordered_map<uint32_t, std::shared_ptr<Window>> windows_;
  uint32_t nextSerial_ = 1;
};

}  // namespace handheld::user
