// Tells the window system when a thread blocks in a kernel wait and when it wakes: a thread
// waiting with an empty message queue counts as idle (handheld-ctl wait-idle).
#pragma once

#include <atomic>

namespace handheld::kernel {

using WaitObserver = void (*)(bool blocking);

inline std::atomic<WaitObserver> g_waitObserver{nullptr};

inline void setWaitObserver(WaitObserver observer) { g_waitObserver.store(observer); }

// Reports the wait for its lifetime; a wait that cannot block (no time) is not reported.
class ObservedWait {
 public:
  explicit ObservedWait(bool mayBlock)
      : observer_(mayBlock ? g_waitObserver.load(std::memory_order_relaxed) : nullptr) {
    if (observer_) observer_(true);
  }
  ~ObservedWait() {
    if (observer_) observer_(false);
  }
  ObservedWait(const ObservedWait&) = delete;
  ObservedWait& operator=(const ObservedWait&) = delete;

 private:
  WaitObserver observer_;
};

}  // namespace handheld::kernel
