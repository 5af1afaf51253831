#include "kernel/sync/wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <mutex>

#include "kernel/sync/cancellation.h"
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

std::mutex& waitAllLock() {
  static std::mutex lock;
  return lock;
}

bool takeAllSignals(std::span<const std::shared_ptr<KernelObject>> objects) {
  CancellationBlocker allOrNothing;
  std::lock_guard guard(waitAllLock());
  size_t taken = 0;
  while (taken < objects.size() && objects[taken]->consumeSignal()) ++taken;
  if (taken == objects.size()) return true;
  while (taken > 0) objects[--taken]->restoreSignal();
  return false;
}

DWORD waitAny(std::span<const std::shared_ptr<KernelObject>> objects, std::span<const int> extraFds,
              const Deadline& deadline) {
  std::vector<pollfd> fds;
  fds.reserve(objects.size() + extraFds.size());
  for (const auto& object : objects) fds.push_back(pollIn(object->waitFd()));
  for (int fd : extraFds) fds.push_back(pollIn(fd));
  while (true) {
    const int ready = pollUntil(fds, deadline);
    if (ready < 0) return WAIT_FAILED;
    if (ready == 0) return WAIT_TIMEOUT;
    for (size_t i = 0; i < objects.size(); ++i)
      if (readable(fds[i]) && objects[i]->consumeSignal())
        return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    for (size_t j = objects.size(); j < fds.size(); ++j)
      if (readable(fds[j])) return WAIT_OBJECT_0 + static_cast<DWORD>(j);
    // Another waiter took every signal seen: wait again.
  }
}

DWORD waitAll(std::span<const std::shared_ptr<KernelObject>> objects, std::span<const int> extraFds,
              const Deadline& deadline) {
  std::vector<pollfd> everything;
  everything.reserve(objects.size() + extraFds.size());
  for (const auto& object : objects) everything.push_back(pollIn(object->waitFd()));
  for (int fd : extraFds) everything.push_back(pollIn(fd));
  std::vector<pollfd> pending;
  while (true) {
    if (pollUntil(everything, Deadline::passed()) < 0) return WAIT_FAILED;
    for (size_t j = objects.size(); j < everything.size(); ++j)
      if (readable(everything[j])) return WAIT_OBJECT_0 + static_cast<DWORD>(j);
    pending.clear();
    for (size_t i = 0; i < objects.size(); ++i)
      if (!readable(everything[i])) pending.push_back(pollIn(everything[i].fd));
    if (pending.empty()) {
      if (takeAllSignals(objects)) return WAIT_OBJECT_0;
      continue;  // one was taken meanwhile; look again at what is signalled now
    }
    // Block until one of those not yet signalled (or an extra descriptor) is.
    for (int fd : extraFds) pending.push_back(pollIn(fd));
    const int ready = pollUntil(pending, deadline);
    if (ready < 0) return WAIT_FAILED;
    if (ready == 0) return WAIT_TIMEOUT;
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
  const Deadline deadline(milliseconds);
  ObservedWait observed(milliseconds != 0);
  return waitAllObjects ? waitAll(objects, extraFds, deadline)
                        : waitAny(objects, extraFds, deadline);
}

}  // namespace handheld::kernel
