// An event: a Linux eventfd that polls readable while the event is set, so that one poll()
// can wait on events together with threads, processes and message queues.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "kernel/handles.h"
#include "kernel/sync/pulse_waiters.h"
#include "os/unique_fd.h"

namespace handheld::kernel {

// A named event's tie to the device's object: the reference that keeps it alive, its id, and
// the waits on it in this process (one list for every opener here).
struct DeviceEvent {
  std::shared_ptr<void> reference;
  uint64_t objectId = 0;
  std::shared_ptr<PulseWaiters> waiters;
};

class EventObject final : public KernelObject {
 public:
  // Wraps an eventfd opened without EFD_SEMAPHORE and with O_NONBLOCK; it may be shared with
  // other processes (named events), which then see the same state.
  EventObject(bool manualReset, os::UniqueFd counter, DeviceEvent device = {});
  // A new private event; null with the last error set when the host has no descriptor left.
  static std::shared_ptr<EventObject> create(bool manualReset, bool initiallySet);

  bool manualReset() const { return manualReset_; }
  void set();
  void reset();
  // Leaves the event reset, releasing the waits on it at this moment: every one (manual
  // reset) or one (auto reset); a wait for all objects only with all the others. A named
  // event's waits in other processes are released through the device.
  void pulse();
  const std::shared_ptr<PulseWaiters>& pulseWaiters() const { return device_.waiters; }

  int waitFd() const override { return counter_.get(); }
  // Manual reset: true while still set. Auto reset: takes the whole counter, so that several
  // sets before a wait release one waiter; false when another waiter took it first.
  bool consumeSignal() override;
  void restoreSignal() override;

 private:
  // Manual reset: whether still set. Auto reset: takes the counter if another waiter has not.
  bool takeOrProbe();

  bool manualReset_;
  os::UniqueFd counter_;
  DeviceEvent device_;
  // Orders what the setter wrote before what a waiter reads after, in the language's terms;
  // the descriptor alone does that only in practice.
  std::atomic<uint64_t> sets_{0};
};

}  // namespace handheld::kernel
