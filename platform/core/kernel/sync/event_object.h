// An event: a Linux eventfd that polls readable while the event is set, so that one poll()
// can wait on events together with threads, processes and message queues.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "kernel/handles.h"
#include "os/unique_fd.h"

namespace handheld::kernel {

class EventObject final : public KernelObject {
 public:
  // Wraps an eventfd opened without EFD_SEMAPHORE and with O_NONBLOCK; it may be shared with
  // other processes (named events), which then see the same state.
  // `deviceReference` keeps the device's named object alive for as long as this event lives.
  EventObject(bool manualReset, os::UniqueFd counter, std::shared_ptr<void> deviceReference = {});
  // A new private event; null with the last error set when the host has no descriptor left.
  static std::shared_ptr<EventObject> create(bool manualReset, bool initiallySet);

  bool manualReset() const { return manualReset_; }
  void set();
  void reset();
  // Sets and at once resets. Only waiters that notice the short set are released, which may
  // be none: a waiter blocked in poll() re-checks the counter when woken and may find it
  // already reset. Pulsing is documented as unreliable on the device as well.
  void pulse();

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
  std::shared_ptr<void> deviceReference_;
  // Orders what the setter wrote before what a waiter reads after, in the language's terms;
  // the descriptor alone does that only in practice.
  std::atomic<uint64_t> sets_{0};
};

}  // namespace handheld::kernel
