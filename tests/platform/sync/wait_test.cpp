// Waiting: time-outs, wait-any order, wait-all, extra descriptors, bad handles.
#include "kernel/sync/wait.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "sync_test_support.h"

using namespace sync_test;
using namespace std::chrono_literals;

namespace {

constexpr DWORD kTimeout = WAIT_TIMEOUT;

struct DelayedSet {
  HANDLE event;
  DWORD delayMs;
};

DWORD WINAPI setAfterDelay(LPVOID parameter) {
  auto* job = static_cast<DelayedSet*>(parameter);
  Sleep(job->delayMs);
  SetEvent(job->event);
  return 0;
}

}  // namespace

TEST(Wait, TimeOutSleepsForTheTimeWithoutSpinning) {
  ScopedHandle event(newEvent(true));
  const auto start = std::chrono::steady_clock::now();
  const auto cpuBefore = threadCpuTime();
  EXPECT_EQ(WaitForSingleObject(event.get(), 50), kTimeout);
  const auto waited = elapsedSince(start);
  EXPECT_GE(waited, 50ms);
  EXPECT_LT(waited, 1000ms);
  EXPECT_LT(threadCpuTime() - cpuBefore, 10ms);
}

TEST(Wait, WaitAllTimesOutWithoutTakingTheSignalsItHas) {
  ScopedHandle first(newEvent(false, true));
  ScopedHandle second(newEvent(false));
  const std::array<HANDLE, 2> both{first.get(), second.get()};
  const auto start = std::chrono::steady_clock::now();
  const auto cpuBefore = threadCpuTime();
  EXPECT_EQ(WaitForMultipleObjects(2, both.data(), TRUE, 50), kTimeout);
  EXPECT_GE(elapsedSince(start), 50ms);
  EXPECT_LT(threadCpuTime() - cpuBefore, 10ms);
  EXPECT_EQ(WaitForSingleObject(first.get(), 0), WAIT_OBJECT_0);
}

TEST(Wait, WaitAnyReportsTheLowestSignalledIndex) {
  std::vector<HANDLE> events;
  for (int i = 0; i < 4; ++i) events.push_back(newEvent(false));
  SetEvent(events[3]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(4, events.data(), FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(4, events.data(), FALSE, 0), WAIT_OBJECT_0 + 3);
  EXPECT_EQ(WaitForMultipleObjects(4, events.data(), FALSE, 0), kTimeout);
  for (HANDLE event : events) CloseHandle(event);
}

TEST(Wait, WaitAllTakesEverySignalAtOnce) {
  ScopedHandle first(newEvent(false));
  ScopedHandle second(newEvent(false));
  ScopedHandle manual(newEvent(true, true));
  const std::array<HANDLE, 3> all{first.get(), second.get(), manual.get()};
  SetEvent(first.get());
  DelayedSet job{second.get(), 20};
  ScopedHandle setter(CreateThread(nullptr, 0, setAfterDelay, &job, 0, nullptr));
  EXPECT_EQ(WaitForMultipleObjects(3, all.data(), TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, all.data(), FALSE, 0), kTimeout);  // both taken
  EXPECT_EQ(WaitForSingleObject(manual.get(), 0), WAIT_OBJECT_0);        // manual stays set
  WaitForSingleObject(setter.get(), INFINITE);
}

namespace {
struct WaitAllJob {
  std::array<HANDLE, 2> events;
};
DWORD WINAPI waitForBoth(LPVOID parameter) {
  auto* job = static_cast<WaitAllJob*>(parameter);
  return WaitForMultipleObjects(2, job->events.data(), TRUE, INFINITE);
}
}  // namespace

// A waiter for all does not sit on the signals it has while it waits for the rest.
TEST(Wait, WaitAllLeavesPartialSignalsToOtherWaiters) {
  ScopedHandle first(newEvent(false));
  ScopedHandle second(newEvent(false));
  WaitAllJob job{{first.get(), second.get()}};
  ScopedHandle waiter(CreateThread(nullptr, 0, waitForBoth, &job, 0, nullptr));

  SetEvent(first.get());
  EXPECT_EQ(WaitForSingleObject(first.get(), 1000), WAIT_OBJECT_0);
  SetEvent(second.get());
  EXPECT_EQ(WaitForSingleObject(waiter.get(), 50), kTimeout);

  SetEvent(first.get());
  ASSERT_EQ(WaitForSingleObject(waiter.get(), 5000), WAIT_OBJECT_0);
  DWORD result = 0;
  ASSERT_TRUE(GetExitCodeThread(waiter.get(), &result));
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, job.events.data(), FALSE, 0), kTimeout);
}

// What a message loop builds on: objects first, then the queue's descriptor, left unread.
TEST(Wait, ExtraDescriptorsCountAfterTheObjects) {
  using namespace handheld::kernel;
  std::array<int, 2> pipeEnds{};
  ASSERT_EQ(pipe(pipeEnds.data()), 0);
  ScopedHandle event(newEvent(false));
  std::vector<std::shared_ptr<KernelObject>> objects;
  const HANDLE handle = event.get();
  ASSERT_TRUE(resolveWaitHandles(std::span(&handle, 1), objects));
  const std::array<int, 1> extra{pipeEnds[0]};

  EXPECT_EQ(waitForObjects(objects, extra, false, 0), kTimeout);
  ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
  EXPECT_EQ(waitForObjects(objects, extra, false, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(waitForObjects(objects, extra, true, 0), WAIT_OBJECT_0 + 1);
  SetEvent(event.get());
  EXPECT_EQ(waitForObjects(objects, extra, false, 0), WAIT_OBJECT_0);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

TEST(Wait, RefusesBadParameters) {
  ScopedHandle event(newEvent(true, true));
  const std::array<HANDLE, 2> twice{event.get(), event.get()};
  const std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS + 1, event.get());
  EXPECT_EQ(WaitForMultipleObjects(2, twice.data(), FALSE, 0), WAIT_OBJECT_0);

  auto expectInvalidParameter = [](DWORD result) {
    EXPECT_EQ(result, WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  };
  expectInvalidParameter(WaitForMultipleObjects(2, twice.data(), TRUE, 0));
  expectInvalidParameter(WaitForMultipleObjects(0, twice.data(), FALSE, 0));
  expectInvalidParameter(WaitForMultipleObjects(1, nullptr, FALSE, 0));
  expectInvalidParameter(
      WaitForMultipleObjects(static_cast<DWORD>(tooMany.size()), tooMany.data(), FALSE, 0));
}

TEST(Wait, RefusesBadHandles) {
  ScopedHandle good(newEvent(true, true));
  HANDLE closed = newEvent(true, true);
  CloseHandle(closed);
  for (HANDLE bad : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, closed, GetCurrentProcess()}) {
    SetLastError(0);
    EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    const std::array<HANDLE, 2> mixed{good.get(), bad};
    EXPECT_EQ(WaitForMultipleObjects(2, mixed.data(), FALSE, 0), WAIT_FAILED);
  }
}
