// Threads, thread and process identity, Sleep.
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "kernel/sync/pseudo_handles.h"
#include "kernel/sync/thread_object.h"

using namespace handheld::kernel;

namespace {

std::shared_ptr<ThreadObject> lookupThread(HANDLE handle) {
  auto thread = handle == currentThreadPseudoHandle()
                    ? ThreadObject::current()
                    : lookupHandleAs<ThreadObject>(handle, ObjectKind::Thread);
  if (!thread) SetLastError(ERROR_INVALID_HANDLE);
  return thread;
}

}  // namespace

HANDHELD_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, DWORD stackSize,
                                        LPTHREAD_START_ROUTINE start, LPVOID parameter,
                                        DWORD creationFlags, LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = ThreadObject::start(start, parameter, creationFlags & CREATE_SUSPENDED, stackSize);
  if (!thread) return nullptr;
  if (threadId) *threadId = thread->id();
  return insertHandle(std::move(thread));
}

HANDHELD_API DWORD WINAPI ResumeThread(HANDLE handle) {
  auto thread = lookupThread(handle);
  return thread ? thread->resume() : 0xFFFFFFFFu;
}

HANDHELD_API void WINAPI ExitThread(DWORD exitCode) {
  ThreadObject::exitCurrent(exitCode);
}

HANDHELD_API BOOL WINAPI TerminateThread(HANDLE handle, DWORD exitCode) {
  auto thread = lookupThread(handle);
  if (!thread) return FALSE;
  thread->terminate(exitCode);
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  auto thread = lookupThread(handle);
  if (!thread) return FALSE;
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *exitCode = thread->exitCode();
  return TRUE;
}

HANDHELD_API BOOL WINAPI SetThreadPriority(HANDLE handle, int priority) {
  auto thread = lookupThread(handle);
  if (!thread) return FALSE;
  if (priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  thread->setPriority(priority);
  return TRUE;
}

HANDHELD_API int WINAPI GetThreadPriority(HANDLE handle) {
  auto thread = lookupThread(handle);
  return thread ? thread->priority() : THREAD_PRIORITY_ERROR_RETURN;
}

HANDHELD_API DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(gettid()); }

HANDHELD_API HANDLE WINAPI GetCurrentThread(void) { return currentThreadPseudoHandle(); }

HANDHELD_API DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

HANDHELD_API HANDLE WINAPI GetCurrentProcess(void) { return currentProcessPseudoHandle(); }

HANDHELD_API void WINAPI Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  if (milliseconds == INFINITE) {
    while (true) pause();
  }
  // An absolute monotonic wake-up time keeps signal interruptions from stretching the sleep.
  timespec wake{};
  clock_gettime(CLOCK_MONOTONIC, &wake);
  wake.tv_sec += static_cast<time_t>(milliseconds / 1000);
  wake.tv_nsec += static_cast<long>(milliseconds % 1000) * 1'000'000L;
  if (wake.tv_nsec >= 1'000'000'000L) {
    wake.tv_sec += 1;
    wake.tv_nsec -= 1'000'000'000L;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}
