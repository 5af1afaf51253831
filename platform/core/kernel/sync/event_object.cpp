#include "kernel/sync/event_object.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "kernel/sync/cancellation.h"
#include "kernel/sync/eventfd.h"
#include "kernel/sync/named_objects.h"

namespace handheld::kernel {

EventObject::EventObject(bool manualReset, os::UniqueFd counter, DeviceEvent device)
    : KernelObject(ObjectKind::Event),
      manualReset_(manualReset),
      counter_(std::move(counter)),
      device_(std::move(device)) {
  if (!device_.waiters) device_.waiters = std::make_shared<PulseWaiters>();
}

std::shared_ptr<EventObject> EventObject::create(bool manualReset, bool initiallySet) {
  os::UniqueFd counter = newEventFd(initiallySet ? 1 : 0);
  if (!counter) return nullptr;
  return std::make_shared<EventObject>(manualReset, std::move(counter));
}

void EventObject::set() {
  sets_.fetch_add(1, std::memory_order_release);
  raiseEventFd(counter_.get());
}

void EventObject::reset() { drainEventFd(counter_.get()); }

void EventObject::pulse() {
  CancellationBlocker keepTogether;
  reset();
  const size_t released = device_.waiters->release(manualReset_);
  if (device_.objectId != 0 && (manualReset_ || released == 0))
    pulseInOtherProcesses(device_.objectId);
}

bool EventObject::consumeSignal() {
  if (!takeOrProbe()) return false;
  sets_.load(std::memory_order_acquire);
  return true;
}

bool EventObject::takeOrProbe() {
  if (manualReset_) {
    pollfd probe{counter_.get(), POLLIN, 0};
    while (true) {
      const int ready = poll(&probe, 1, 0);
      if (ready >= 0) return ready > 0 && (probe.revents & POLLIN);
      if (errno != EINTR) return false;
    }
  }
  uint64_t taken = 0;
  while (true) {
    if (read(counter_.get(), &taken, sizeof taken) == sizeof taken) return true;
    if (errno != EINTR) return false;
  }
}

void EventObject::restoreSignal() {
  if (!manualReset_) set();
}

}  // namespace handheld::kernel
