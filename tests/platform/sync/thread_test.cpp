// Threads: exit codes, waiting, suspended start, termination, priorities, identity.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "sync_test_support.h"

using namespace sync_test;
using namespace std::chrono_literals;

namespace {

struct Job {
  HANDLE go = nullptr;
  DWORD exitCode = 0;
  std::atomic<DWORD> seenId{0};
  std::atomic<bool> ran{false};
  std::atomic<bool> unwound{false};
};

// Marks the job when the thread's stack unwinds past it.
struct UnwindMarker {
  Job* job;
  ~UnwindMarker() { job->unwound = true; }
};

DWORD WINAPI waitForGoThenReturn(LPVOID parameter) {
  auto* job = static_cast<Job*>(parameter);
  job->seenId = GetCurrentThreadId();
  job->ran = true;
  WaitForSingleObject(job->go, INFINITE);
  return job->exitCode;
}

[[noreturn]] void exitFromDeepInside(Job* job) {
  UnwindMarker marker{job};
  ExitThread(job->exitCode);
}

DWORD WINAPI exitThroughExitThread(LPVOID parameter) {
  exitFromDeepInside(static_cast<Job*>(parameter));
}

DWORD WINAPI blockForever(LPVOID parameter) {
  auto* job = static_cast<Job*>(parameter);
  UnwindMarker marker{job};
  job->ran = true;
  WaitForSingleObject(job->go, INFINITE);
  return 0;
}

DWORD exitCodeOf(HANDLE thread) {
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  return code;
}

}  // namespace

TEST(Thread, ReportsItsIdExitCodeAndEnd) {
  ScopedHandle go(newEvent(true));
  Job job;
  job.go = go.get();
  job.exitCode = 42;
  DWORD id = 0;
  ScopedHandle thread(CreateThread(nullptr, 0, waitForGoThenReturn, &job, 0, &id));
  ASSERT_NE(thread.get(), nullptr);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(exitCodeOf(thread.get()), STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  SetEvent(go.get());
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(job.seenId.load(), id);
  EXPECT_EQ(exitCodeOf(thread.get()), 42u);
  // An ended thread stays signalled.
  EXPECT_EQ(WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);
}

TEST(Thread, ExitThreadUnwindsAndSetsTheCode) {
  Job job;
  job.exitCode = 7;
  ScopedHandle thread(CreateThread(nullptr, 0, exitThroughExitThread, &job, 0, nullptr));
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(exitCodeOf(thread.get()), 7u);
  EXPECT_TRUE(job.unwound);
}

TEST(Thread, SuspendedThreadStartsOnResume) {
  ScopedHandle go(newEvent(true, true));
  Job job;
  job.go = go.get();
  DWORD id = 0;
  ScopedHandle thread(CreateThread(nullptr, 0, waitForGoThenReturn, &job, CREATE_SUSPENDED, &id));
  EXPECT_NE(id, 0u);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 30), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(job.ran);

  EXPECT_EQ(ResumeThread(thread.get()), 1u);
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(job.ran);
  EXPECT_EQ(job.seenId.load(), id);
  EXPECT_EQ(ResumeThread(thread.get()), 0u);
}

TEST(Thread, TerminateStopsABlockedThread) {
  ScopedHandle never(newEvent(true));
  Job job;
  job.go = never.get();
  ScopedHandle thread(CreateThread(nullptr, 0, blockForever, &job, 0, nullptr));
  EXPECT_EQ(WaitForSingleObject(thread.get(), 20), static_cast<DWORD>(WAIT_TIMEOUT));

  ASSERT_TRUE(TerminateThread(thread.get(), 99));
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(exitCodeOf(thread.get()), 99u);
  EXPECT_TRUE(job.unwound);
  // An ended thread keeps its code.
  EXPECT_TRUE(TerminateThread(thread.get(), 5));
  EXPECT_EQ(exitCodeOf(thread.get()), 99u);
}

