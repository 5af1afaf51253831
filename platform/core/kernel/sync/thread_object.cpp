#include "kernel/sync/thread_object.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "kernel/sync/eventfd.h"

namespace handheld::kernel {

// The calling thread's own reference to its object. Its destructor runs among the thread's
// thread-local destructors, after the start routine (and any unwinding) is over: that is when
// the thread has ended for its handles.
struct ThreadObject::CurrentSlot {
  std::shared_ptr<ThreadObject> object;
  CurrentSlot() = default;
  CurrentSlot(const CurrentSlot&) = delete;
  CurrentSlot& operator=(const CurrentSlot&) = delete;
  ~CurrentSlot() {
    if (object) object->markEnded();
  }

  static CurrentSlot& get() {
    thread_local CurrentSlot slot;
    return slot;
  }
};

ThreadObject::ThreadObject(LPTHREAD_START_ROUTINE routine, LPVOID parameter, os::UniqueFd ended)
    : KernelObject(ObjectKind::Thread),
      routine_(routine),
      parameter_(parameter),
      ended_(std::move(ended)) {}

std::shared_ptr<ThreadObject> ThreadObject::start(LPTHREAD_START_ROUTINE routine, LPVOID parameter,
                                                  bool suspended, size_t stackSize) {
  os::UniqueFd ended = newEventFd(0);
  if (!ended) return nullptr;
  std::shared_ptr<ThreadObject> object(new ThreadObject(routine, parameter, std::move(ended)));
  if (suspended) {
    object->resumed_ = newEventFd(0);
    if (!object->resumed_) return nullptr;
    object->suspendCount_ = 1;
  }

  // Detached: the host releases the thread's stack when it ends; nothing joins it.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  // The requested size is a minimum; the host's default is never reduced.
  size_t defaultStack = 0;
  pthread_attr_getstacksize(&attributes, &defaultStack);
  if (stackSize > defaultStack) pthread_attr_setstacksize(&attributes, stackSize);
  auto handoff = std::make_unique<std::shared_ptr<ThreadObject>>(object);
  pthread_t host{};
  const int failure = pthread_create(&host, &attributes, &ThreadObject::run, handoff.get());
  pthread_attr_destroy(&attributes);
  if (failure != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  handoff.release();  // the thread owns it now
  {
    std::lock_guard guard(object->lock_);
    object->host_ = host;
  }
  object->tid_.wait(0);
  return object;
}

void* ThreadObject::run(void* handoff) {
  CurrentSlot& slot = CurrentSlot::get();
  {
    std::unique_ptr<std::shared_ptr<ThreadObject>> owned(
        static_cast<std::shared_ptr<ThreadObject>*>(handoff));
    slot.object = std::move(*owned);
  }
  ThreadObject& self = *slot.object;
  self.tid_.store(gettid());
  self.tid_.notify_all();
  self.waitUntilResumed();
  const DWORD exitCode = self.routine_(self.parameter_);
  // From here on the thread only ends; a late TerminateThread must not cut that short.
  pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
  self.decideExitCode(exitCode);
  return nullptr;
}

std::shared_ptr<ThreadObject> ThreadObject::current() {
  CurrentSlot& slot = CurrentSlot::get();
  if (!slot.object) {
    os::UniqueFd ended = newEventFd(0);
    if (!ended) return nullptr;
    std::shared_ptr<ThreadObject> adopted(new ThreadObject(nullptr, nullptr, std::move(ended)));
    adopted->tid_.store(gettid());
    adopted->host_ = pthread_self();
    slot.object = std::move(adopted);
  }
  return slot.object;
}

void ThreadObject::exitCurrent(DWORD exitCode) {
  if (auto self = current()) self->decideExitCode(exitCode);
  pthread_exit(nullptr);
}

DWORD ThreadObject::exitCode() const {
  std::lock_guard guard(lock_);
  return hasEnded_ ? exitCode_ : STILL_ACTIVE;
}

bool ThreadObject::consumeSignal() {
  std::lock_guard guard(lock_);
  return hasEnded_;
}

DWORD ThreadObject::resume() {
  std::lock_guard guard(lock_);
  const DWORD before = suspendCount_;
  if (before > 0 && --suspendCount_ == 0) raiseEventFd(resumed_.get());
  return before;
}

void ThreadObject::terminate(DWORD exitCode) {
  if (this == CurrentSlot::get().object.get()) exitCurrent(exitCode);
  std::lock_guard guard(lock_);
  if (exitDecided_) return;
  exitDecided_ = true;
  exitCode_ = exitCode;
  // Deferred cancellation: the thread unwinds from its next cancellation point.
  pthread_cancel(host_);
}

void ThreadObject::waitUntilResumed() const {
  if (!resumed_) return;
  pollfd resumed{resumed_.get(), POLLIN, 0};
  while (poll(&resumed, 1, -1) < 0 && errno == EINTR) {
  }
}

void ThreadObject::decideExitCode(DWORD exitCode) {
  std::lock_guard guard(lock_);
  if (exitDecided_) return;
  exitDecided_ = true;
  exitCode_ = exitCode;
}

void ThreadObject::markEnded() {
  pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
  {
    std::lock_guard guard(lock_);
    exitDecided_ = true;  // a thread that left through pthread_exit keeps the code 0
    hasEnded_ = true;
  }
  raiseEventFd(ended_.get());
}

}  // namespace handheld::kernel
