#include "kernel/sync/wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <mutex>

#include "kernel/sync/cancellation.h"
#include "kernel/sync/event_object.h"
#include "kernel/sync/eventfd.h"
#include "kernel/sync/pulse_waiters.h"
#include "kernel/sync/wait_observer.h"

namespace handheld::kernel {

namespace {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC: unaffected by clock changes

class Deadline {
 public:
  explicit Deadline(DWORD milliseconds)
      : infinite_(milliseconds == INFINITE),
        at_(Clock::now() + std::chrono::milliseconds(milliseconds)) {}
  static Deadline passed() { return Deadline(0); }

  // ppoll's time-out: null for none, zero once the deadline has passed.
  const timespec* remaining(timespec& storage) const {
    if (infinite_) return nullptr;
    const auto left = std::max(Clock::duration::zero(), at_ - Clock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    storage.tv_sec = static_cast<time_t>(seconds.count());
    storage.tv_nsec = static_cast<long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
    return &storage;
  }

 private:
  bool infinite_;
  Clock::time_point at_;
};

// ppoll until something is ready or the deadline passes, resuming after signals. Returns the
// number of ready descriptors, 0 on time-out, -1 with the last error set.
int pollUntil(std::vector<pollfd>& fds, const Deadline& deadline) {
  while (true) {
    timespec storage{};
    const int ready = ppoll(fds.data(), fds.size(), deadline.remaining(storage), nullptr);
    if (ready >= 0) {
      const bool closed = std::any_of(fds.begin(), fds.end(),
                                      [](const pollfd& fd) { return fd.revents & POLLNVAL; });
      if (!closed) return ready;
      SetLastError(ERROR_INVALID_HANDLE);
      return -1;
    }
    if (errno != EINTR) {
      SetLastError(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
      return -1;
    }
  }
}

// Hang-up and error count as readable, so that a reader of an extra descriptor sees the end.
bool readable(const pollfd& fd) { return fd.revents & (POLLIN | POLLHUP | POLLERR); }

pollfd pollIn(int fd) { return pollfd{fd, POLLIN, 0}; }

// Registers a wait with every event among its objects, so that pulses find it, for as long
// as it lives.
class PulseRegistration {
 public:
  PulseRegistration(std::span<const std::shared_ptr<KernelObject>> objects, bool waitAll)
      : wait_(objects, waitAll, anyEvent(objects) ? threadWakeFd() : -1) {
    if (anyEvent(objects) && threadWakeFd() < 0) {
      usable_ = false;
      return;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
      if (objects[i]->kind() != ObjectKind::Event) continue;
      auto& waiters = static_cast<EventObject&>(*objects[i]).pulseWaiters();
      waiters->add(wait_, i);
      lists_.push_back(waiters);
    }
  }
  ~PulseRegistration() {
    for (const auto& waiters : lists_) waiters->remove(wait_);
    // A pulse that released the wait has woken the descriptor by now (under the list's lock).
    if (wait_.released() >= 0) drainEventFd(wakeFd());
  }
  PulseRegistration(const PulseRegistration&) = delete;
  PulseRegistration& operator=(const PulseRegistration&) = delete;

  // False when the thread has no wake descriptor (the last error says why).
  bool usable() const { return usable_; }
  // -1 when no event is waited on.
  int wakeFd() const { return lists_.empty() ? -1 : threadWakeFd(); }
  PulsedWait& wait() { return wait_; }

 private:
  static bool anyEvent(std::span<const std::shared_ptr<KernelObject>> objects) {
    return std::any_of(objects.begin(), objects.end(),
                       [](const auto& object) { return object->kind() == ObjectKind::Event; });
  }

  PulsedWait wait_;
  std::vector<std::shared_ptr<PulseWaiters>> lists_;
  bool usable_ = true;
};

// The wait for all objects' result unless a pulse released it first (and took the signals).
DWORD finishAll(PulseRegistration& pulses, DWORD result) {
  return pulses.wait().close() >= 0 ? WAIT_OBJECT_0 : result;
}

// The wait's result unless a pulse released it first; then a signal it took goes back.
DWORD finish(PulseRegistration& pulses, DWORD result, KernelObject* taken) {
  const int pulsed = pulses.wait().close();
  if (pulsed < 0) return result;
  if (taken) taken->restoreSignal();
  return WAIT_OBJECT_0 + static_cast<DWORD>(pulsed);
}

DWORD waitAny(std::span<const std::shared_ptr<KernelObject>> objects, std::span<const int> extraFds,
              const Deadline& deadline, PulseRegistration& pulses) {
  std::vector<pollfd> fds;
  fds.reserve(objects.size() + extraFds.size() + 1);
  for (const auto& object : objects) fds.push_back(pollIn(object->waitFd()));
  for (int fd : extraFds) fds.push_back(pollIn(fd));
  const size_t waited = fds.size();  // the wake descriptor is not a result of its own
  if (pulses.wakeFd() >= 0) fds.push_back(pollIn(pulses.wakeFd()));
  while (true) {
    const int ready = pollUntil(fds, deadline);
    if (ready < 0) return finish(pulses, WAIT_FAILED, nullptr);
    if (ready == 0) return finish(pulses, WAIT_TIMEOUT, nullptr);
    for (size_t i = 0; i < objects.size(); ++i)
      if (readable(fds[i]) && objects[i]->consumeSignal())
        return finish(pulses, WAIT_OBJECT_0 + static_cast<DWORD>(i), objects[i].get());
    for (size_t j = objects.size(); j < waited; ++j)
      if (readable(fds[j])) return finish(pulses, WAIT_OBJECT_0 + static_cast<DWORD>(j), nullptr);
    if (const int pulsed = pulses.wait().released(); pulsed >= 0)
      return WAIT_OBJECT_0 + static_cast<DWORD>(pulsed);
    // Another waiter took every signal seen: wait again.
  }
}

DWORD waitAll(std::span<const std::shared_ptr<KernelObject>> objects, std::span<const int> extraFds,
              const Deadline& deadline, PulseRegistration& pulses) {
  std::vector<pollfd> everything;
  everything.reserve(objects.size() + extraFds.size());
  for (const auto& object : objects) everything.push_back(pollIn(object->waitFd()));
  for (int fd : extraFds) everything.push_back(pollIn(fd));
  std::vector<pollfd> pending;
  while (true) {
    // A pulse that released the wait took every signal for it.
    if (pulses.wait().released() >= 0) return WAIT_OBJECT_0;
    if (pollUntil(everything, Deadline::passed()) < 0) return finishAll(pulses, WAIT_FAILED);
    for (size_t j = objects.size(); j < everything.size(); ++j)
      if (readable(everything[j])) return finishAll(pulses, WAIT_OBJECT_0 + static_cast<DWORD>(j));
    pending.clear();
    for (size_t i = 0; i < objects.size(); ++i)
      if (!readable(everything[i])) pending.push_back(pollIn(everything[i].fd));
    if (pending.empty()) {
      auto guard = lockWaitAll();
      if (pulses.wait().close() >= 0 || takeAllSignals(objects)) return WAIT_OBJECT_0;
      pulses.wait().reopen();
      continue;  // one was taken meanwhile; look again at what is signalled now
    }
    // Block until one of those not yet signalled (or an extra descriptor, or a pulse) is.
    for (int fd : extraFds) pending.push_back(pollIn(fd));
    if (pulses.wakeFd() >= 0) pending.push_back(pollIn(pulses.wakeFd()));
    const int ready = pollUntil(pending, deadline);
    if (ready < 0) return finishAll(pulses, WAIT_FAILED);
    if (ready == 0) return finishAll(pulses, WAIT_TIMEOUT);
  }
}

bool hasDuplicates(std::span<const std::shared_ptr<KernelObject>> objects) {
  for (size_t i = 0; i < objects.size(); ++i)
    for (size_t j = i + 1; j < objects.size(); ++j)
      if (objects[i] == objects[j]) return true;
  return false;
}

}  // namespace

DWORD waitForObjects(std::span<const std::shared_ptr<KernelObject>> objects,
                     std::span<const int> extraFds, bool waitAllObjects, DWORD milliseconds) {
  const bool waitable = std::all_of(objects.begin(), objects.end(), [](const auto& object) {
    return object && object->waitFd() >= 0;
  });
  if (!waitable) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  // Waiting for the same object twice can never take both signals.
  if (waitAllObjects && hasDuplicates(objects)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  PulseRegistration pulses(objects, waitAllObjects);
  if (!pulses.usable()) return WAIT_FAILED;
  const Deadline deadline(milliseconds);
  ObservedWait observed(milliseconds != 0);
  return waitAllObjects ? waitAll(objects, extraFds, deadline, pulses)
                        : waitAny(objects, extraFds, deadline, pulses);
}

std::unique_lock<std::mutex> lockWaitAll() {
  static std::mutex lock;
  return std::unique_lock(lock);
}

bool takeAllSignals(std::span<const std::shared_ptr<KernelObject>> objects, size_t except) {
  CancellationBlocker allOrNothing;
  size_t taken = 0;
  for (; taken < objects.size(); ++taken)
    if (taken != except && !objects[taken]->consumeSignal()) break;
  if (taken == objects.size()) return true;
  restoreAllSignals(objects.first(taken), except);
  return false;
}

void restoreAllSignals(std::span<const std::shared_ptr<KernelObject>> objects, size_t except) {
  for (size_t i = objects.size(); i-- > 0;)
    if (i != except) objects[i]->restoreSignal();
}

}  // namespace handheld::kernel
