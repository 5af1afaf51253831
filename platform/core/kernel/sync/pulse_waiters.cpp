#include "kernel/sync/pulse_waiters.h"

#include <algorithm>

#include "kernel/sync/eventfd.h"
#include "kernel/sync/wait.h"

namespace handheld::kernel {

bool PulsedWait::release(size_t index) {
  const int through = static_cast<int>(index);
  int open = kOpen;
  if (!waitAll_) {
    if (!state_.compare_exchange_strong(open, through)) return false;
  } else {
    // Released only together with every other object, as if the event stayed set while the
    // wait took them all; the waiter closes and reopens under the same lock.
    auto guard = lockWaitAll();
    if (state_.load() != kOpen || !takeAllSignals(objects_, index)) return false;
    if (!state_.compare_exchange_strong(open, through)) {
      restoreAllSignals(objects_, index);
      return false;
    }
  }
  return true;
}

void PulsedWait::wake() { raiseEventFd(wakeFd_); }

int PulsedWait::released() const {
  const int state = state_.load();
  return state >= 0 ? state : -1;
}

int PulsedWait::close() {
  int open = kOpen;
  if (state_.compare_exchange_strong(open, kClosed)) return -1;
  return open >= 0 ? open : -1;
}

void PulsedWait::reopen() {
  int closed = kClosed;
  state_.compare_exchange_strong(closed, kOpen);
}

void PulseWaiters::add(PulsedWait& wait, size_t index) {
  std::lock_guard guard(lock_);
  waits_.emplace_back(&wait, index);
}

void PulseWaiters::remove(const PulsedWait& wait) {
  std::lock_guard guard(lock_);
  std::erase_if(waits_, [&](const auto& entry) { return entry.first == &wait; });
}

size_t PulseWaiters::release(bool all, const std::function<void(size_t)>& beforeWake) {
  // Under the lock, so that a wait that has removed itself is never woken afterwards, and a
  // released wait cannot return before it is woken (its removal waits for the lock).
  std::lock_guard guard(lock_);
  std::vector<PulsedWait*> released;
  for (auto& [wait, index] : waits_) {
    if (!wait->release(index)) continue;
    released.push_back(wait);
    if (!all) break;
  }
  if (beforeWake) beforeWake(released.size());
  for (PulsedWait* wait : released) wait->wake();
  return released.size();
}

size_t PulseWaiters::count() {
  std::lock_guard guard(lock_);
  return waits_.size();
}

int threadWakeFd() {
  thread_local os::UniqueFd wake;
  if (!wake) wake = newEventFd(0);
  return wake ? wake.get() : -1;
}

}  // namespace handheld::kernel
