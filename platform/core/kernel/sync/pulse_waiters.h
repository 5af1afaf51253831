// What PulseEvent needs: the waits in progress on one event in this process. A pulse must
// release the threads waiting at that moment, and an eventfd set and reset again wakes a
// poller that then finds it reset; so a pulse marks the waits it releases and wakes each
// through its thread's own descriptor instead.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "kernel/handles.h"

namespace handheld::kernel {

// One wait (WaitForMultipleObjects and the message waits) as the events it waits on see it.
class PulsedWait {
 public:
  PulsedWait(std::span<const std::shared_ptr<KernelObject>> objects, bool waitAll, int wakeFd)
      : objects_(objects), waitAll_(waitAll), wakeFd_(wakeFd) {}

  // By a pulse of objects[index]: releases the wait unless it has ended or, waiting for all
  // objects, cannot take the others' signals now. The thread sleeps on until wake().
  bool release(size_t index);
  void wake();
  // The index a pulse released the wait through, or -1.
  int released() const;
  // By the waiting thread before it returns: from now on no pulse releases it. Returns the
  // index a pulse released it through first, or -1.
  int close();
  // Wait for all objects: a moment in which pulses pass by, undone by reopen().
  void reopen();

 private:
  static constexpr int kOpen = -1;
  static constexpr int kClosed = -2;

  std::span<const std::shared_ptr<KernelObject>> objects_;
  bool waitAll_;
  int wakeFd_;
  std::atomic<int> state_{kOpen};
};

// The waits on one event in this process, in the order they began. A named event's openers
// in one process share one list.
class PulseWaiters {
 public:
  void add(PulsedWait& wait, size_t index);
  void remove(const PulsedWait& wait);
  // Releases every wait (all) or the first that can be released; returns how many it did.
  // `beforeWake` runs with that count before any released thread runs on (a pulse from
  // another process is answered there: a released thread may end its process at once).
  size_t release(bool all, const std::function<void(size_t)>& beforeWake = {});
  size_t count();

 private:
  std::mutex lock_;
  std::vector<std::pair<PulsedWait*, size_t>> waits_;
};

// The calling thread's descriptor for being woken by a pulse, made on its first wait on an
// event; -1 with the last error set when the host has no descriptor left.
int threadWakeFd();

}  // namespace handheld::kernel
