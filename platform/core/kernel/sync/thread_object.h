// A thread: a detached host thread plus the state its handles see. The thread holds its own
// object while it runs, so closing every handle does not stop it; the object goes when the
// thread has ended and its last handle is closed.
#pragma once

#include <pthread.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "kernel/handles.h"
#include "os/unique_fd.h"

namespace handheld::kernel {

class ThreadObject final : public KernelObject {
 public:
  // Starts routine(parameter) on a new host thread, held before its first instruction until
  // resume() when suspended. Returns once the thread's id is known; null with the last error
  // set when the host cannot start it.
  static std::shared_ptr<ThreadObject> start(LPTHREAD_START_ROUTINE routine, LPVOID parameter,
                                             bool suspended, size_t stackSize);
  // The calling thread's object; a thread the platform did not start gets one on first use.
  // Null (ERROR_TOO_MANY_OPEN_FILES) only when the host has no descriptor left.
  static std::shared_ptr<ThreadObject> current();
  // Ends the calling thread with exitCode, unwinding its stack.
  [[noreturn]] static void exitCurrent(DWORD exitCode);

  // The host thread id (gettid), unique on the device while the thread lives.
  DWORD id() const { return static_cast<DWORD>(tid_.load()); }
  // STILL_ACTIVE until the thread has ended.
  DWORD exitCode() const;
  // Lowers the suspend count; returns the count before (0: was not suspended).
  DWORD resume();
  // Makes the thread end with exitCode at its next cancellation point (any blocking call: a
  // wait, a sleep, a read); its stack unwinds and its handles become signalled then. It is the
  // last resort for a stuck worker: locks the thread holds stay held, as on the device. The
  // calling thread itself ends at once. Does nothing once the thread is ending.
  void terminate(DWORD exitCode);

  // Recorded for GetThreadPriority; host scheduling is left alone.
  int priority() const { return priority_.load(); }
  void setPriority(int priority) { priority_.store(priority); }

  // Readable once the thread has ended; never consumed.
  int waitFd() const override { return ended_.get(); }
  // True once ended. Taking the lock also orders the thread's last writes before the waiter's
  // next reads in the language's terms, not only through the descriptor.
  bool consumeSignal() override;

 private:
  struct CurrentSlot;

  ThreadObject(LPTHREAD_START_ROUTINE routine, LPVOID parameter, os::UniqueFd ended);
  static void* run(void* handoff);
  void waitUntilResumed() const;
  // The first decision wins: a return value, ExitThread, or TerminateThread. Once decided the
  // thread is never cancelled, so its host id stays valid for pthread_cancel until then.
  void decideExitCode(DWORD exitCode);
  void markEnded();

  LPTHREAD_START_ROUTINE routine_;
  LPVOID parameter_;
  os::UniqueFd ended_;
  os::UniqueFd resumed_;  // readable once resumed; only for suspended starts
  std::atomic<pid_t> tid_{0};
  pthread_t host_{};
  std::atomic<int> priority_{THREAD_PRIORITY_NORMAL};

  mutable std::mutex lock_;
  DWORD suspendCount_ = 0;
  bool exitDecided_ = false;
  bool hasEnded_ = false;
  DWORD exitCode_ = 0;
};

}  // namespace handheld::kernel
