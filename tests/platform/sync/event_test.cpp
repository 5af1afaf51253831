// Events: manual and auto reset with several waiters, pulsing, names, shared descriptors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <string>

#include "kernel/handles.h"
#include "kernel/sync/event_object.h"
#include "sync_test_support.h"

using namespace sync_test;

namespace {

struct Waiter {
  HANDLE event = nullptr;
  HANDLE released = nullptr;  // set by each waiter once through
  std::atomic<int>* count = nullptr;
};

DWORD WINAPI waitThenReport(LPVOID parameter) {
  auto* waiter = static_cast<Waiter*>(parameter);
  if (WaitForSingleObject(waiter->event, INFINITE) != WAIT_OBJECT_0) return 1;
  waiter->count->fetch_add(1);
  SetEvent(waiter->released);
  return 0;
}

constexpr int kWaiters = 3;

}  // namespace

TEST(Event, ManualResetReleasesEveryWaiterAndStaysSet) {
  ScopedHandle event(newEvent(true));
  ScopedHandle released(newEvent(false));
  std::atomic<int> count{0};
  Waiter waiter{event.get(), released.get(), &count};
  std::array<HANDLE, kWaiters> threads{};
  for (auto& thread : threads)
    thread = CreateThread(nullptr, 0, waitThenReport, &waiter, 0, nullptr);

  ASSERT_TRUE(SetEvent(event.get()));
  EXPECT_EQ(WaitForMultipleObjects(kWaiters, threads.data(), TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(count.load(), kWaiters);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);

  ASSERT_TRUE(ResetEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  for (HANDLE thread : threads) CloseHandle(thread);
}

TEST(Event, AutoResetReleasesExactlyOneWaiterPerSet) {
  ScopedHandle event(newEvent(false));
  ScopedHandle released(newEvent(false));
  std::atomic<int> count{0};
  Waiter waiter{event.get(), released.get(), &count};
  std::array<HANDLE, kWaiters> threads{};
  for (auto& thread : threads)
    thread = CreateThread(nullptr, 0, waitThenReport, &waiter, 0, nullptr);

  for (int round = 1; round <= kWaiters; ++round) {
    ASSERT_TRUE(SetEvent(event.get()));
    ASSERT_EQ(WaitForSingleObject(released.get(), 5000), WAIT_OBJECT_0);
    // Nobody else gets through on the same set.
    EXPECT_EQ(WaitForSingleObject(released.get(), 50), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(count.load(), round);
  }
  EXPECT_EQ(WaitForMultipleObjects(kWaiters, threads.data(), TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  for (HANDLE thread : threads) CloseHandle(thread);
}

TEST(Event, AutoResetSetTwiceBeforeAWaitReleasesOnce) {
  ScopedHandle event(newEvent(false));
  SetEvent(event.get());
  SetEvent(event.get());
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, InitialStateAndReset) {
  ScopedHandle autoSet(newEvent(false, true));
  EXPECT_EQ(WaitForSingleObject(autoSet.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoSet.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  ScopedHandle manualSet(newEvent(true, true));
  ASSERT_TRUE(ResetEvent(manualSet.get()));
  ASSERT_TRUE(ResetEvent(manualSet.get()));  // resetting a reset event is fine
  EXPECT_EQ(WaitForSingleObject(manualSet.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, CreationClearsTheLastErrorAndRefusesOverlongNames) {
  SetLastError(ERROR_ALREADY_EXISTS);
  ScopedHandle event(newEvent(false));
  ASSERT_NE(event.get(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

  const std::u16string tooLong(MAX_PATH, u'n');
  EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, tooLong.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

// Named events hand the same eventfd to several objects (and processes): they share one state.
TEST(Event, ObjectsOnOneDescriptorShareTheirState) {
  using namespace handheld::kernel;
  auto first = EventObject::create(false, false);
  ASSERT_NE(first, nullptr);
  auto second = std::make_shared<EventObject>(false, handheld::os::UniqueFd(dup(first->waitFd())));
  ScopedHandle firstHandle(insertHandle(first));
  ScopedHandle secondHandle(insertHandle(second));

  SetEvent(firstHandle.get());
  EXPECT_EQ(WaitForSingleObject(secondHandle.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(firstHandle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, RefusesHandlesThatAreNotEvents) {
  ScopedHandle event(newEvent(true));
  HANDLE closed = newEvent(true);
  CloseHandle(closed);
  ScopedHandle thread(CreateThread(
      nullptr, 0, [](LPVOID) -> DWORD { return 0; }, nullptr, 0, nullptr));
  for (HANDLE bad : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, closed, thread.get()}) {
    SetLastError(0);
    EXPECT_FALSE(SetEvent(bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ResetEvent(bad));
    EXPECT_FALSE(PulseEvent(bad));
  }
}

namespace {

// Until `count` waits are registered on the event (the moment a pulse must release them).
bool waitUntilWaiting(HANDLE event, size_t count) {
  using namespace handheld::kernel;
  auto object = lookupHandleAs<EventObject>(event, ObjectKind::Event);
  for (int tries = 0; tries < 5000; ++tries) {
    if (object->pulseWaiters()->count() >= count) return true;
    Sleep(1);
  }
  return false;
}

struct PulsedThreads {
  HANDLE event;
  std::atomic<int> released{0};
  std::array<HANDLE, kWaiters> threads{};

  explicit PulsedThreads(HANDLE waitedOn) : event(waitedOn) {
    for (auto& thread : threads)
      thread = CreateThread(nullptr, 0, [](LPVOID parameter) -> DWORD {
        auto* self = static_cast<PulsedThreads*>(parameter);
        if (WaitForSingleObject(self->event, 10000) != WAIT_OBJECT_0) return 1;
        self->released.fetch_add(1);
        return 0;
      }, this, 0, nullptr);
  }
  ~PulsedThreads() {
    WaitForMultipleObjects(kWaiters, threads.data(), TRUE, 15000);
    for (HANDLE thread : threads) CloseHandle(thread);
  }
  // How many got through, once things have had time to settle.
  int settled() {
    Sleep(100);
    return released.load();
  }
};

}  // namespace

TEST(Event, PulseReleasesEveryWaiterOfAManualResetEventAndLeavesItReset) {
  ScopedHandle event(newEvent(true));
  PulsedThreads waiters(event.get());
  ASSERT_TRUE(waitUntilWaiting(event.get(), kWaiters));
  ASSERT_TRUE(PulseEvent(event.get()));
  EXPECT_EQ(WaitForMultipleObjects(kWaiters, waiters.threads.data(), TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(waiters.released.load(), kWaiters);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, PulseReleasesOneWaiterOfAnAutoResetEvent) {
  ScopedHandle event(newEvent(false));
  PulsedThreads waiters(event.get());
  ASSERT_TRUE(waitUntilWaiting(event.get(), kWaiters));
  for (int round = 1; round <= kWaiters; ++round) {
    ASSERT_TRUE(PulseEvent(event.get()));
    EXPECT_EQ(waiters.settled(), round);
    ASSERT_TRUE(waitUntilWaiting(event.get(), static_cast<size_t>(kWaiters - round)));
  }
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, PulseWithNobodyWaitingReleasesNobodyLater) {
  for (bool manualReset : {true, false}) {
    ScopedHandle event(newEvent(manualReset));
    ASSERT_TRUE(PulseEvent(event.get()));
    EXPECT_EQ(WaitForSingleObject(event.get(), 50), static_cast<DWORD>(WAIT_TIMEOUT));
    // A set event is reset by the pulse as well.
    SetEvent(event.get());
    ASSERT_TRUE(PulseEvent(event.get()));
    EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
}

TEST(Event, PulseReleasesAWaitForAllOnlyWithTheOtherObjects) {
  ScopedHandle pulsed(newEvent(true));
  ScopedHandle other(newEvent(false));
  struct Both {
    std::array<HANDLE, 2> handles;
    std::atomic<DWORD> result{WAIT_FAILED};
  } both{{pulsed.get(), other.get()}};
  ScopedHandle thread(CreateThread(nullptr, 0, [](LPVOID parameter) -> DWORD {
    auto* b = static_cast<Both*>(parameter);
    b->result = WaitForMultipleObjects(2, b->handles.data(), TRUE, 10000);
    return 0;
  }, &both, 0, nullptr));
  ASSERT_TRUE(waitUntilWaiting(pulsed.get(), 1));
  PulseEvent(pulsed.get());  // the other event is not set: the wait goes on
  EXPECT_EQ(WaitForSingleObject(thread.get(), 100), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(other.get());
  EXPECT_EQ(WaitForSingleObject(thread.get(), 100), static_cast<DWORD>(WAIT_TIMEOUT));
  PulseEvent(pulsed.get());
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(both.result.load(), WAIT_OBJECT_0);
  // The wait took the auto-reset event's signal; the pulsed one is reset.
  EXPECT_EQ(WaitForSingleObject(other.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(pulsed.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Event, APulsedWaitForAnyReportsThePulsedEvent) {
  ScopedHandle quiet(newEvent(false));
  ScopedHandle pulsed(newEvent(false));
  struct Any {
    std::array<HANDLE, 2> handles;
    std::atomic<DWORD> result{WAIT_FAILED};
  } any{{quiet.get(), pulsed.get()}};
  ScopedHandle thread(CreateThread(nullptr, 0, [](LPVOID parameter) -> DWORD {
    auto* a = static_cast<Any*>(parameter);
    a->result = WaitForMultipleObjects(2, a->handles.data(), FALSE, 10000);
    return 0;
  }, &any, 0, nullptr));
  ASSERT_TRUE(waitUntilWaiting(pulsed.get(), 1));
  PulseEvent(pulsed.get());
  ASSERT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(any.result.load(), WAIT_OBJECT_0 + 1);
}
