// The device's top-level windows, front to back, and the one active (foreground) window.
// Owned windows always stay in front of their owner; topmost windows in front of the rest.
// Pure bookkeeping, so the rules can be tested without sockets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ipc/protocol.h"

namespace handheld::device {

class TopLevelRegistry {
 public:
  static constexpr size_t kMaxWindowsPerProcess = 1024;

  // Enters a window at the front of its band; an error code, 0 on success.
  uint32_t add(ipc::WindowRecord record);
  // Replaces a window's record unless it is older than the one kept. Hiding the active
  // window activates another.
  ipc::ActivationChange change(const ipc::WindowRecord& record);
  ipc::ActivationChange remove(uint32_t handle);
  // Every window of a process that ended.
  ipc::ActivationChange removeProcess(uint32_t pid);
  // Moves a window (with the windows it owns) and/or activates it; activating also raises.
  // nullopt when there is no such window.
  std::optional<ipc::ActivationChange> arrange(uint32_t handle, uint32_t insertAfter, bool raise,
                                               bool activate);

  const ipc::WindowRecord* find(uint32_t handle) const;
  // The first window after `after` (0: from the front) matching the class (without regard to
  // case) and the text (exactly); a null side matches anything. 0 when none.
  uint32_t findMatching(const std::u16string* className, const std::u16string* text,
                        uint32_t after) const;
  // The front-most visible, enabled window containing a screen point; 0 when none.
  uint32_t atPoint(int32_t x, int32_t y) const;
  const std::vector<ipc::WindowRecord>& frontToBack() const { return order_; }
  uint32_t foreground() const { return foreground_; }

 private:
  size_t indexOf(uint32_t handle) const;  // order_.size() when absent
  // Takes a window out without touching the activation; returns its owner.
  uint32_t erase(uint32_t handle);
  // The window and, recursively, the windows it owns, taken out of the order, owned first.
  std::vector<ipc::WindowRecord> takeGroup(uint32_t handle);
  void placeGroup(std::vector<ipc::WindowRecord> group, uint32_t insertAfter);
  // Activates the window to follow one that goes away or hides.
  ipc::ActivationChange activateSuccessor(uint32_t leaving, uint32_t owner);

  std::vector<ipc::WindowRecord> order_;
  uint32_t foreground_ = 0;
};

}  // namespace handheld::device
