// Helpers shared by the synchronisation tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <ctime>

namespace sync_test {

// Closes a handle when the test leaves its scope.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (handle_) CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

inline HANDLE newEvent(bool manualReset, bool initiallySet = false) {
  return CreateEventW(nullptr, manualReset, initiallySet, nullptr);
}

inline std::chrono::milliseconds elapsedSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

// CPU time the calling thread has used, to show that a wait sleeps rather than spins.
inline std::chrono::microseconds threadCpuTime() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                std::chrono::nanoseconds(now.tv_nsec));
}

}  // namespace sync_test