TEST(Thread, TerminateEndsASuspendedThreadBeforeItRuns) {
  Job job;
  ScopedHandle thread(CreateThread(nullptr, 0, blockForever, &job, CREATE_SUSPENDED, nullptr));
  ASSERT_TRUE(TerminateThread(thread.get(), 3));
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(exitCodeOf(thread.get()), 3u);
  EXPECT_FALSE(job.ran);
}

TEST(Thread, ClosingTheHandleLeavesTheThreadRunning) {
  ScopedHandle go(newEvent(true));
  ScopedHandle done(newEvent(true));
  struct Relay {
    HANDLE go, done;
  } relay{go.get(), done.get()};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID parameter) -> DWORD {
        auto* r = static_cast<Relay*>(parameter);
        WaitForSingleObject(r->go, INFINITE);
        SetEvent(r->done);
        return 0;
      },
      &relay, 0, nullptr);
  ASSERT_TRUE(CloseHandle(thread));
  SetEvent(go.get());
  EXPECT_EQ(WaitForSingleObject(done.get(), 5000), WAIT_OBJECT_0);
}

TEST(Thread, ManyShortThreadsComeAndGo) {
  for (int i = 0; i < 50; ++i) {
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID) -> DWORD { return 1; }, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    if (i % 2) WaitForSingleObject(thread, INFINITE);  // close both ended and running ones
    CloseHandle(thread);
  }
}

TEST(Thread, PriorityIsRecorded) {
  ScopedHandle go(newEvent(true));
  Job job;
  job.go = go.get();
  ScopedHandle thread(CreateThread(nullptr, 0, waitForGoThenReturn, &job, 0, nullptr));
  EXPECT_EQ(GetThreadPriority(thread.get()), THREAD_PRIORITY_NORMAL);
  EXPECT_TRUE(SetThreadPriority(thread.get(), THREAD_PRIORITY_IDLE));
  EXPECT_EQ(GetThreadPriority(thread.get()), THREAD_PRIORITY_IDLE);
  EXPECT_FALSE(SetThreadPriority(thread.get(), THREAD_PRIORITY_IDLE + 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_ABOVE_NORMAL);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  SetEvent(go.get());
  WaitForSingleObject(thread.get(), INFINITE);
}

TEST(Thread, IdentityAndPseudoHandles) {
  EXPECT_EQ(GetCurrentThreadId(), static_cast<DWORD>(gettid()));
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
  for (HANDLE pseudo : {GetCurrentThread(), GetCurrentProcess()}) {
    EXPECT_NE(pseudo, nullptr);
    EXPECT_NE(pseudo, INVALID_HANDLE_VALUE);
  }
  EXPECT_EQ(exitCodeOf(GetCurrentThread()), STILL_ACTIVE);
  DWORD processCode = 0;  // the process services know the same pseudo handle
  EXPECT_TRUE(GetExitCodeProcess(GetCurrentProcess(), &processCode));
  EXPECT_EQ(processCode, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(GetCurrentThread(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Thread, RefusesBadHandlesAndParameters) {
  ScopedHandle event(newEvent(true));
  DWORD code = 0;
  for (HANDLE bad : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, event.get()}) {
    SetLastError(0);
    EXPECT_FALSE(GetExitCodeThread(bad, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(bad), 0xFFFFFFFFu);
    EXPECT_FALSE(TerminateThread(bad, 0));
    EXPECT_FALSE(SetThreadPriority(bad, THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(GetThreadPriority(bad), THREAD_PRIORITY_ERROR_RETURN);
  }
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// TerminateThread unwinds the target from a signal handler; AddressSanitizer then reports
// stale stack poisoning as an overflow unless locals live on its side stack.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SYNC_TEST_UNDER_ASAN
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(SYNC_TEST_UNDER_ASAN)
extern "C" const char* __asan_default_options() { return "detect_stack_use_after_return=1"; }
#endif
