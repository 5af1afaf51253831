#include "windows/window_registry.h"

#include <algorithm>

#include "strings/case_fold.h"
#include "winerror.h"

namespace handheld::device {

size_t TopLevelRegistry::indexOf(uint32_t handle) const {
  for (size_t i = 0; i < order_.size(); ++i)
    if (order_[i].handle == handle) return i;
  return order_.size();
}

const ipc::WindowRecord* TopLevelRegistry::find(uint32_t handle) const {
  size_t i = indexOf(handle);
  return i < order_.size() ? &order_[i] : nullptr;
}

uint32_t TopLevelRegistry::add(ipc::WindowRecord record) {
  if (record.handle == 0 || find(record.handle)) return ERROR_INVALID_PARAMETER;
  size_t ofProcess = std::count_if(order_.begin(), order_.end(),
                                   [&](const auto& r) { return r.pid == record.pid; });
  if (ofProcess >= kMaxWindowsPerProcess) return ERROR_NOT_ENOUGH_QUOTA;
  placeGroup({std::move(record)}, ipc::kInsertTop);
  return 0;
}

ipc::ActivationChange TopLevelRegistry::change(const ipc::WindowRecord& record) {
  size_t i = indexOf(record.handle);
  if (i == order_.size() || record.version < order_[i].version) return {};
  const bool wasTopmost = order_[i].topmost;
  order_[i] = record;
  if (wasTopmost != record.topmost) placeGroup(takeGroup(record.handle), ipc::kInsertTop);
  if (record.handle == foreground_ && !record.visible)
    return activateSuccessor(record.handle, record.owner);
  return {};
}

uint32_t TopLevelRegistry::erase(uint32_t handle) {
  size_t i = indexOf(handle);
  if (i == order_.size()) return 0;
  const uint32_t owner = order_[i].owner;
  order_.erase(order_.begin() + static_cast<long>(i));
  for (auto& r : order_)
    if (r.owner == handle) r.owner = 0;
  return owner;
}

ipc::ActivationChange TopLevelRegistry::remove(uint32_t handle) {
  if (!find(handle)) return {};
  const uint32_t owner = erase(handle);
  return handle == foreground_ ? activateSuccessor(handle, owner) : ipc::ActivationChange{};
}

ipc::ActivationChange TopLevelRegistry::removeProcess(uint32_t pid) {
  const auto* active = find(foreground_);
  const bool activeGoes = active && active->pid == pid;
  const uint32_t activeOwner = active ? active->owner : 0;
  std::vector<uint32_t> handles;
  for (const auto& r : order_)
    if (r.pid == pid) handles.push_back(r.handle);
  for (uint32_t handle : handles) erase(handle);
  return activeGoes ? activateSuccessor(foreground_, activeOwner) : ipc::ActivationChange{};
}

std::optional<ipc::ActivationChange> TopLevelRegistry::arrange(uint32_t handle, uint32_t insertAfter,
                                                               bool raise, bool activate) {
  if (!find(handle)) return std::nullopt;
  if (raise || activate) placeGroup(takeGroup(handle), activate ? ipc::kInsertTop : insertAfter);
  if (!activate || foreground_ == handle) return ipc::ActivationChange{};
  ipc::ActivationChange change{foreground_, handle};
  foreground_ = handle;
  return change;
}

std::vector<ipc::WindowRecord> TopLevelRegistry::takeGroup(uint32_t handle) {
  std::vector<uint32_t> members{handle};
  // Owners come after what they own in the order, so one pass from the back finds every
  // window owned, directly or not.
  for (size_t i = indexOf(handle); i-- > 0;) {
    if (std::find(members.begin(), members.end(), order_[i].owner) != members.end())
      members.push_back(order_[i].handle);
  }
  std::vector<ipc::WindowRecord> group;
  std::vector<ipc::WindowRecord> rest;
  for (auto& r : order_) {
    if (std::find(members.begin(), members.end(), r.handle) != members.end()) {
      group.push_back(std::move(r));
    } else {
      rest.push_back(std::move(r));
    }
  }
  order_ = std::move(rest);
  // In front-to-back order the owned windows already precede `handle`.
  return group;
}

void TopLevelRegistry::placeGroup(std::vector<ipc::WindowRecord> group, uint32_t insertAfter) {
  if (group.empty()) return;
  const ipc::WindowRecord& root = group.back();
  const bool topmost = insertAfter == ipc::kInsertTopmost ||
                       (root.topmost && insertAfter != ipc::kInsertNoTopmost);
  // The band: topmost windows first, then the others.
  size_t bandStart = 0;
  size_t bandEnd = 0;
  while (bandEnd < order_.size() && order_[bandEnd].topmost) ++bandEnd;
  if (!topmost) {
    bandStart = bandEnd;
    bandEnd = order_.size();
  }
  size_t position = bandStart;
  if (insertAfter == ipc::kInsertBottom) {
    position = bandEnd;
  } else if (insertAfter != ipc::kInsertTop && insertAfter != ipc::kInsertTopmost &&
             insertAfter != ipc::kInsertNoTopmost) {
    size_t after = indexOf(insertAfter);
    if (after < order_.size()) position = std::clamp(after + 1, bandStart, bandEnd);
  }
  // Never behind the owner.
  size_t owner = indexOf(root.owner);
  if (root.owner && owner < order_.size()) position = std::min(position, owner);
  order_.insert(order_.begin() + static_cast<long>(position), std::make_move_iterator(group.begin()),
                std::make_move_iterator(group.end()));
}

ipc::ActivationChange TopLevelRegistry::activateSuccessor(uint32_t leaving, uint32_t owner) {
  auto eligible = [leaving](const ipc::WindowRecord& r) {
    return r.handle != leaving && r.visible && r.enabled;
  };
  uint32_t next = 0;
  if (const auto* o = find(owner); o && eligible(*o)) {
    next = owner;
  } else {
    auto it = std::find_if(order_.begin(), order_.end(), eligible);
    if (it != order_.end()) next = it->handle;
  }
  foreground_ = next;
  return {leaving, next};
}

uint32_t TopLevelRegistry::findMatching(const std::u16string* className, const std::u16string* text,
                                        uint32_t after) const {
  size_t start = after ? indexOf(after) + 1 : 0;
  for (size_t i = start; i < order_.size(); ++i) {
    const auto& r = order_[i];
    if (className && !strings::equalNoCase(r.className, *className)) continue;
    if (text && r.text != *text) continue;
    return r.handle;
  }
  return 0;
}

uint32_t TopLevelRegistry::atPoint(int32_t x, int32_t y) const {
  for (const auto& r : order_)
    if (r.visible && r.enabled && x >= r.left && x < r.right && y >= r.top && y < r.bottom)
      return r.handle;
  return 0;
}

}  // namespace handheld::device
