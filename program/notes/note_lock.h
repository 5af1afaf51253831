// Holds the note lock for one scope. The lock is a critical section, so a thread that holds
// it may take it again: the store's operations nest (a delete removes entries and refills the
// list under the same lock).
#pragma once

#include <windows.h>

class NoteLock {
 public:
  explicit NoteLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
  ~NoteLock() { LeaveCriticalSection(&lock_); }
  NoteLock(const NoteLock&) = delete;
  NoteLock& operator=(const NoteLock&) = delete;

 private:
  CRITICAL_SECTION& lock_;
};
