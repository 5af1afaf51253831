// Critical sections: recursion, ownership, exclusion between threads.
#include <gtest/gtest.h>

#include <array>

#include "sync_test_support.h"

using namespace sync_test;

namespace {

DWORD WINAPI tryEnterFromAnotherThread(LPVOID parameter) {
  auto* section = static_cast<CRITICAL_SECTION*>(parameter);
  if (!TryEnterCriticalSection(section)) return 0;
  LeaveCriticalSection(section);
  return 1;
}

bool anotherThreadCanEnter(CRITICAL_SECTION* section) {
  ScopedHandle thread(CreateThread(nullptr, 0, tryEnterFromAnotherThread, section, 0, nullptr));
  WaitForSingleObject(thread.get(), INFINITE);
  DWORD entered = 0;
  GetExitCodeThread(thread.get(), &entered);
  return entered == 1;
}

struct Counter {
  CRITICAL_SECTION section;
  long value = 0;  // deliberately not atomic
};

constexpr int kIncrements = 20000;

DWORD WINAPI incrementUnderLock(LPVOID parameter) {
  auto* counter = static_cast<Counter*>(parameter);
  for (int i = 0; i < kIncrements; ++i) {
    EnterCriticalSection(&counter->section);
    const long read = counter->value;
    counter->value = read + 1;
    LeaveCriticalSection(&counter->section);
  }
  return 0;
}

}  // namespace

TEST(CriticalSection, IsRecursiveAndOwnedByOneThread) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  EXPECT_FALSE(anotherThreadCanEnter(&section));
  LeaveCriticalSection(&section);
  EXPECT_FALSE(anotherThreadCanEnter(&section));
  LeaveCriticalSection(&section);
  EXPECT_TRUE(anotherThreadCanEnter(&section));
  DeleteCriticalSection(&section);
}

TEST(CriticalSection, ExcludesOtherThreads) {
  Counter counter;
  InitializeCriticalSection(&counter.section);
  std::array<HANDLE, 4> threads{};
  for (auto& thread : threads)
    thread = CreateThread(nullptr, 0, incrementUnderLock, &counter, 0, nullptr);
  ASSERT_EQ(WaitForMultipleObjects(4, threads.data(), TRUE, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(counter.value, 4L * kIncrements);
  for (HANDLE thread : threads) CloseHandle(thread);
  DeleteCriticalSection(&counter.section);
}

